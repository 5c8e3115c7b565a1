// The character encodings of exchange documents on disk.
//
// The document service works on UTF-8 text. DecodeDocument turns the bytes
// of a file into that text, recognising the encoding from a byte order mark,
// from the UTF-16 form of "<?", or from the encoding named in the XML
// declaration (UTF-8 when none is named). EncodeDocument turns the text back
// into the same bytes: decoding and encoding again gives the file as it was.
#pragma once

#include <string>
#include <string_view>

#include "exchange/exchange_document.h"

namespace enlacor {

struct DecodedDocument {
  std::string text;  // UTF-8, without byte order mark
  DocumentEncoding encoding;
  bool byte_order_mark;
};

// Raises DocumentError, naming the document `name`, for an encoding it does
// not know and for bytes that are not valid in the encoding found.
DecodedDocument DecodeDocument(std::string_view bytes, const std::string& name);

// The bytes of UTF-8 `text` in `encoding`. A character that a single-byte
// encoding cannot hold is written as a numeric character reference
// ("&#8364;"), so nothing is lost; this is sound wherever such a character
// can come from, which is text and attribute values.
std::string EncodeDocument(std::string_view text, DocumentEncoding encoding, bool byte_order_mark);

}  // namespace enlacor
