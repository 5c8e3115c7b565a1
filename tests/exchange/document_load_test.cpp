#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "exchange/exchange_document.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::HasSubstr;

std::string ErrorOf(std::string_view bytes, const std::string& name = "centro.xml") {
  try {
    ExchangeDocument::Parse(bytes, name);
  } catch (const DocumentError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(DocumentLoadTest, RefusesWhatIsNotAWellFormedDocument) {
  const struct {
    std::string bytes;
    std::vector<std::string> message_parts;
  } cases[] = {
      {"", {"centro.xml", "vacío"}},
      {"  \r\n", {"centro.xml", "no hay elemento raíz"}},
      {"<SERVICIO>\n  <SALIDAS>\n</SERVICIO>", {"centro.xml", "línea 3", "cierre"}},
      {"<SERVICIO a=1/>", {"línea 1, columna", "atributo"}},
      {"<SERVICIO><!-- sin fin </SERVICIO>", {"comentario"}},
      {"<SERVICIO/>texto", {"línea 1, columna 12", "texto fuera del elemento raíz"}},
      {"<SERVICIO/>\n<SERVICIO/>", {"línea 2, columna 1", "más de un elemento raíz"}},
      {"<?xml version=\"1.0\" encoding=\"EBCDIC-ES\"?><SERVICIO/>",
       {"centro.xml", "codificación desconocida", "EBCDIC-ES"}},
      // Latin-1 bytes in a document that declares no encoding.
      {"<SERVICIO>\nMatem\xE1ticas</SERVICIO>", {"centro.xml", "UTF-8", "línea 2, columna 6"}},
      {std::string("\xFF\xFE<\0S", 5), {"centro.xml", "UTF-16"}},  // odd length
      {"<?xml version=\"1.0\" encoding=\"utf-16\"?><SERVICIO/>", {"utf-16", "no está en UTF-16"}},
  };
  for (const auto& c : cases) {
    const std::string message = ErrorOf(c.bytes);
    for (const std::string& part : c.message_parts) {
      EXPECT_THAT(message, HasSubstr(part)) << c.bytes;
    }
  }
}

TEST(DocumentLoadTest, FileErrorsNameTheFile) {
  testing::TempDir dir;
  const auto missing = dir / "falta.xml";
  const auto broken = dir / "roto.xml";
  std::ofstream(broken) << "<SERVICIO><SALIDAS></SERVICIO>";
  const struct {
    std::filesystem::path file;
    std::string reason;
  } cases[] = {{missing, "no existe"}, {broken, "bien formado"}, {dir.path(), "carpeta"}};
  for (const auto& c : cases) {
    try {
      ExchangeDocument::Load(c.file);
      ADD_FAILURE() << c.file << " loaded";
    } catch (const DocumentError& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.file.string()));
      EXPECT_THAT(e.what(), HasSubstr(c.reason));
    }
  }
}

TEST(DocumentLoadTest, DefinedEntitiesStayUnexpanded) {
  const std::string bomb =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE SERVICIO [\n"
      " <!ENTITY a \"aaaaaaaaaa\">\n"
      " <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
      " <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
      " <!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n"
      "]>\n<SERVICIO><SALIDAS><listasal seq=\"L\"><listasal><salida>&d;&d;&amp;</salida>"
      "</listasal></listasal></SALIDAS></SERVICIO>";
  const ExchangeDocument document = ExchangeDocument::Parse(bomb);
  const auto entries = document.SelectEntries("L");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].FieldAt(0)->Text(), "&d;&d;&");
}

std::string Nested(std::size_t depth, std::string_view inner) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) text += "<n>";
  text += inner;
  for (std::size_t i = 0; i < depth; ++i) text += "</n>";
  return text;
}

TEST(DocumentLoadTest, RefusesDeepNestingWithoutCrashing) {
  const std::string deep = "<SERVICIO>" + Nested(200000, "x") + "</SERVICIO>";
  EXPECT_THAT(ErrorOf(deep), HasSubstr("niveles"));

  const std::string nested_field = "<SERVICIO><SALIDAS><listasal seq=\"L\"><listasal><salida>" +
                                   Nested(500, "x") + "y" +
                                   "</salida></listasal></listasal></SALIDAS></SERVICIO>";
  const auto entries = ExchangeDocument::Parse(nested_field).SelectEntries("L");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].FieldAt(0)->Text(), "xy");
}

constexpr char kLists[] = R"(<SERVICIO>
 <SALIDAS>
  <listasal seq="MATERIAS">
   <listasal><salida dato="CLAVE">uno</salida><otro>no</otro><salida> a<b>b<c>c</c></b><![CDATA[<d>]]> </salida></listasal>
   <otro><salida>no es una entrada</salida></otro>
  </listasal>
  <listasal seq="materias"><listasal><salida>minúsculas</salida></listasal></listasal>
  <listasal><listasal><salida>sin nombre</salida></listasal></listasal>
  <listasal seq="MATERIAS "><listasal><salida>con espacio</salida></listasal></listasal>
 </SALIDAS>
 <OTRO><listasal seq="MATERIAS"><listasal><salida>fuera</salida></listasal></listasal></OTRO>
 <SALIDAS>
  <listasal seq="MATERIAS"><listasal><salida>dos</salida></listasal></listasal>
 </SALIDAS>
</SERVICIO>)";

// The entries of a list as the texts of their fields.
std::vector<std::vector<std::string>> Texts(const ExchangeDocument& document,
                                            std::string_view list) {
  std::vector<std::vector<std::string>> texts;
  for (const Entry& entry : document.SelectEntries(list)) {
    texts.emplace_back();
    for (const Field& field : entry.Fields()) texts.back().push_back(field.Text());
  }
  return texts;
}

TEST(DocumentSelectTest, SelectsEntriesOfEveryListOfTheNameExactly) {
  const ExchangeDocument document = ExchangeDocument::Parse(kLists);
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(Texts(document, "MATERIAS"), (Rows{{"uno", " abc<d> "}, {"dos"}}));
  EXPECT_EQ(Texts(document, "materias"), (Rows{{"minúsculas"}}));
  EXPECT_EQ(Texts(document, "AULAS"), Rows{});
  EXPECT_EQ(Texts(document, ""), Rows{});
}

TEST(DocumentSelectTest, FieldsByPositionAndByName) {
  const ExchangeDocument document = ExchangeDocument::Parse(kLists);
  const Entry entry = document.SelectEntries("MATERIAS").at(0);
  EXPECT_EQ(entry.FieldCount(), 2u);
  EXPECT_EQ(entry.FieldAt(0)->Dato(), "CLAVE");
  EXPECT_EQ(entry.FieldAt(1)->Dato(), std::nullopt);
  EXPECT_FALSE(entry.FieldAt(2).has_value());
}

TEST(DocumentSelectTest, RootOtherThanServicioGivesNoEntries) {
  std::string other = kLists;
  other.replace(other.find("SERVICIO"), 8, "SERVICIOS");
  other.replace(other.rfind("SERVICIO"), 8, "SERVICIOS");
  EXPECT_TRUE(ExchangeDocument::Parse(other).SelectEntries("MATERIAS").empty());
}

}  // namespace
}  // namespace enlacor
