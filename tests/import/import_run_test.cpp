// The import run: the result document's structure, the teacher walk, the
// frame, and the failures that must leave nothing behind.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exchange/exchange_document.h"

#include "import_fixture.h"

namespace enlacor::testing {
namespace {

Row Teacher(const std::string& abbreviation, const std::string& employee, const std::string& since = "01/09/2020") {
  return {{"ABREV", abbreviation}, {"X_EMPLEADO", employee}, {"F_TOMAPOS", since}};
}

Row Session(const std::string& teacher, const std::string& day, const std::string& task) {
  return {{"PROF", teacher}, {"DIA", day}, {"HORA", "1"}, {"TAREA", task}, {"MARCO", "0"}};
}

std::vector<std::string> Attributes(pugi::xml_node parent, const char* child, const char* attribute) {
  std::vector<std::string> values;
  for (pugi::xml_node node : parent.children(child)) values.emplace_back(node.attribute(attribute).value());
  return values;
}

std::vector<std::string> Activities(pugi::xml_node teacher) {
  std::vector<std::string> activities;
  for (pugi::xml_node entry : teacher.children("listasal")) activities.push_back(FieldsOf(entry).at(0).second);
  return activities;
}

TEST_F(ImportFixture, WritesOneTeacherListPerTeacherWithItsSessionsInStoredOrder) {
  WriteTable(workspace, TableId::kProft,
             {Teacher("ANA", "E1", "01/09/2020"), Teacher("O'NE", "NU\xD1" "EZ"), Teacher("SIN", "E3"),
              Teacher("CERO", "E4"), Teacher("ana", "E5")});
  WriteTable(workspace, TableId::kSoluc,
             {Session("ANA", "1", "T1"), Session("O'NE", "2", "Q1"), Session("ANA", "0", "T-CERO"),
              Session("CERO", "0", "C1"), Session("O", "1", "NO"), Session("ANA", "3", "T2"),
              Session("O'NE", "5", "Q2")});

  const pugi::xml_node output = Import();

  const Fields error = FieldsOf(output.child("ERROR"));
  EXPECT_EQ(error, (Fields{{"CN_ERROR", "0"},
                           {"TE_ERROR", "Servicio finalizado Correctamente"},
                           {"REGISTROS RECUPERADOS", "5"}}));
  EXPECT_EQ(Attributes(output, "listasal", "seq"),
            (std::vector<std::string>{"EMP_1", "EMP_2", "EMP_3", "EMP_4", "EMP_5"}));

  const std::vector<pugi::xml_node> teachers(output.children("listasal").begin(), output.children("listasal").end());
  EXPECT_EQ(FieldsOf(teachers[0]), (Fields{{"X_EMPLEADO", "E1"}, {"F_TOMAPOS", "01/09/2020"}}));
  EXPECT_EQ(FieldsOf(teachers[1]).at(0).second, "NU\u00D1EZ");
  EXPECT_EQ(Attributes(teachers[0], "listasal", "seq"), (std::vector<std::string>{"TRAMO_1", "TRAMO_2"}));
  EXPECT_EQ(Activities(teachers[0]), (std::vector<std::string>{"T1", "T2"}));
  EXPECT_EQ(Activities(teachers[1]), (std::vector<std::string>{"Q1", "Q2"}));
  for (std::size_t i = 2; i < teachers.size(); ++i) {
    EXPECT_EQ(FieldsOf(teachers[i]).size(), 2u) << "EMP_" << i + 1;
    EXPECT_FALSE(teachers[i].child("listasal")) << "EMP_" << i + 1;
  }

  const Fields first_session = FieldsOf(teachers[0].child("listasal"));
  ASSERT_EQ(first_session.size(), 6u);
  const std::array<const char*, 6> order = {"X_ACTIVIDAD", "N_DIASEMANA", "X_TRAMO",
                                            "X_DEPCENTRO", "X_MATERIAOMC", "X_UNIDAD"};
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(first_session[i].first, order[i]);

  EXPECT_EQ(summary.teachers, 5u);
  EXPECT_EQ(summary.sessions, 4u);
  EXPECT_EQ(summary.empty_subject, 4u);
  EXPECT_EQ(summary.empty_room, 4u);
  EXPECT_EQ(summary.result_file, ResultFile());
}

TEST_F(ImportFixture, KeepsTheDocumentOutsideTheOutputSectionAndNeverWritesTheInput) {
  WriteFile(ResultFile(), "anterior");
  Import();

  const pugi::xml_node root = result.document_element();
  EXPECT_STREQ(root.attribute("version").value(), "2");
  std::vector<std::string> children;
  for (pugi::xml_node child : root.children()) children.emplace_back(child.name());
  EXPECT_EQ(children, (std::vector<std::string>{"CABECERA", "PIE", "SALIDAS"}));
  EXPECT_STREQ(root.child("CABECERA").child_value("centro"), "IES Prueba");

  const pugi::xml_node output = root.child("SALIDAS");
  EXPECT_FALSE(output.find_child_by_attribute("listasal", "seq", "MATERIAS"));
  EXPECT_EQ(FieldsOf(output.child("ERROR")).back(), (std::pair<std::string, std::string>{"REGISTROS RECUPERADOS", "0"}));
  EXPECT_FALSE(output.child("listasal"));
  EXPECT_EQ(ReadFile(document), kCarrierDocument);
}

TEST_F(ImportFixture, AFinishedRunEndsWithTheFrameAndLeavesTheTablesFree) {
  host.documents.push_back(document);
  ImportRun run(host, state, workspace);
  run.BImportarClick();

  EXPECT_EQ(state.RunStatus, 1);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"Proceso finalizado"}));
  EXPECT_TRUE(host.buttons_disabled);
  EXPECT_EQ(host.busy_calls, 1);
  EXPECT_EQ(host.restore_calls, 1);
  EXPECT_TRUE(std::filesystem::exists(ResultFile()));
  for (int id = 0; id < 9; ++id) {
    EXPECT_NO_THROW(workspace.Open(static_cast<TableId>(id), OpenMode::kExclusive)) << SchemaOf(TableId(id)).name;
  }
}

