// Teaching assignments (ASIGT): every subject for every group of its course,
// with weekly hours, session pattern and the task chosen from the name.
#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class AssignmentsTest : public ExportStepTest {
 protected:
  void ExportThroughAssignments(const SchoolDocument& document) {
    Use(document);
    ExportStepTest::ExportThroughAssignments();
  }
  std::vector<double> Hours() const {
    std::vector<double> hours;
    DbfTable table = workspace_.Open(TableId::kAsigt, OpenMode::kShared);
    for (table.First(); !table.Eof(); table.Next()) hours.push_back(table.GetFloat("HORAS").value_or(-1));
    return hours;
  }
};

const std::string kThirteen(13, '1');

const SchoolDocument kAssignmentSchool = SchoolDocument()
    .List("CURSOS", {{"C1", "1º ESO", "", "ESO", "1"}, {"C2", "Bachillerato", "", "BACH", "2"}})
    .List("GRUPOS", {
        {"G1", "1A", "C1"}, {"G2", "1B", "C1"}, {"G3", "1C", "C1"},
        {"G4", "2A", "C2"},
        {"G5", "5A", "CURSO-CLAVE-LARGA"},  // stored as CURSO-CLAVE-
    })
    .List("TAREAS", {
        {"156", "Docencia", "DOCENCIA"},
        {"281", "Guardia", "GUARDIAS"},
        {"281", "Guardia bis", "GUARDIAS-2"},  // the first 281 row supplies the code
    })
    .List("MATERIAS", {
        {"M1", "Matemáticas", "MATEMATICAS-1", "C1", "90"},
        {"M2", "guardia de recreo", "GUARDIA-REC", "C2", ""},
        {"M3", "Guardia en biblioteca", "BIB", "C2", "-30"},   // no 286 task row
        {"M4", "Sin grupos", "X", "C9", "60"},
        {"M5", "Tres campos", "MATE"},                          // no course key: no group
        {"M6", "Matemáticas II", "MATEMATICAS-1", "C2", " 1380 "},
        {"M7", "Curso largo", "Y", "CURSO-CLAVE-LARGA", "60"},   // matches no stored key
        {"M8"},
    });

TEST_F(AssignmentsTest, OneRowPerSubjectAndGroupOfItsCourse) {
  ExportThroughAssignments(kAssignmentSchool);
  const std::vector<Fields> expected = {
      {"MATEMATICA", "", "1A", "", "", "ESO", "1", "A", "11", "", "M1", "C1", "DOCENCIA"},
      {"MATEMATICA", "", "1B", "", "", "ESO", "1", "B", "11", "", "M1", "C1", "DOCENCIA"},
      {"MATEMATICA", "", "1C", "", "", "ESO", "1", "C", "11", "", "M1", "C1", "DOCENCIA"},
      {"GUARDIA-RE", "", "2A", "", "", "BACH", "2", "A", "1", "", "M2", "C2", "GUARDIAS"},
      {"BIB", "", "2A", "", "", "BACH", "2", "A", "1", "", "M3", "C2", ""},
      {"MATEMATICA", "", "2A", "", "", "BACH", "2", "A", "10" + kThirteen, "", "M6", "C2", "DOCENCIA"},
  };
  EXPECT_EQ(Rows(TableId::kAsigt, {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO",
                                   "SESIONES", "NCONEX", "CLAVE", "CLAVECURSO", "CTAREA"}),
            expected);
  EXPECT_EQ(Hours(), (std::vector<double>{2, 2, 2, 1, 1, 23}));
}

TEST_F(AssignmentsTest, TaskCodeChosenFromTheName) {
  struct Case {
    const char* name;
    const char* task;
  };
  const Case cases[] = {{"Matemáticas", "T156"},         {"Guardia de recreo", "T281"},
                        {"Guardia en biblioteca", "T286"}, {"biblioteca y guardia", "T286"},
                        {"GUARDIÁN", "T281"},            {"Guar dia", "T156"}};
  std::vector<Fields> subjects;
  for (const Case& c : cases) subjects.push_back({"K", c.name, "S", "C1", "60"});
  ExportThroughAssignments(SchoolDocument()
                               .List("CURSOS", {{"C1", "Curso"}})
                               .List("GRUPOS", {{"G1", "1A", "C1"}})
                               .List("TAREAS", {{"156", "a", "T156"}, {"281", "b", "T281"}, {"286", "c", "T286"}})
                               .List("MATERIAS", subjects));
  const std::vector<std::string> tasks = Column(TableId::kAsigt, "CTAREA");
  ASSERT_EQ(tasks.size(), std::size(cases));
  for (std::size_t i = 0; i < tasks.size(); ++i) EXPECT_EQ(tasks[i], cases[i].task) << cases[i].name;
}

TEST_F(AssignmentsTest, LeavesItsSourceTablesClosed) {
  ExportThroughAssignments(kAssignmentSchool);
  // Opened exclusively during the step, both tables are free again after it.
  EXPECT_NO_THROW(workspace_.Open(TableId::kGrupost, OpenMode::kExclusive));
  EXPECT_NO_THROW(workspace_.Open(TableId::kAsignomt, OpenMode::kExclusive));
}

}  // namespace
}  // namespace enlacor::testing
