// The pre-run report: every kind of finding on a document built to hold
// them, nothing on a clean school, and the frame choice as the run makes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "export/export_report.h"
#include "export/frame_selection.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;

const fs::path kFindingsSample = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "hallazgos.xml";

bool Has(const ExportReport& report, FindingKind kind, const std::string& list, std::size_t entry) {
  for (const Finding& f : report.findings) {
    if (f.kind == kind && f.list == list && f.entry == entry) return true;
  }
  return false;
}

const Finding* Find(const ExportReport& report, FindingKind kind, const std::string& list, std::size_t entry) {
  for (const Finding& f : report.findings) {
    if (f.kind == kind && f.list == list && f.entry == entry) return &f;
  }
  return nullptr;
}

std::string ValueOf(const Finding& finding, const std::string& name) {
  for (const FindingValue& v : finding.values) {
    if (v.name == name) return v.value;
  }
  return "<sin valor " + name + ">";
}

// The MANANA frame alone, as the dialog's Selection.
std::string MananaOnly() { return BuildSelection({"MANANA", "TARDE_LARGA"}, {true, false}); }

TEST(ReportFindings, FixtureHoldsEveryKindWhereItWasPlanted) {
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), MananaOnly());
  using K = FindingKind;
  const std::vector<std::tuple<K, std::string, std::size_t>> expected = {
      {K::kSkippedEntry, "MATERIAS", 1},
      {K::kMissingField, "MATERIAS", 4},
      {K::kMissingField, "INTERVALOS", 5},
      {K::kDuplicateLongCode, "MATERIAS", 3},
      {K::kDuplicateLongCode, "TAREAS", 1},
      {K::kChangedShortCode, "MATERIAS", 2},
      {K::kChangedShortCode, "PROFESORES", 2},
      {K::kChangedShortCode, "AULAS", 1},
      {K::kCutValue, "MATERIAS", 2},
      {K::kCutValue, "PROFESORES", 3},
      {K::kCutValue, "INTERVALOS", 7},
      {K::kLongCourseKey, "CURSOS", 2},
      {K::kLongCourseKey, "GRUPOS", 2},
      {K::kLongCourseKey, "MATERIAS", 5},
      {K::kSubjectWithoutGroups, "MATERIAS", 4},
      {K::kSubjectWithoutGroups, "MATERIAS", 5},
      {K::kGroupWithoutCourse, "GRUPOS", 2},
      {K::kGroupWithoutCourse, "GRUPOS", 3},
      {K::kPeriodNotRenumbered, "INTERVALOS", 2},
      {K::kPeriodNotRenumbered, "INTERVALOS", 3},
      {K::kPeriodNotRenumbered, "INTERVALOS", 4},
      {K::kPeriodNotRenumbered, "INTERVALOS", 5},
      {K::kPeriodNotRenumbered, "INTERVALOS", 6},
      {K::kFrameCodeChanged, "JORNADAS", 2},
      {K::kUnrepresentableCharacters, "MATERIAS", 7},
      {K::kBlockingValue, "MATERIAS", 6},
  };
  for (const auto& [kind, list, entry] : expected) {
    EXPECT_TRUE(Has(report, kind, list, entry)) << KindId(kind) << " " << list << " " << entry;
  }
  // The entries that are sound stay out of the report.
  const std::vector<std::pair<std::string, std::size_t>> clean = {
      {"PROFESORES", 1}, {"CURSOS", 1}, {"GRUPOS", 1}, {"JORNADAS", 1}, {"INTERVALOS", 1}};
  for (const auto& [list, entry] : clean) {
    for (const Finding& f : report.findings) EXPECT_FALSE(f.list == list && f.entry == entry) << f.text;
  }
  EXPECT_EQ(report.Count(Severity::kError), 1u);
  EXPECT_EQ(report.checked_frames, std::vector<std::string>{"MANANA"});
  EXPECT_FALSE(report.every_frame);
}

