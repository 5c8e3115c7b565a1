// The session resolution: each case is one session of one teacher, resolved
// against a small set of lookup tables in which every key that matters has a
// later duplicate, so only the first record in stored order can give the
// expected value. All cases run in one import, one after the other, so a
// value left over from the session before would show up in the next.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import/session_resolver.h"
#include "import_fixture.h"

namespace enlacor::testing {
namespace {

struct ResolutionCase {
  const char* name;
  // SOLUC values
  const char* subject;
  const char* group;
  const char* task;
  const char* room;
  const char* day;
  const char* period;
  const char* frame;
  // X_ACTIVIDAD, N_DIASEMANA, X_TRAMO, X_DEPCENTRO, X_MATERIAOMC, X_UNIDAD
  std::array<const char*, 6> expected;
};

const ResolutionCase kCases[] = {
    {"AllResolveToTheFirstMatch", "MAT", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "K-MAT", "U-G1"}},
    {"AllLookupsFail", "ZZ", "GX", "TX", "AX", "6", "9", "1", {"TX", "", "", "", "", ""}},
    {"TaskNotInCatalogue", "MAT", "G1", "T9", "A1", "1", "1", "1", {"T9", "1", "P11", "D-A1", "K-MAT", "U-G1"}},
    {"AssignmentOfAnotherGroup", "LEN", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "", "U-G1"}},
    {"FallbackWithAlectiva", "FALL", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "M-FALL", "U-G1"}},
    {"FallbackWithBlankAlectiva", "BLNK", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "", "U-G1"}},
    {"FallbackOfAnotherCourse", "OTRO", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "", "U-G1"}},
    {"GroupUnknownFallbackFindsNoCourse", "FALL", "GX", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "", ""}},
    {"GroupUnknownFallbackToEmptyCourse", "NOGR", "GX", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "M-NOGR", ""}},
    {"BlankClaveTriggersFallback", "BLK", "G1", "T1", "A1", "1", "1", "1",
     {"LECTIVA", "1", "P11", "D-A1", "M-BLK", "U-G1"}},
    {"OtherFramePassedOver", "MAT", "G1", "T1", "A1", "1", "1", "0",
     {"LECTIVA", "1", "P11-M0", "D-A1", "K-MAT", "U-G1"}},
    {"NoPeriodInTheFrame", "MAT", "G1", "T1", "A1", "2", "3", "1",
     {"LECTIVA", "", "", "D-A1", "K-MAT", "U-G1"}},
    {"FrameMarkIsFirstCharacter", "MAT", "G1", "T1", "A1", "2", "3", "0X",
     {"LECTIVA", "2", "P23", "D-A1", "K-MAT", "U-G1"}},
    {"EmptyFrameMarkMatchesEmptyMarco", "MAT", "G1", "T1", "A1", "4", "1", "",
     {"LECTIVA", "4", "P41-SIN", "D-A1", "K-MAT", "U-G1"}},
    {"RoomUnknown", "MAT", "G1", "T1", "AX", "1", "1", "1", {"LECTIVA", "1", "P11", "", "K-MAT", "U-G1"}},
    {"PeriodRoundedToNearest", "MAT", "G1", "T1", "A1", "1", "1.6", "1",
     {"LECTIVA", "1", "P12", "D-A1", "K-MAT", "U-G1"}},
    {"DayNotWholeKeepsItsDecimals", "MAT", "G1", "T1", "A1", "2.5", "1", "1",
     {"LECTIVA", "2.5", "P-MEDIO", "D-A1", "K-MAT", "U-G1"}},
    {"DayNotWholeMatchesNoWholePeriod", "MAT", "G1", "T1", "A1", "1.25", "1", "1",
     {"LECTIVA", "", "", "D-A1", "K-MAT", "U-G1"}},
};

// How SOLUC is stored: it is Horvana's file, so DIA and HORA may be N or F
// and MARCO of any width.
enum class SolucStorage { kEngineSchema, kFloatFieldsWideMarco, kNumericWithDecimals };

