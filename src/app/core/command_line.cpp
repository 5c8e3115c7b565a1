#include "app/core/command_line.h"

#include <algorithm>

namespace enlacor {

namespace {

constexpr std::size_t kMaxHandleDigits = 8;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool HasAutomationParameters(const std::vector<std::string>& params) { return params.size() == 2; }

RunDirection DirectionOf(const std::vector<std::string>& params) {
  if (!HasAutomationParameters(params)) return RunDirection::kNone;
  const std::string keyword = FoldAsciiLower(params[0]);
  if (keyword == "importar") return RunDirection::kImport;
  if (keyword == "exportar") return RunDirection::kExport;
  return RunDirection::kNone;
}

std::string FoldAsciiLower(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  return folded;
}

std::uint32_t ParseWindowHandle(std::string_view param) {
  const auto fail = [&] {
    return ConversionError("'$" + std::string(param) + "' is not a valid integer value");
  };
  if (param.empty() || param.size() > kMaxHandleDigits) throw fail();
  std::uint32_t handle = 0;
  for (char c : param) {
    const int digit = HexDigitValue(c);
    if (digit < 0) throw fail();
    handle = (handle << 4) | static_cast<std::uint32_t>(digit);
  }
  return handle;
}

}  // namespace enlacor
