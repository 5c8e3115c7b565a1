#include "app/core/command_line.h"

// Placeholder until the start-up logic is written.
namespace enlacor {
bool HasAutomationParameters(const std::vector<std::string>& params) { return params.size() == 2; }
RunDirection DirectionOf(const std::vector<std::string>&) { return RunDirection::kNone; }
std::string FoldAsciiLower(std::string_view text) { return std::string(text); }
std::uint32_t ParseWindowHandle(std::string_view param) { throw ConversionError("'$" + std::string(param) + "' is not a valid integer value"); }
}  // namespace enlacor
