// The same document in every encoding the service reads loads with the same
// texts, and a result document keeps the input's bytes outside the output
// section, in the input's encoding.
#include <gtest/gtest.h>

#include <string>

#include "exchange/exchange_document.h"

namespace enlacor {
namespace {

// Writes text of the Basic Multilingual Plane as a file in `encoding` would
// hold it. A character that a single-byte encoding lacks becomes a numeric
// character reference; of the windows-1252 extras only the euro sign occurs
// in these documents.
std::string Encode(std::u16string_view text, DocumentEncoding encoding, bool mark) {
  std::string out;
  auto unit16 = [&](char16_t c, bool big_endian) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  switch (encoding) {
    case DocumentEncoding::kUtf8:
      if (mark) out += "\xEF\xBB\xBF";
      for (char16_t c : text) {
        if (c < 0x80) {
          out += static_cast<char>(c);
        } else if (c < 0x800) {
          out += static_cast<char>(0xC0 | (c >> 6));
          out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (c >> 12));
          out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (c & 0x3F));
        }
      }
      return out;
    case DocumentEncoding::kUtf16LE:
    case DocumentEncoding::kUtf16BE: {
      const bool big_endian = encoding == DocumentEncoding::kUtf16BE;
      if (mark) unit16(0xFEFF, big_endian);
      for (char16_t c : text) unit16(c, big_endian);
      return out;
    }
    case DocumentEncoding::kLatin1:
    case DocumentEncoding::kWindows1252:
      for (char16_t c : text) {
        const bool euro_byte = encoding == DocumentEncoding::kWindows1252 && c == u'€';
        const bool single_byte = c < 0x80 || (c >= 0xA0 && c <= 0xFF);
        if (euro_byte) {
          out += '\x80';
        } else if (single_byte) {
          out += static_cast<char>(c);
        } else {
          out += "&#" + std::to_string(static_cast<int>(c)) + ";";
        }
      }
      return out;
  }
  return out;
}

struct EncodingCase {
  const char* label;
  DocumentEncoding encoding;
  bool mark;
  std::u16string declaration;
};