void WriteLookupTables(const Workspace& workspace) {
  WriteTable(workspace, TableId::kProft, {{{"ABREV", "PR"}, {"X_EMPLEADO", "E1"}}});
  WriteTable(workspace, TableId::kAsigt,
             {{{"CASIG", "MAT"}, {"CGRUP", "G1"}, {"CLAVE", "K-MAT"}},
              {{"CASIG", "MAT"}, {"CGRUP", "G1"}, {"CLAVE", "K-MAT-DUP"}},
              {{"CASIG", "LEN"}, {"CGRUP", "G2"}, {"CLAVE", "K-LEN"}},
              {{"CASIG", "BLK"}, {"CGRUP", "G1"}, {"CLAVE", ""}},
              {{"CASIG", "BLK"}, {"CGRUP", "G1"}, {"CLAVE", "K-BLK-DUP"}}});
  WriteTable(workspace, TableId::kAsignomt,
             {{{"COD", "MAT"}, {"CODTAREA", ""}},
              {{"COD", "T1"}, {"CODTAREA", "LECTIVA"}},
              {{"COD", "T1"}, {"CODTAREA", "OTRA"}}});
  WriteTable(workspace, TableId::kGrupost,
             {{{"ABREV", "G1"}, {"CLAVE", "U-G1"}, {"CLAVECURSO", "C1"}},
              {{"ABREV", "G1"}, {"CLAVE", "U-DUP"}, {"CLAVECURSO", "C9"}},
              {{"ABREV", "G2"}, {"CLAVE", "U-G2"}, {"CLAVECURSO", "C2"}}});
  WriteTable(workspace, TableId::kAsignomt2,
             {{{"COD", "FALL"}, {"MATERIA", "M-FALL"}, {"CLAVECURSO", "C1"}, {"ALECTIVA", "S"}},
              {{"COD", "FALL"}, {"MATERIA", "M-DUP"}, {"CLAVECURSO", "C1"}, {"ALECTIVA", "S"}},
              {{"COD", "BLNK"}, {"MATERIA", "M-BLNK"}, {"CLAVECURSO", "C1"}, {"ALECTIVA", ""}},
              {{"COD", "BLNK"}, {"MATERIA", "M-DUP"}, {"CLAVECURSO", "C1"}, {"ALECTIVA", "S"}},
              {{"COD", "OTRO"}, {"MATERIA", "M-OTRO"}, {"CLAVECURSO", "C2"}, {"ALECTIVA", "S"}},
              {{"COD", "NOGR"}, {"MATERIA", "M-NOGR"}, {"CLAVECURSO", ""}, {"ALECTIVA", "S"}},
              {{"COD", "BLK"}, {"MATERIA", "M-BLK"}, {"CLAVECURSO", "C1"}, {"ALECTIVA", "S"}},
              {{"COD", "LEN"}, {"MATERIA", "M-LEN"}, {"CLAVECURSO", "C2"}, {"ALECTIVA", "S"}}});
  WriteTable(workspace, TableId::kDiashorast,
             {{{"DIHO", "11"}, {"CODDIHO", "P11"}, {"DIA", "1"}, {"MARCO", "1"}},
              {{"DIHO", "11"}, {"CODDIHO", "P11-M0"}, {"DIA", "1"}, {"MARCO", "0"}},
              {{"DIHO", "11"}, {"CODDIHO", "P11-DUP"}, {"DIA", "1"}, {"MARCO", "1"}},
              {{"DIHO", "12"}, {"CODDIHO", "P12"}, {"DIA", "1"}, {"MARCO", "1"}},
              {{"DIHO", "23"}, {"CODDIHO", "P23"}, {"DIA", "2"}, {"MARCO", "0"}},
              {{"DIHO", "41"}, {"CODDIHO", "P41-SIN"}, {"DIA", "4"}, {"MARCO", ""}},
              {{"DIHO", "2.51"}, {"CODDIHO", "P-MEDIO"}, {"DIA", "2.5"}, {"MARCO", "1"}},
              {{"DIHO", "1.251"}, {"CODDIHO", "P-X"}, {"DIA", "9"}, {"MARCO", "0"}}});
  WriteTable(workspace, TableId::kAulat,
             {{{"ABREV", "A1"}, {"DEPCENTRO", "D-A1"}}, {{"ABREV", "A1"}, {"DEPCENTRO", "D-DUP"}}});
}

