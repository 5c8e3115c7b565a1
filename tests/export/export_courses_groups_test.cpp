// Courses (CURSOST) and groups (GRUPOST): every group under a short code,
// with its letter and the level, course and description of its course.
#include <fstream>

#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class CoursesGroupsTest : public ExportStepTest {};

const SchoolDocument kCourseSchool = SchoolDocument()
    .List("CURSOS", {
        {"C1", "1º ESO", "no leído", "ESO", "1"},
        {"C2", "Bachillerato", "", "", "2"},             // no level: NIV
        {"C1", "Duplicado", "", "DUP", "9"},             // the first stored C1 wins
        {"CURSO-CLAVE-LARGA", "Largo", "", "LAR", "1"},  // stored cut to 12: no group matches
        {"C5"},                                          // one field: skipped
        {"C6", "Sin nivel ni curso"},                    // missing fields read as empty
    })
    .List("GRUPOS", {
        {"G1", "1A", "C1"},
        {"G2", "ABCDEFGHIJKL", "C2"},
        {"G3", "ABCDEFGHIJXY", "C1"},
        {"G4", "1B", "CURSO-CLAVE-LARGA"},
        {"G5", "2A", "SIN-CURSO"},
        {"G6-CLAVE-LARGA", ""},                          // empty code and letter, no course
        {"G7"},                                          // one field: skipped
        {"G8", "SALA USOS MULTIPLES", "C6"},             // trimmed after the cut
    });

TEST_F(CoursesGroupsTest, CoursesInDocumentOrder) {
  Use(kCourseSchool);
  run_.ExportCoursesAndGroups();
  const std::vector<Fields> expected = {
      {"", "", "ESO", "1", "C1", Ansi("1º ESO")},
      {"", "", "NIV", "2", "C2", "Bachillerato"},
      {"", "", "DUP", "9", "C1", "Duplicado"},
      {"", "", "LAR", "1", "CURSO-CLAVE-", "Largo"},
      {"", "", "NIV", "", "C6", "Sin nivel ni curso"},
  };
  EXPECT_EQ(Rows(TableId::kCursost, {"ABREV", "TURNO", "NIVEL", "CURSO", "CLAVE", "DESCRICUR"}), expected);
}

TEST_F(CoursesGroupsTest, GroupsTakeTheirCourseCodeAndLetter) {
  Use(kCourseSchool);
  run_.ExportCoursesAndGroups();
  const std::vector<Fields> expected = {
      {"1A", "", "ESO", "1", "A", Ansi("(G1) 1º ESO"), "0", "G1", "C1"},
      {"ABCDEFGHIJ", "", "NIV", "2", "L", "(G2) Bachillerato", "0", "G2", "C2"},
      {"ABCDEFGHI1", "", "ESO", "1", "Y", Ansi("(G3) 1º ESO"), "0", "G3", "C1"},
      {"1B", "", "", "", "B", "(G4)", "0", "G4", "CURSO-CLAVE-"},
      {"2A", "", "", "", "A", "(G5)", "0", "G5", "SIN-CURSO"},
      {"", "", "", "", "", "(G6-CLAVE-LARGA)", "0", "G6-CLAVE-L", ""},
      {"SALA USOS", "", "NIV", "", "S", "(G8) Sin nivel ni curso", "0", "G8", "C6"},
  };
  EXPECT_EQ(Rows(TableId::kGrupost,
                 {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "DESCRIP", "MARCO", "CLAVE", "CLAVECURSO"}),
            expected);
}

TEST_F(CoursesGroupsTest, ElevenGroupsOnOneStem) {
  std::vector<Fields> groups;
  for (int i = 0; i < 12; ++i) groups.push_back({"G" + std::to_string(i), "ABCDEFGHIJ-" + std::to_string(i), "C1"});
  groups.push_back({"G12", "ABCDEFGH10", "C1"});  // would repeat the eleventh's stored code
  Use(SchoolDocument().List("CURSOS", {{"C1", "Curso"}}).List("GRUPOS", groups));
  run_.ExportCoursesAndGroups();
  const std::vector<std::string> expected = {"ABCDEFGHIJ", "ABCDEFGHI1", "ABCDEFGHI2", "ABCDEFGHI3", "ABCDEFGHI4",
                                             "ABCDEFGHI5", "ABCDEFGHI6", "ABCDEFGHI7", "ABCDEFGHI8", "ABCDEFGHI9",
                                             "ABCDEFGH10", "ABCDEFGH11", "ABCDEFGH12"};
  EXPECT_EQ(Column(TableId::kGrupost, "ABREV"), expected);
}

TEST_F(CoursesGroupsTest, EmptyListsStillCreateBothTables) {
  Use(kCourseSchool);
  run_.ExportCoursesAndGroups();
  std::ofstream(dir_ / "GRUPOST.MDX") << "index";
  Use(SchoolDocument());
  run_.ExportCoursesAndGroups();
  EXPECT_TRUE(Rows(TableId::kCursost, {"CLAVE"}).empty());
  EXPECT_TRUE(Rows(TableId::kGrupost, {"CLAVE"}).empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "GRUPOST.MDX"));
}

}  // namespace
}  // namespace enlacor::testing
