// The subject and task catalogues: ASIGNOMT under unique short codes,
// ASIGNOMT2 under the first four characters of the long code.
#include <fstream>

#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class CataloguesTest : public ExportStepTest {
 protected:
  void ExportCatalogues(const SchoolDocument& document) {
    Use(document);
    run_.ExportSubjects();
    run_.ExportTasks();
    run_.ExportCourseSubjects();
  }
};

const SchoolDocument kCatalogueSchool = SchoolDocument()
    .List("MATERIAS", {
        {"M1", "  Matemáticas\t", " MATEMATICAS I \n", "C1", "90"},
        {"M2", "Matemáticas repetida", "matematicas i", "C2"},  // same long code, case aside
        {"M3", "Física", "MATEMATICAS II", "C1"},                 // same first 10 characters
        {"M4"},                                                  // one field: skipped
        {"MATERIA-LARGA", "Mate 1", "MATE1", "CURSO-DE-CLAVE-LARGA"},
        {"M6", "Mate 2", "MATE2", "C1"},
        {"M7", std::string(50, 'n')},                            // two fields: empty long code
    })
    .List("TAREAS", {
        {"156", "Docencia", "Matematicas I", "SI"},  // a subject's long code: no ASIGNOMT row
        {"281", "Guardia", "MATEMATICASXYZ", ""},    // shares a subject's first 10 characters
        {"286"},                                     // one field: skipped
        {"290", "Biblioteca", "BIBLIO", " X "},
    });

TEST_F(CataloguesTest, SubjectRowsThenTaskRowsUnderUniqueShortCodes) {
  ExportCatalogues(kCatalogueSchool);
  const std::vector<Fields> expected = {
      {"MATEMATICA", "MATEMATICA", Ansi("Matemáticas"), "", "", "F"},
      {"MATEMATIC1", "MATEMATICA", Ansi("Física"), "", "", "F"},
      {"MATE1", "MATE1", "Mate 1", "", "", "F"},
      {"MATE2", "MATE2", "Mate 2", "", "", "F"},
      {"", "", std::string(50, 'n'), "", "", "F"},
      {"MATEMATIC2", "MATEMATICA", "Guardia", "", "281", "T"},
      {"BIBLIO", "BIBLIO", "Biblioteca", "", "290", "T"},
  };
  EXPECT_EQ(Rows(TableId::kAsignomt, {"COD", "CODLARGO", "NOMBRE", "MATERIA", "CODTAREA", "ESTAREA"}), expected);
}

TEST_F(CataloguesTest, CourseSubjectsKeepEveryEntryUnderFourCharacters) {
  ExportCatalogues(kCatalogueSchool);
  const std::vector<Fields> expected = {
      {"MATE", "MATEMATICA", Ansi("Matemáticas"), "M1", "C1", ""},
      {"mate", "matematica", Ansi("Matemáticas repetida"), "M2", "C2", ""},
      {"MATE", "MATEMATICA", Ansi("Física"), "M3", "C1", ""},
      {"MATE", "MATE1", "Mate 1", "MATERIA-", "CURSO-DE-CLA", ""},
      {"MATE", "MATE2", "Mate 2", "M6", "C1", ""},
      {"", "", std::string(40, 'n'), "M7", "", ""},
      {"Mate", "Matematica", "Docencia", "156", "", "S"},
      {"MATE", "MATEMATICA", "Guardia", "281", "", ""},
      {"BIBL", "BIBLIO", "Biblioteca", "290", "", "X"},
  };
  EXPECT_EQ(Rows(TableId::kAsignomt2, {"COD", "CODLARGO", "NOMBRE", "MATERIA", "CLAVECURSO", "ALECTIVA"}), expected);
}

TEST_F(CataloguesTest, MissingListsStillRecreateTheTables) {
  // Tables of an earlier run, with an index file beside one of them.
  ExportCatalogues(kCatalogueSchool);
  std::ofstream(dir_ / "ASIGNOMT.MDX") << "index";
  std::ofstream(dir_ / "ASIGNOMT2.MDX") << "index";

  ExportCatalogues(SchoolDocument().List("PROFESORES", {{"E1", "", "Ana", "ANA"}}));
  EXPECT_TRUE(Rows(TableId::kAsignomt, {"COD"}).empty());
  EXPECT_TRUE(Rows(TableId::kAsignomt2, {"COD"}).empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ASIGNOMT.MDX"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ASIGNOMT2.MDX"));
}

TEST_F(CataloguesTest, TasksWithoutSubjectsStartFromEmptyLists) {
  ExportCatalogues(SchoolDocument().List("TAREAS", {{"156", "Docencia", "DOC"}, {"157", "Docencia", "doc"}}));
  EXPECT_EQ(Column(TableId::kAsignomt, "COD"), (std::vector<std::string>{"DOC"}));
}

}  // namespace
}  // namespace enlacor::testing