std::vector<Row> SessionRows() {
  std::vector<Row> rows;
  for (const ResolutionCase& c : kCases) {
    rows.push_back({{"PROF", "PR"}, {"ASIG", c.subject}, {"CODGRUPO", c.group}, {"TAREA", c.task},
                    {"AULA", c.room}, {"DIA", c.day}, {"HORA", c.period}, {"MARCO", c.frame}});
  }
  return rows;
}

void WriteSessions(const Workspace& workspace, SolucStorage storage) {
  if (storage == SolucStorage::kEngineSchema) {
    WriteTable(workspace, TableId::kSoluc, SessionRows());
    return;
  }
  std::filesystem::remove(workspace.TableFile("SOLUC"));
  const char numeric = storage == SolucStorage::kFloatFieldsWideMarco ? 'F' : 'N';
  const int marco_width = storage == SolucStorage::kFloatFieldsWideMarco ? 6 : 1;
  WriteNativeTable(workspace.Directory() / "SOLUC.DBF",
                   {{"MARCO", 'C', marco_width}, {"ASIG", 'C', 10}, {"PROF", 'C', 10}, {"CODGRUPO", 'C', 10},
                    {"AULA", 'C', 10}, {"TAREA", 'C', 10}, {"DIA", numeric, 8, 3}, {"HORA", numeric, 8, 3}},
                   SessionRows());
}

class SessionResolution : public ImportFixture, public ::testing::WithParamInterface<SolucStorage> {};

TEST_P(SessionResolution, EachSessionGetsTheFirstMatchOfEveryLookup) {
  WriteLookupTables(workspace);
  WriteSessions(workspace, GetParam());
  const pugi::xml_node teacher = Import().find_child_by_attribute("listasal", "seq", "EMP_1");

  pugi::xml_node entry = teacher.child("listasal");
  for (const ResolutionCase& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(entry);
    const Fields fields = FieldsOf(entry);
    ASSERT_EQ(fields.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(fields[i].second, c.expected[i]) << fields[i].first;
    entry = entry.next_sibling("listasal");
  }
  EXPECT_FALSE(entry);
}

INSTANTIATE_TEST_SUITE_P(Storage, SessionResolution,
                         ::testing::Values(SolucStorage::kEngineSchema, SolucStorage::kFloatFieldsWideMarco,
                                           SolucStorage::kNumericWithDecimals),
                         [](const auto& info) {
                           switch (info.param) {
                             case SolucStorage::kEngineSchema: return std::string("EngineSchema");
                             case SolucStorage::kFloatFieldsWideMarco: return std::string("FloatFieldsWideMarco");
                             default: return std::string("NumericWithDecimals");
                           }
                         });

TEST(DayPeriodKey, WritesTheDayAsItsShortestDecimalTextThenThePeriod) {
  const struct {
    double day;
    std::optional<std::int64_t> period;
    std::optional<std::string> key;
  } cases[] = {{1, 1, "11"}, {5, 12, "512"}, {2.5, 1, "2.51"}, {0.1, 3, "0.13"}, {7, std::nullopt, std::nullopt}};
  for (const auto& c : cases) {
    SolucSession session;
    session.day = c.day;
    session.period = c.period;
    EXPECT_EQ(DayPeriodKey(session), c.key) << c.day;
  }
}

}  // namespace
}  // namespace enlacor::testing