// --- Failures: an error naming the culprit, nothing saved ---

struct FailureCase {
  const char* name;
  void (*arrange)(ImportFixture&);
  const char* named;  // text the error must name
};

class ImportFailure : public ImportFixture, public ::testing::WithParamInterface<FailureCase> {};

void RemoveTable(const Workspace& workspace, TableId id) { std::filesystem::remove(workspace.TableFile(SchemaOf(id).name)); }

std::vector<NativeField> SolucFieldsWithout(const std::string& missing) {
  std::vector<NativeField> fields;
  for (const char* name : {"ASIG", "PROF", "CODGRUPO", "AULA", "TAREA", "MARCO"}) {
    if (missing != name) fields.push_back({name, 'C', 10});
  }
  for (const char* name : {"DIA", "HORA"}) {
    if (missing != name) fields.push_back({name, 'N', 4});
  }
  return fields;
}

template <TableId kId>
void Remove(ImportFixture& f) { RemoveTable(f.workspace, kId); }

template <const char* kField>
void SolucWithout(ImportFixture& f) {
  RemoveTable(f.workspace, TableId::kSoluc);
  WriteNativeTable(f.workspace.Directory() / "SOLUC.DBF", SolucFieldsWithout(kField), {});
}

void Damage(ImportFixture& f, TableId id) { WriteFile(f.workspace.TableFile(SchemaOf(id).name), "no es una tabla"); }
void DamagedProft(ImportFixture& f) { Damage(f, TableId::kProft); }
void NotXml(ImportFixture& f) { WriteFile(f.document, "<SERVICIO><SALIDAS></SERVICIO>"); }
void NoOutputSection(ImportFixture& f) { WriteFile(f.document, "<SERVICIO><CABECERA/></SERVICIO>"); }
void MissingGrupostAndAsigt(ImportFixture& f) {
  RemoveTable(f.workspace, TableId::kAsigt);
  RemoveTable(f.workspace, TableId::kGrupost);
}

constexpr char kPROF[] = "PROF", kDIA[] = "DIA", kHORA[] = "HORA", kASIG[] = "ASIG", kCODGRUPO[] = "CODGRUPO",
               kTAREA[] = "TAREA", kAULA[] = "AULA", kMARCO[] = "MARCO";

