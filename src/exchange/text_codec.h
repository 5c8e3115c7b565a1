// Text handling shared by every reader and writer of the timetable tables.
//
// The exchange document is Unicode (held here as UTF-8); the timetable
// tables hold single-byte windows-1252 text. Values travel from the document
// to the tables through Trim and ToTableText, and back through FromTableText.
// Every function here is pure and cannot fail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace enlacor {

// Removes the leading and trailing characters whose code is 32 or less
// (blanks, tabs, line breaks and other control characters). Inner characters
// stay. Works on UTF-8 and on windows-1252 text alike.
std::string Trim(std::string_view text);

// The outcome of converting document text to table text.
struct TableText {
  std::string text;      // windows-1252 bytes
  std::size_t replaced;  // characters that windows-1252 cannot hold, each stored as "?"
};

// Converts UTF-8 text to windows-1252. A character that windows-1252 cannot
// hold, and every malformed UTF-8 sequence, becomes "?" and is counted.
TableText ToTableText(std::string_view utf8);

// Converts windows-1252 text to UTF-8. The five bytes that windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same code, as Windows does.
std::string FromTableText(std::string_view cp1252);

// Converts ISO-8859-1 text to UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

// Folds one windows-1252 character to lower case as the user's (Spanish)
// locale does: A-Z, the accented capitals À-Þ (but not the sign ×), Š, Œ, Ž
// and Ÿ. Accents are never folded away: "Á" becomes "á", never "a".
char FoldCase(char c);

// The text with every character folded by FoldCase: the key under which
// case-insensitive lists find a text.
std::string FoldedText(std::string_view cp1252);

// Case-insensitive equality of two windows-1252 texts, with FoldCase.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// --- Building blocks of the conversions above ---

// Reads the UTF-8 character that starts at `pos` and moves `pos` past it.
// Gives nullopt for a malformed sequence (a stray or invalid byte, a
// truncated, overlong or surrogate sequence, a code above U+10FFFF); `pos`
// then moves past the bytes of that sequence, at least one.
std::optional<char32_t> NextUtf8Char(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of `c` (a Unicode scalar value) to `out`.
void AppendUtf8(std::string& out, char32_t c);

// The Unicode character of a windows-1252 byte.
char32_t Windows1252CharOf(unsigned char byte);

// The windows-1252 byte of a Unicode character; nullopt when it has none.
std::optional<unsigned char> Windows1252ByteOf(char32_t c);

}  // namespace enlacor
