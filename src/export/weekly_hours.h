// The weekly hours of a teaching assignment and their session pattern, both
// made from a subject's weekly minutes.
//
// Minutes are integer text: an optional sign followed by decimal digits,
// within the range of a 32-bit integer. Empty text means "not given".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace enlacor {

// The minutes of `text` (already trimmed), or nullopt when it is not integer
// text. Empty text is not integer text.
std::optional<std::int32_t> ParseWeeklyMinutes(std::string_view text);

// Whether `text` (already trimmed) is acceptable weekly minutes: empty, or
// integer text.
bool IsValidWeeklyMinutes(std::string_view text);

// The weekly hours: the smallest whole number not below minutes / 60, and at
// least 1; 1 when no minutes are given.
int WeeklyHours(std::optional<std::int32_t> minutes);

// The session pattern of `hours`: that many "1" up to 13 hours; from 14 on,
// the decimal text of hours - 13 followed by thirteen "1".
std::string SessionPattern(int hours);

}  // namespace enlacor
