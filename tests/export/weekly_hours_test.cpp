#include "export/weekly_hours.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace enlacor {
namespace {

TEST(WeeklyMinutesTest, AcceptsOnlyIntegerText) {
  struct Case {
    std::string text;
    std::optional<std::int32_t> minutes;
  };
  const Case cases[] = {
      {"90", 90},          {"0", 0},           {"-30", -30},        {"+60", 60},
      {"007", 7},          {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"", std::nullopt},  {"1h30", std::nullopt}, {"90.5", std::nullopt}, {"1,5", std::nullopt},
      {"9 0", std::nullopt}, {"+", std::nullopt}, {"-", std::nullopt},   {"+-5", std::nullopt},
      {"--5", std::nullopt}, {"0x10", std::nullopt}, {"2147483648", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWeeklyMinutes(c.text), c.minutes) << "\"" << c.text << "\"";
  EXPECT_TRUE(IsValidWeeklyMinutes(""));
  EXPECT_FALSE(IsValidWeeklyMinutes("1h30"));
}

TEST(WeeklyHoursTest, HoursAndSessionPattern) {
  struct Case {
    std::optional<std::int32_t> minutes;
    int hours;
    std::string pattern;
  };
  const std::string thirteen(13, '1');
  const Case cases[] = {
      {std::nullopt, 1, "1"}, {0, 1, "1"},         {-120, 1, "1"},       {1, 1, "1"},
      {60, 1, "1"},           {61, 2, "11"},       {90, 2, "11"},        {780, 13, thirteen},
      {840, 14, "1" + thirteen}, {1000, 17, "4" + thirteen}, {1380, 23, "10" + thirteen},
      {2147483647, 35791395, "35791382" + thirteen},
  };
  for (const Case& c : cases) {
    const int hours = WeeklyHours(c.minutes);
    EXPECT_EQ(hours, c.hours) << c.minutes.value_or(-1);
    EXPECT_EQ(SessionPattern(hours), c.pattern) << c.minutes.value_or(-1);
  }
}

}  // namespace
}  // namespace enlacor