TEST(ReportFindings, FindingsCarryTheValuesConcerned) {
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), MananaOnly());
  const Finding* duplicate = Find(report, FindingKind::kDuplicateLongCode, "TAREAS", 1);
  ASSERT_NE(duplicate, nullptr);
  EXPECT_EQ(ValueOf(*duplicate, "conservado_en"), "MATERIAS 2");

  const Finding* code = Find(report, FindingKind::kChangedShortCode, "PROFESORES", 2);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(ValueOf(*code, "base"), "jgp");
  EXPECT_EQ(ValueOf(*code, "codigo"), "jgp1");

  const Finding* room = Find(report, FindingKind::kChangedShortCode, "AULAS", 1);
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(ValueOf(*room, "codigo"), "SALA USOS");

  const Finding* cut = Find(report, FindingKind::kCutValue, "PROFESORES", 3);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(ValueOf(*cut, "columna"), "PROFT.X_EMPLEADO");
  EXPECT_EQ(ValueOf(*cut, "ancho"), "10");
  EXPECT_EQ(ValueOf(*cut, "se_pierde"), "012345");

  const Finding* period = Find(report, FindingKind::kCutValue, "INTERVALOS", 7);
  ASSERT_NE(period, nullptr);
  EXPECT_EQ(ValueOf(*period, "columna"), "DIASHORAST.TEXTOHOR");

  const Finding* characters = Find(report, FindingKind::kUnrepresentableCharacters, "MATERIAS", 7);
  ASSERT_NE(characters, nullptr);
  EXPECT_EQ(ValueOf(*characters, "caracteres"), "∑");
  EXPECT_EQ(ValueOf(*characters, "se_guarda"), "Lógica ? y conjuntos");

  const Finding* repeated = Find(report, FindingKind::kPeriodNotRenumbered, "INTERVALOS", 6);
  ASSERT_NE(repeated, nullptr);
  EXPECT_NE(repeated->text.find("entrada 1"), std::string::npos) << repeated->text;
}

TEST(ReportFindings, CutsFollowTheRowsTheEntryGets) {
  // MATERIAS 3 is left out of ASIGNOMT by the duplicate filter: its long code
  // is cut in ASIGNOMT2 alone; MATERIAS 2 also in ASIGNOMT and ASIGT.
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), MananaOnly());
  const Finding* kept = Find(report, FindingKind::kCutValue, "MATERIAS", 2);
  const Finding* dropped = Find(report, FindingKind::kCutValue, "MATERIAS", 3);
  ASSERT_NE(kept, nullptr);
  ASSERT_NE(dropped, nullptr);
  EXPECT_EQ(ValueOf(*kept, "columna"), "ASIGNOMT2.CODLARGO, ASIGNOMT.CODLARGO, ASIGT.CASIG");
  EXPECT_EQ(ValueOf(*dropped, "columna"), "ASIGNOMT2.CODLARGO, ASIGT.CASIG");
}

constexpr char kCleanSchool[] = R"(<SERVICIO><SALIDAS>
  <listasal seq="MATERIAS"><listasal><salida>M1</salida><salida>Matemáticas</salida><salida>MAT</salida><salida>C1</salida><salida>240</salida></listasal></listasal>
  <listasal seq="TAREAS"><listasal><salida>281</salida><salida>Guardia</salida><salida>GUA</salida><salida>S</salida></listasal></listasal>
  <listasal seq="PROFESORES"><listasal><salida>E1</salida><salida>01/09/2020</salida><salida>Ana Pérez</salida><salida>APE</salida></listasal></listasal>
  <listasal seq="AULAS"><listasal><salida>D1</salida><salida>Aula 1</salida><salida>A1</salida></listasal></listasal>
  <listasal seq="CURSOS"><listasal><salida>C1</salida><salida>1º ESO</salida><salida></salida><salida>ESO</salida><salida>1</salida></listasal></listasal>
  <listasal seq="GRUPOS"><listasal><salida>G1</salida><salida>1A</salida><salida>C1</salida></listasal></listasal>
  <listasal seq="JORNADAS"><listasal><salida>M</salida><salida>Mañana</salida><salida>2024</salida></listasal></listasal>
  <listasal seq="INTERVALOS">
    <listasal><salida dato="CODIGO_ESCOLIA">P1</salida><salida dato="NOMBRE">1ª</salida><salida dato="INICIO">8:00</salida><salida dato="FIN">8:55</salida><salida dato="ORDEN">1</salida><salida dato="CLAVE_JORNADA">M</salida></listasal>
    <listasal><salida dato="CODIGO_ESCOLIA">P2</salida><salida dato="NOMBRE">2ª</salida><salida dato="INICIO">9:00</salida><salida dato="FIN">9:55</salida><salida dato="ORDEN">3</salida><salida dato="CLAVE_JORNADA">M</salida></listasal>
  </listasal>
