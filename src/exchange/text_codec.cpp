#include "exchange/text_codec.h"

// Placeholder until the codec is written.
namespace enlacor {
std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return std::string(text.substr(b, e - b));
}
TableText ToTableText(std::string_view utf8) { return {std::string(utf8), 0}; }
std::string FromTableText(std::string_view cp1252) { return std::string(cp1252); }
std::string Latin1ToUtf8(std::string_view latin1) { return std::string(latin1); }
char FoldCase(char c) { return c; }
bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return a == b; }
}  // namespace enlacor