const FailureCase kFailures[] = {
    {"SolucMissing", Remove<TableId::kSoluc>, "SOLUC"},
    {"GrupostMissing", Remove<TableId::kGrupost>, "GRUPOST"},
    {"CursostMissing", Remove<TableId::kCursost>, "CURSOST"},
    {"ProftMissing", Remove<TableId::kProft>, "PROFT"},
    {"AulatMissing", Remove<TableId::kAulat>, "AULAT"},
    {"AsignomtMissing", Remove<TableId::kAsignomt>, "ASIGNOMT"},
    {"Asignomt2Missing", Remove<TableId::kAsignomt2>, "ASIGNOMT2"},
    {"DiashorastMissing", Remove<TableId::kDiashorast>, "DIASHORAST"},
    {"AsigtMissing", Remove<TableId::kAsigt>, "ASIGT"},
    {"OpensGrupostBeforeAsigt", MissingGrupostAndAsigt, "GRUPOST"},
    {"ProftDamaged", DamagedProft, "PROFT"},
    {"SolucWithoutProf", SolucWithout<kPROF>, "PROF"},
    {"SolucWithoutDia", SolucWithout<kDIA>, "DIA"},
    {"SolucWithoutHora", SolucWithout<kHORA>, "HORA"},
    {"SolucWithoutAsig", SolucWithout<kASIG>, "ASIG"},
    {"SolucWithoutCodgrupo", SolucWithout<kCODGRUPO>, "CODGRUPO"},
    {"SolucWithoutTarea", SolucWithout<kTAREA>, "TAREA"},
    {"SolucWithoutAula", SolucWithout<kAULA>, "AULA"},
    {"SolucWithoutMarco", SolucWithout<kMARCO>, "MARCO"},
    {"DocumentNotXml", NotXml, "centro.xml"},
    {"DocumentWithoutOutputSection", NoOutputSection, "centro.xml"},
};

TEST_P(ImportFailure, StopsWithAnErrorNamingItAndSavesNothing) {
  const FailureCase& failure = GetParam();
  WriteFile(ResultFile(), "resultado anterior");
  failure.arrange(*this);
  const std::string input = ReadFile(document);
  host.documents.push_back(document);
  ImportRun run(host, state, workspace);

  try {
    run.BImportarClick();
    FAIL() << "the run did not stop";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(failure.named), std::string::npos) << error.what();
  }
  EXPECT_EQ(ReadFile(ResultFile()), "resultado anterior");
  EXPECT_EQ(ReadFile(document), input);
  EXPECT_EQ(state.RunStatus, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.buttons_disabled);
  EXPECT_EQ(run.Summary().result_file, std::filesystem::path());
  for (int id = 0; id < 9; ++id) {  // nothing stays locked against Horvana
    const TableId table = static_cast<TableId>(id);
    const bool unusable = !std::filesystem::exists(workspace.TableFile(SchemaOf(table).name)) ||
                          (failure.arrange == DamagedProft && table == TableId::kProft);
    if (!unusable) {
      EXPECT_NO_THROW(workspace.Open(table, OpenMode::kExclusive)) << SchemaOf(table).name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportFixture, ATableHeldByAnotherTableObjectStopsTheRun) {
  for (TableId held : {TableId::kSoluc, TableId::kAsigt}) {
    DbfTable holder = workspace.Open(held, OpenMode::kExclusive);
    ImportRun run(host, state, workspace);
    try {
      run.Import(document);
      ADD_FAILURE() << SchemaOf(held).name << " held, yet the run went on";
    } catch (const TableError& error) {
      EXPECT_NE(std::string(error.what()).find(SchemaOf(held).name), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(ResultFile()));
  }
}

TEST_F(ImportFixture, ASaveThatFailsNamesTheResultAndLeavesTheTablesFree) {
  std::filesystem::create_directory(ResultFile());  // the result cannot replace a directory
  ImportRun run(host, state, workspace);
  try {
    run.Import(document);
    FAIL() << "the save did not fail";
  } catch (const DocumentError& error) {
    EXPECT_NE(std::string(error.what()).find("ResultadoHorvanacentro.xml"), std::string::npos) << error.what();
  }
  EXPECT_NO_THROW(workspace.Open(TableId::kSoluc, OpenMode::kExclusive));
  EXPECT_EQ(ReadFile(document), kCarrierDocument);
}

}  // namespace
}  // namespace enlacor::testing
