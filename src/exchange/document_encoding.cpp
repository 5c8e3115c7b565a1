#include "exchange/document_encoding.h"

#include <optional>

#include "exchange/text_codec.h"
#include "exchange/xml_source_scan.h"

namespace enlacor {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

bool IsUtf16(DocumentEncoding e) {
  return e == DocumentEncoding::kUtf16LE || e == DocumentEncoding::kUtf16BE;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// The value of the encoding pseudo-attribute of the XML declaration at the
// start of `bytes`; empty when there is no declaration or it names none.
std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find('=', at);
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return {};
  const std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return {};
  return std::string(declaration.substr(at + 1, end - at - 1));
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::optional<DocumentEncoding> EncodingNamed(const std::string& declared) {
  const std::string name = UpperAscii(declared);
  if (name == "UTF-8" || name == "UTF8") return DocumentEncoding::kUtf8;
  if (name == "ISO-8859-1" || name == "ISO8859-1" || name == "ISO_8859-1" || name == "LATIN1" ||
      name == "LATIN-1") {
    return DocumentEncoding::kLatin1;
  }
  if (name == "WINDOWS-1252" || name == "CP1252") return DocumentEncoding::kWindows1252;
  return std::nullopt;
}

// The encoding and the length of the byte order mark, found from the first
// bytes and from the declaration.
std::pair<DocumentEncoding, std::size_t> DetectEncoding(std::string_view bytes,
                                                        const std::string& name) {
  if (bytes.starts_with(kUtf8Mark)) return {DocumentEncoding::kUtf8, kUtf8Mark.size()};
  if (bytes.starts_with(kUtf16LEMark)) return {DocumentEncoding::kUtf16LE, kUtf16LEMark.size()};
  if (bytes.starts_with(kUtf16BEMark)) return {DocumentEncoding::kUtf16BE, kUtf16BEMark.size()};
  // Without a mark, a document in UTF-16 shows itself by a zero byte beside
  // its first character ("<" or a blank), which UTF-8 text never has.
  if (bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0')) {
    return {bytes[1] == '\0' ? DocumentEncoding::kUtf16LE : DocumentEncoding::kUtf16BE, 0};
  }
  const std::string declared = DeclaredEncoding(bytes);
  if (declared.empty()) return {DocumentEncoding::kUtf8, 0};
  if (auto known = EncodingNamed(declared)) return {*known, 0};
  if (UpperAscii(declared).starts_with("UTF-16")) {
    throw DocumentError("El documento " + Quoted(name) + " declara la codificación \"" + declared +
                        "\", pero su contenido no está en UTF-16.");
  }
  throw DocumentError("El documento " + Quoted(name) + " declara una codificación desconocida: \"" +
                      declared + "\".");
}

std::string CheckedUtf8(std::string_view bytes, const std::string& name) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (!NextUtf8Char(bytes, pos)) {
      throw DocumentError("El documento " + Quoted(name) + " no es texto UTF-8 válido (" +
                          DescribePosition(bytes, start) +
                          "); si usa otra codificación, debe declararla.");
    }
  }
  return std::string(bytes);
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, const std::string& name) {
  std::string text;
  auto fail = [&]() {
    return DocumentError("El documento " + Quoted(name) + " no es texto UTF-16 válido (" +
                         DescribePosition(text, text.size()) + ").");
  };
  if (bytes.size() % 2 != 0) throw fail();
  auto unit_at = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (first << 8 | second) : (second << 8 | first);
  };
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t c = unit_at(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 2 < bytes.size()) {
      const char32_t low = unit_at(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) throw fail();
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      throw fail();
    }
    AppendUtf8(text, c);
  }
  return text;
}

void AppendUtf16(std::string& out, char32_t c, bool big_endian) {
  auto unit = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  if (c < 0x10000) {
    unit(c);
  } else {
    unit(0xD800 + ((c - 0x10000) >> 10));
    unit(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

void AppendCharacterReference(std::string& out, char32_t c) {
  out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
}

std::optional<unsigned char> SingleByteOf(char32_t c, DocumentEncoding encoding) {
  if (encoding == DocumentEncoding::kWindows1252) return Windows1252ByteOf(c);
  if (c <= 0xFF) return static_cast<unsigned char>(c);
  return std::nullopt;
}

}  // namespace

DecodedDocument DecodeDocument(std::string_view bytes, const std::string& name) {
  const auto [encoding, mark_length] = DetectEncoding(bytes, name);
  const std::string_view body = bytes.substr(mark_length);
  DecodedDocument decoded{{}, encoding, mark_length > 0};
  switch (encoding) {
    case DocumentEncoding::kUtf8: decoded.text = CheckedUtf8(body, name); break;
    case DocumentEncoding::kUtf16LE: decoded.text = Utf16ToUtf8(body, false, name); break;
    case DocumentEncoding::kUtf16BE: decoded.text = Utf16ToUtf8(body, true, name); break;
    case DocumentEncoding::kLatin1: decoded.text = Latin1ToUtf8(body); break;
    case DocumentEncoding::kWindows1252: decoded.text = FromTableText(body); break;
  }
  return decoded;
}

std::string EncodeDocument(std::string_view text, DocumentEncoding encoding, bool byte_order_mark) {
  std::string out;
  if (encoding == DocumentEncoding::kUtf8) {
    if (byte_order_mark) out += kUtf8Mark;
    out += text;
    return out;
  }
  const bool big_endian = encoding == DocumentEncoding::kUtf16BE;
  if (byte_order_mark && IsUtf16(encoding)) out += big_endian ? kUtf16BEMark : kUtf16LEMark;
  out.reserve(out.size() + text.size() * (IsUtf16(encoding) ? 2 : 1));
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextUtf8Char(text, pos).value_or(U'\uFFFD');
    if (IsUtf16(encoding)) {
      AppendUtf16(out, c, big_endian);
    } else if (auto byte = SingleByteOf(c, encoding)) {
      out += static_cast<char>(*byte);
    } else {
      AppendCharacterReference(out, c);
    }
  }
  return out;
}

}  // namespace enlacor
