// Teachers (PROFT) and rooms (AULAT): one row per used entry, each under a
// short code unique within its own table.
#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class TeachersRoomsTest : public ExportStepTest {};

TEST_F(TeachersRoomsTest, TeachersUnderCodesUniqueAsStored) {
  Use(SchoolDocument().List("PROFESORES", {
      {"E1", "01/09/2020", "Juan García", "JGP"},
      {"E2", "", "Julia Gómez", "jgp"},                       // case is not new
      {"E3-IDENTIF12", "2021-09-01-X", std::string(100, 'a'), "ABCDEFGHIJK"},
      {"E4", "", "Segundo", "ABCDEFGHIJZ"},
      {"E5", "", "Usos", "SALA USOS MULTIPLES"},             // keeps the blank after the cut
      {"E6", "", "Usos bis", "SALA USOS"},                   // one code once stored: suffixed
      {"E7"},                                                 // one field: skipped
      {"E8", "", "Sin abreviatura"},                          // missing base reads as empty
      {"E9", "", "Otro sin abreviatura", ""},
  }));
  run_.ExportTeachers();
  const std::vector<Fields> expected = {
      {"JGP", Ansi("Juan García"), "E1", "01/09/2020", "", ""},
      {"jgp1", Ansi("Julia Gómez"), "E2", "", "", ""},
      {"ABCDEFGHIJ", std::string(80, 'a'), "E3-IDENTIF", "2021-09-01", "", ""},
      {"ABCDEFGHI1", "Segundo", "E4", "", "", ""},
      {"SALA USOS", "Usos", "E5", "", "", ""},
      {"SALA USOS1", "Usos bis", "E6", "", "", ""},
      {"", "Sin abreviatura", "E8", "", "", ""},
      {"1", "Otro sin abreviatura", "E9", "", "", ""},
  };
  EXPECT_EQ(Rows(TableId::kProft, {"ABREV", "NOMBRE", "X_EMPLEADO", "F_TOMAPOS", "DEPART", "EMAIL"}), expected);
  DbfTable table = workspace_.Open(TableId::kProft, OpenMode::kShared);
  EXPECT_EQ(table.GetInteger("DNI"), std::nullopt);
}

TEST_F(TeachersRoomsTest, RoomsTrimAfterTheCutAndKeepTheirOwnCodes) {
  Use(SchoolDocument()
          .List("PROFESORES", {{"E1", "", "Ana", "SALA USOS MULTIPLES"}})
          .List("AULAS", {
              {"D1", "Sala de usos múltiples", "SALA USOS MULTIPLES"},
              {"D2", "Sala pequeña", "SALA USOS"},
              {"D3-DEPENDENCIA", "Laboratorio"},
              {"D4", "Aula 4", ""},
              {"D5"},
          }));
  run_.ExportTeachers();
  run_.ExportRooms();
  const std::vector<Fields> expected = {
      {"SALA USOS", Ansi("Sala de usos múltiples"), "D1", ""},
      {"SALA USOS1", Ansi("Sala pequeña"), "D2", ""},
      {"", "Laboratorio", "D3-DEPENDE", ""},
      {"1", "Aula 4", "D4", ""},
  };
  EXPECT_EQ(Rows(TableId::kAulat, {"ABREV", "NOMBRE", "DEPCENTRO", "EDIFICIO"}), expected);
  // A teacher and a room may carry the same code.
  EXPECT_EQ(Column(TableId::kProft, "ABREV"), (std::vector<std::string>{"SALA USOS"}));
}

}  // namespace
}  // namespace enlacor::testing
