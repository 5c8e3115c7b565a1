#include "export/weekly_hours.h"

#include <charconv>
#include <cmath>

namespace enlacor {

namespace {
constexpr int kSinglePatternLimit = 13;
}  // namespace

std::optional<std::int32_t> ParseWeeklyMinutes(std::string_view text) {
  // std::from_chars takes a minus sign but no plus sign.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty() || text.front() == '+') return std::nullopt;
  std::int32_t minutes = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, minutes);
  if (error != std::errc() || stop != end) return std::nullopt;
  return minutes;
}

bool IsValidWeeklyMinutes(std::string_view text) {
  return text.empty() || ParseWeeklyMinutes(text).has_value();
}

int WeeklyHours(std::optional<std::int32_t> minutes) {
  if (!minutes) return 1;
  const double hours = std::ceil(static_cast<double>(*minutes) / 60.0);
  return hours < 1 ? 1 : static_cast<int>(hours);
}

std::string SessionPattern(int hours) {
  if (hours <= kSinglePatternLimit) return std::string(static_cast<std::size_t>(hours), '1');
  return std::to_string(hours - kSinglePatternLimit) + std::string(kSinglePatternLimit, '1');
}

}  // namespace enlacor
