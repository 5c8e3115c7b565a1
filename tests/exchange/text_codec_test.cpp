#include "exchange/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace enlacor {
namespace {

TEST(TrimTest, RemovesCodesUpTo32AtBothEndsOnly) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"  Lengua \t\r\n", "Lengua"},
      {"\x01\x1F" "a  b" "\x1F", "a  b"},
      {"", ""},
      {" \t\n ", ""},
      {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},  // no-break space is above 32
      {"x\x7F", "x\x7F"},
      {"\xA0" "x", "\xA0" "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.in), c.out) << c.in;
}

// The 27 characters that windows-1252 places in 0x80-0x9F, and their bytes.
const std::string kExtraCharacters = "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
const std::string kExtraBytes =
    "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
    "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F";

TEST(ToTableTextTest, ConvertsOrReplacesAndCounts) {
  const struct {
    std::string utf8, table;
    std::size_t replaced;
  } cases[] = {
      {"Matemáticas Ñandú ü ÿ", "Matem\xE1ticas \xD1" "and\xFA \xFC \xFF", 0},
      {kExtraCharacters, kExtraBytes, 0},
      {"\xC2\xA0", "\xA0", 0},            // U+00A0
      {"\xC2\x81", "\x81", 0},            // an undefined byte keeps its C1 control
      {"\xC2\x80", "?", 1},               // U+0080: 0x80 is the euro sign
      {"Ω π", "? ?", 2},                  // Greek
      {"a😀b", "a?b", 1},                 // outside the BMP
      {"a\xFF" "b", "a?b", 1},            // invalid byte
      {"\xC3", "?", 1},                   // truncated at the end
      {"\xE2\x82" "a", "?a", 1},          // truncated before a character
      {"\xC0\xAF", "??", 2},              // overlong: invalid lead, stray continuation
      {"\xE0\x80\xAF", "?", 1},           // overlong three-byte form
      {"\xED\xA0\x80", "?", 1},           // surrogate
      {"\xF4\x90\x80\x80", "?", 1},       // above U+10FFFF
  };
  for (const auto& c : cases) {
    const TableText converted = ToTableText(c.utf8);
    EXPECT_EQ(converted.text, c.table) << c.utf8;
    EXPECT_EQ(converted.replaced, c.replaced) << c.utf8;
  }
}

TEST(FromTableTextTest, ConvertsEveryByte) {
  EXPECT_EQ(FromTableText(kExtraBytes), kExtraCharacters);
  EXPECT_EQ(FromTableText("Matem\xE1ticas \xD1"), "Matemáticas Ñ");
  EXPECT_EQ(FromTableText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(FromTableTextTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const TableText back = ToTableText(FromTableText(all));
  EXPECT_EQ(back.text, all);
  EXPECT_EQ(back.replaced, 0u);
}

TEST(Latin1ToUtf8Test, MapsBytesToTheSameCodes) {
  EXPECT_EQ(Latin1ToUtf8("a\x80\xE1\xFF"), "a\xC2\x80" "á" "ÿ");
}

TEST(FoldCaseTest, LowersCapitalsAndKeepsAccents) {
  const struct {
    unsigned char in, out;
  } cases[] = {
      {'A', 'a'}, {'Z', 'z'}, {'a', 'a'}, {'@', '@'}, {'[', '['}, {'1', '1'},
      {0xC0, 0xE0},  // À
      {0xC1, 0xE1},  // Á
      {0xD1, 0xF1},  // Ñ
      {0xDC, 0xFC},  // Ü
      {0xDE, 0xFE},  // Þ
      {0xD7, 0xD7},  // × is no letter
      {0xDF, 0xDF},  // ß has no capital here
      {0x8A, 0x9A},  // Š
      {0x8C, 0x9C},  // Œ
      {0x8E, 0x9E},  // Ž
      {0x9F, 0xFF},  // Ÿ
      {0xE1, 0xE1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<unsigned char>(FoldCase(static_cast<char>(c.in))), c.out) << int(c.in);
  }
  for (int b = 0x80; b < 256; ++b) {
    EXPECT_GE(static_cast<unsigned char>(FoldCase(static_cast<char>(b))), 0x80) << b;
  }
}

TEST(EqualsIgnoringCaseTest, ComparesFoldedTexts) {
  const struct {
    std::string a, b;
    bool equal;
  } cases[] = {
      {"MAT", "mat", true},
      {"\xC1REA", "\xE1rea", true},  // ÁREA, área
      {"AREA", "\xE1rea", false},    // the accent counts
      {"\x8A" "A", "\x9A" "a", true},
      {"ab", "abc", false},
      {"", "", true},
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.a << "/" << c.b;
}

}  // namespace
}  // namespace enlacor
