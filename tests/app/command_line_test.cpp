#include "app/core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace enlacor {
namespace {

struct DirectionCase {
  std::vector<std::string> params;
  bool automation;
  RunDirection direction;
};

class DirectionTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(DirectionTest, TwoParametersAndOnlyTwoNameARun) {
  const auto& c = GetParam();
  EXPECT_EQ(HasAutomationParameters(c.params), c.automation);
  EXPECT_EQ(DirectionOf(c.params), c.direction);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, DirectionTest,
    ::testing::Values(
        DirectionCase{{}, false, RunDirection::kNone},
        DirectionCase{{"exportar"}, false, RunDirection::kNone},
        DirectionCase{{"exportar", "1A2B"}, true, RunDirection::kExport},
        DirectionCase{{"importar", "1A2B"}, true, RunDirection::kImport},
        DirectionCase{{"exportar", "1A2B", "x"}, false, RunDirection::kNone},
        DirectionCase{{"EXPORTAR", "1A2B"}, true, RunDirection::kExport},
        DirectionCase{{"ImPoRtAr", "1A2B"}, true, RunDirection::kImport},
        DirectionCase{{" exportar", "1A2B"}, true, RunDirection::kNone},
        DirectionCase{{"exportar ", "1A2B"}, true, RunDirection::kNone},
        // Only A-Z fold: a dotted capital I is not an "i".
        DirectionCase{{"\xC4\xB0mportar", "1A2B"}, true, RunDirection::kNone},
        DirectionCase{{"transformar", "1A2B"}, true, RunDirection::kNone},
        // The keyword is read even when the handle is unreadable.
        DirectionCase{{"exportar", "g1"}, true, RunDirection::kExport}));

TEST(FoldAsciiLowerTest, FoldsOnlyAsciiCapitals) {
  EXPECT_EQ(FoldAsciiLower("ABCxyz-09"), "abcxyz-09");
  EXPECT_EQ(FoldAsciiLower("\xC3\x81" "RBOL"), "\xC3\x81" "rbol");  // "ÁRBOL": Á stays
  EXPECT_EQ(FoldAsciiLower(""), "");
}

struct HandleCase {
  std::string param;
  std::uint32_t handle;
};

class WindowHandleTest : public ::testing::TestWithParam<HandleCase> {};

TEST_P(WindowHandleTest, ReadsOneToEightHexDigits) {
  EXPECT_EQ(ParseWindowHandle(GetParam().param), GetParam().handle);
}

INSTANTIATE_TEST_SUITE_P(Valid, WindowHandleTest,
                         ::testing::Values(HandleCase{"1A2B", 0x1A2B}, HandleCase{"1a2b", 0x1A2B},
                                           HandleCase{"0", 0}, HandleCase{"ffffffff", 0xFFFFFFFFu},
                                           HandleCase{"00000001", 1}, HandleCase{"C0DE", 0xC0DE}));

class BadWindowHandleTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BadWindowHandleTest, FailsWithTheConversionText) {
  const std::string& param = GetParam();
  try {
    ParseWindowHandle(param);
    FAIL() << "accepted '" << param << "'";
  } catch (const ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'$" + param + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(Invalid, BadWindowHandleTest,
                         ::testing::Values("", "123456789", "0x1A", " 1A", "1A ", "g1", "$1A", "-1",
                                           "+1", "1A2B\n"));

TEST(BadWindowHandleTest, MessageOfG1IsExact) {
  try {
    ParseWindowHandle("g1");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'$g1' is not a valid integer value");
  }
}

}  // namespace
}  // namespace enlacor
