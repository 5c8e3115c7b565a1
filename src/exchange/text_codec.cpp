#include "exchange/text_codec.h"

#include <array>

namespace enlacor {
namespace {

// The characters of the bytes 0x80-0x9F. The five bytes that windows-1252
// leaves undefined keep the C1 control of the same code.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string Trim(std::string_view text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::optional<char32_t> NextUtf8Char(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  ++pos;
  if (lead < 0x80) return lead;

  std::size_t length;
  char32_t c;
  char32_t smallest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  for (std::size_t k = 1; k < length; ++k, ++pos) {
    if (pos >= text.size() || !IsContinuation(text[pos])) return std::nullopt;
    c = (c << 6) | (static_cast<unsigned char>(text[pos]) & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t Windows1252CharOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80];
  return byte;
}

std::optional<unsigned char> Windows1252ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
    if (kWindows1252High[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

TableText ToTableText(std::string_view utf8) {
  TableText result{{}, 0};
  result.text.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::optional<char32_t> c = NextUtf8Char(utf8, pos);
    const std::optional<unsigned char> byte = c ? Windows1252ByteOf(*c) : std::nullopt;
    if (byte) {
      result.text += static_cast<char>(*byte);
    } else {
      result.text += '?';
      ++result.replaced;
    }
  }
  return result;
}

std::string FromTableText(std::string_view cp1252) {
  std::string utf8;
  utf8.reserve(cp1252.size());
  for (char byte : cp1252) AppendUtf8(utf8, Windows1252CharOf(static_cast<unsigned char>(byte)));
  return utf8;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (char byte : latin1) AppendUtf8(utf8, static_cast<unsigned char>(byte));
  return utf8;
}

char FoldCase(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'A' && byte <= 'Z') return static_cast<char>(byte + 32);
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<char>(byte + 32);
  switch (byte) {
    case 0x8A: return static_cast<char>(0x9A);  // Š
    case 0x8C: return static_cast<char>(0x9C);  // Œ
    case 0x8E: return static_cast<char>(0x9E);  // Ž
    case 0x9F: return static_cast<char>(0xFF);  // Ÿ
    default: return c;
  }
}

std::string FoldedText(std::string_view cp1252) {
  std::string folded(cp1252);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace enlacor