const EncodingCase kEncodings[] = {
    {"Utf8Declared", DocumentEncoding::kUtf8, false, u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"},
    {"Utf8Undeclared", DocumentEncoding::kUtf8, false, u""},
    {"Utf8Marked", DocumentEncoding::kUtf8, true, u"<?xml version=\"1.0\"?>"},
    {"Latin1", DocumentEncoding::kLatin1, false, u"<?xml version='1.0' encoding='iso-8859-1'?>"},
    {"Windows1252", DocumentEncoding::kWindows1252, false,
     u"<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>"},
    {"Utf16LEMarked", DocumentEncoding::kUtf16LE, true,
     u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"},
    {"Utf16BEMarked", DocumentEncoding::kUtf16BE, true,
     u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"},
    {"Utf16LEUnmarked", DocumentEncoding::kUtf16LE, false,
     u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"},
};

class DocumentEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(DocumentEncodingTest, LoadsTheSameTexts) {
  const EncodingCase& c = GetParam();
  const std::u16string text =
      c.declaration +
      u"\n<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><listasal>"
      u"<salida>Matemáticas</salida><salida>12 €</salida><salida>ESPAÑOL</salida>"
      u"</listasal></listasal></SALIDAS></SERVICIO>\n";
  const ExchangeDocument document = ExchangeDocument::Parse(Encode(text, c.encoding, c.mark));
  EXPECT_EQ(document.Encoding(), c.encoding);
  const auto entries = document.SelectEntries("MATERIAS");
  ASSERT_EQ(entries.size(), 1u);
  ASSERT_EQ(entries[0].FieldCount(), 3u);
  EXPECT_EQ(entries[0].FieldAt(0)->Text(), "Matemáticas");
  EXPECT_EQ(entries[0].FieldAt(1)->Text(), "12 €");
  EXPECT_EQ(entries[0].FieldAt(2)->Text(), "ESPAÑOL");
}

// A document as Escolia might write it: comments, a processing instruction,
// a DOCTYPE, CRLF line ends, indentation, both quote styles, references,
// CDATA, blanks inside tags and elements written both empty ways.
constexpr char16_t kBeforeSection[] =
    u"\r\n<!-- Exportación de Escolia -->\r\n"
    u"<?escolia version='3.2'?>\r\n"
    u"<!DOCTYPE SERVICIO [\r\n  <!ENTITY centro \"IES Río\">\r\n]>\r\n"
    u"<SERVICIO  version='2' centro=\"IES Ñandú &amp; Co\">\r\n"
    u"  <CABECERA><fecha>01/09/2024</fecha><vacio/><vacio2 ></vacio2></CABECERA>\r\n"
    u"  ";
constexpr char16_t kSection[] =
    u"<SALIDAS>\r\n"
    u"    <listasal seq=\"MATERIAS\">\r\n"
    u"      <listasal><salida dato='A'>Matemáticas &#233; &gt; &apos;</salida>"
    u"<salida><![CDATA[<b>12 €</b>]]></salida></listasal>\r\n"
    u"    </listasal>\r\n"
    u"  </SALIDAS>";
constexpr char16_t kAfterSection[] =
    u"\r\n  <!-- pie -->\r\n  <?horvana marca=\"1\"?> texto &amp; más\r\n"
    u"  <PIE   a = \"1\" >&centro; &#x41;</PIE>\r\n";
constexpr char16_t kEnd[] = u"</SERVICIO>\r\n<!-- fin -->\r\n";

// What the import run puts into the output section, as the tree prints it.
constexpr char16_t kNewSection[] =
    u"<SALIDAS><ERROR><salida dato=\"CN_ERROR\">0</salida>"
    u"<salida dato=\"TE_ERROR\">Servicio finalizado Correctamente</salida>"
    u"<salida dato=\"REGISTROS RECUPERADOS\">1</salida></ERROR>"
    u"<listasal seq=\"EMP_1\"><salida dato=\"X_EMPLEADO\">E1</salida>"
    u"<salida dato=\"F_TOMAPOS\"/><listasal seq=\"TRAMO_1\">"
    u"<salida dato=\"X_ACTIVIDAD\">Ω-7 € Ñ A&amp;B&lt;C \"x\"</salida></listasal>"
    u"</listasal></SALIDAS>";

// Characters that not every encoding holds, and characters that need escaping.
constexpr char kHardText[] = "Ω-7 € Ñ A&B<C \"x\"";

void FillOutputSection(ExchangeDocument& document) {
  pugi::xml_node section = document.ReplaceOutputSection();
  const pugi::xml_node error = section.append_child("ERROR");
  ExchangeDocument::AppendElement(error, "salida", "dato", "CN_ERROR", "0");
  ExchangeDocument::AppendElement(error, "salida", "dato", "TE_ERROR",
                                  "Servicio finalizado Correctamente");
  ExchangeDocument::AppendElement(error, "salida", "dato", "REGISTROS RECUPERADOS", "1");
  const pugi::xml_node teacher =
      ExchangeDocument::AppendElement(section, "listasal", "seq", "EMP_1");
  ExchangeDocument::AppendElement(teacher, "salida", "dato", "X_EMPLEADO", "E1");
  ExchangeDocument::AppendElement(teacher, "salida", "dato", "F_TOMAPOS", "");
  const pugi::xml_node session =
      ExchangeDocument::AppendElement(teacher, "listasal", "seq", "TRAMO_1");
  ExchangeDocument::AppendElement(session, "salida", "dato", "X_ACTIVIDAD", kHardText);
}

TEST_P(DocumentEncodingTest, SavingChangesOnlyTheOutputSection) {
  const EncodingCase& c = GetParam();
  const std::u16string head = c.declaration + kBeforeSection;
  const std::string input = Encode(head + kSection + kAfterSection + kEnd, c.encoding, c.mark);
  const std::string expected =
      Encode(head + kAfterSection + kNewSection + kEnd, c.encoding, c.mark);

  ExchangeDocument document = ExchangeDocument::Parse(input);
  EXPECT_EQ(document.Serialize(), input);
  FillOutputSection(document);
  const std::string saved = document.Serialize();
  EXPECT_EQ(saved, expected);

  // What no encoding can hold directly comes back intact.
  const ExchangeDocument reloaded = ExchangeDocument::Parse(saved);
  EXPECT_EQ(reloaded.Encoding(), c.encoding);
  const auto sessions = reloaded.SelectEntries("EMP_1");
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].FieldAt(0)->Text(), kHardText);
}

INSTANTIATE_TEST_SUITE_P(Encodings, DocumentEncodingTest, ::testing::ValuesIn(kEncodings),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace enlacor
