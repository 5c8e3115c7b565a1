// The export run around steps 1 to 7: a document that would stop a step is
// refused before any table is touched, and every run starts with fresh code
// lists.
#include <fstream>
#include <iterator>
#include <map>

#include "export/preflight_check.h"
#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class ExportRunStepsTest : public ExportStepTest {
 protected:
  std::filesystem::path WriteDocument(const std::string& name, const SchoolDocument& document) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << document.Xml();
    return path;
  }
  // Every file of the workspace with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(dir_.path())) {
      std::ifstream in(item.path(), std::ios::binary);
      files[item.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }
};

SchoolDocument SchoolWithMinutes(const std::string& second_minutes) {
  return SchoolDocument()
      .List("CURSOS", {{"C1", "1º ESO", "", "ESO", "1"}})
      .List("GRUPOS", {{"G1", "1A", "C1"}})
      .List("PROFESORES", {{"E1", "", "Ana", "ANA"}})
      .List("AULAS", {{"D1", "Aula", "A1"}})
      .List("TAREAS", {{"156", "Docencia", "DOC"}})
      .List("MATERIAS", {
          {"M1", "Matemáticas", "MAT", "C1", "90"},
          {"M2"},  // one field: never read, never checked
          {"M3", "Lengua", "LEN", "C9", second_minutes},
      });
}

TEST_F(ExportRunStepsTest, MinutesThatAreNotWholeLeaveTheWorkspaceUntouched) {
  Use(SchoolWithMinutes("45"));
  ExportThroughAssignments();
  std::ofstream(dir_ / "ASIGT.MDX") << "index of an earlier run";
  const auto before = Snapshot();

  host_.documents.push_back(WriteDocument("malo.xml", SchoolWithMinutes("1h30")));
  try {
    run_.BExportarClick();
    FAIL() << "the run went on";
  } catch (const ExportCheckError& error) {
    const std::string message = error.what();
    for (const char* part : {"MATERIAS", "entrada 3", "campo 4", "\"1h30\""}) {
      EXPECT_NE(message.find(part), std::string::npos) << message;
    }
  }
  std::filesystem::remove(dir_ / "malo.xml");
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(state_.RunStatus, 0);
}

TEST_F(ExportRunStepsTest, CheckNamesEveryBadMinutesValueAndOnlyThose) {
  struct Case {
    std::string minutes;
    bool blocks;
  };
  const Case cases[] = {{"", false},      {" 90 ", false},  {"-15", false}, {"+60", false},
                        {"1h30", true},   {"90.0", true},   {"1 30", true}, {"99999999999", true}};
  for (const Case& c : cases) {
    const auto found = FindBlockingValues(SchoolWithMinutes(c.minutes).Parse());
    ASSERT_EQ(found.size(), c.blocks ? 1u : 0u) << "\"" << c.minutes << "\"";
    if (!c.blocks) continue;
    EXPECT_EQ(found[0].list, "MATERIAS");
    EXPECT_EQ(found[0].entry, 3u);
    EXPECT_EQ(found[0].field, "4");
    EXPECT_EQ(found[0].value, c.minutes);
  }
}

TEST_F(ExportRunStepsTest, ARunAfterAFailedOneStartsWithEmptyCodeLists) {
  const SchoolDocument school = SchoolDocument()
      .List("MATERIAS", {{"M1", "Matemáticas", "MATEMATICAS"}})
      .List("TAREAS", {{"156", "Docencia", "DOCENCIA"}});
  Use(school);
  run_.ExportSubjects();
  // The catalogue disappears under the run: ExportTasks fails with the
  // subject codes still in the lists.
  std::filesystem::remove(workspace_.TableFile("ASIGNOMT"));
  EXPECT_THROW(run_.ExportTasks(), TableError);

  Use(school);
  ExportThroughAssignments();
  EXPECT_EQ(Column(TableId::kAsignomt, "COD"), (std::vector<std::string>{"MATEMATICA", "DOCENCIA"}));

  // And once more after a finished pair of steps, when the lists were discarded.
  ExportThroughAssignments();
  EXPECT_EQ(Column(TableId::kAsignomt, "COD"), (std::vector<std::string>{"MATEMATICA", "DOCENCIA"}));
}

}  // namespace
}  // namespace enlacor::testing