</SALIDAS></SERVICIO>)";

TEST(ReportFindings, CleanSchoolReportsNothing) {
  const ExportReport report = BuildExportReport(ExchangeDocument::Parse(kCleanSchool), std::nullopt);
  for (const Finding& f : report.findings) ADD_FAILURE() << f.list << " " << f.entry << ": " << f.text;
  EXPECT_EQ(report.checked_frames, std::vector<std::string>{"M"});
  EXPECT_FALSE(report.every_frame);
}

std::string OneFrameDocument(const std::string& code) {
  return "<SERVICIO><SALIDAS><listasal seq=\"JORNADAS\"><listasal><salida>" + code +
         "</salida></listasal></listasal></SALIDAS></SERVICIO>";
}

TEST(ReportFindings, OnlyFrameCodeIsCutOrSplitAsTheRunDoes) {
  struct Case {
    std::string code;
    bool changed;
    std::vector<std::string> frames;
  };
  const std::vector<Case> cases = {
      {"MANANA", false, {"MANANA"}},
      {"ABCDEFGHIJ", false, {"ABCDEFGHIJ"}},
      {"ABCDEFGHIJKLM", true, {"ABCDEFGHIJ"}},
      {"ABCDEFGHIJKLMNOPQRS", true, {"ABCDEFGHIJ"}},
      {"ABCDEFGHIJKLMNOPQRST", true, {"ABCDEFGHIJ", "KLMNOPQRST"}},
      {"MAÑANAS DE LUNES A VIERNES", true, {"MAÑANAS DE", "LUNES A V"}},
  };
  for (const Case& c : cases) {
    const ExportReport report = BuildExportReport(ExchangeDocument::Parse(OneFrameDocument(c.code)), std::nullopt);
    EXPECT_EQ(Has(report, FindingKind::kFrameCodeChanged, "JORNADAS", 1), c.changed) << c.code;
    EXPECT_EQ(report.checked_frames, c.frames) << c.code;
  }
}

TEST(ReportFindings, WithoutAChoiceEveryFrameIsChecked) {
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), std::nullopt);
  EXPECT_TRUE(report.every_frame);
  EXPECT_EQ(report.checked_frames, (std::vector<std::string>{"MANANA", "TARDE_LARG"}));
  // TARDE_LARGA's period is numbered 1: nothing to report for it either way.
  EXPECT_FALSE(Has(report, FindingKind::kPeriodNotRenumbered, "INTERVALOS", 7));
  EXPECT_TRUE(Has(report, FindingKind::kPeriodNotRenumbered, "INTERVALOS", 2));
}

TEST(ReportFindings, PeriodsOfFramesNotChosenAreNotRenumberingFindings) {
  const std::string only_afternoon = BuildSelection({"MANANA", "TARDE_LARGA"}, {false, true});
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), only_afternoon);
  for (const Finding& f : report.findings) EXPECT_NE(f.kind, FindingKind::kPeriodNotRenumbered) << f.text;
  EXPECT_EQ(report.checked_frames, std::vector<std::string>{"TARDE_LARG"});
}

TEST(ReportFindings, FindingsAreGroupedByListInStepOrder) {
  const ExportReport report = BuildExportReport(ExchangeDocument::Load(kFindingsSample), MananaOnly());
  const std::vector<std::string> order = {"MATERIAS", "TAREAS", "PROFESORES", "AULAS",
                                          "CURSOS",   "GRUPOS", "JORNADAS",   "INTERVALOS"};
  std::size_t last_rank = 0;
  std::size_t last_entry = 0;
  for (const Finding& f : report.findings) {
    const std::size_t rank = static_cast<std::size_t>(std::find(order.begin(), order.end(), f.list) - order.begin());
    ASSERT_LT(rank, order.size()) << f.list;
    ASSERT_GE(rank, last_rank) << f.text;
    if (rank == last_rank) {
      ASSERT_GE(f.entry, last_entry) << f.text;
    }
    last_rank = rank;
    last_entry = f.entry;
  }
}

}  // namespace
}  // namespace enlacor
