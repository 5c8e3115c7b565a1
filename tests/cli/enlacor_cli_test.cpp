// enlacor-cli end to end, through the built binary.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "exchange/timetable_tables.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kSample = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "escuela-ejemplo.xml";

using Result = testing::ProgramResult;
using testing::ReadFile;

class EnlacorCliTest : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args) {
    return testing::RunProgram(testing::EnlacorCli(), args, scratch_.path());
  }

  std::vector<std::string> Export(std::vector<std::string> more) {
    std::vector<std::string> args{"export", kSample.string(), "--workspace", workspace_.path().string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  bool WorkspaceIsEmpty() const { return fs::is_empty(workspace_.path()); }

  TempDir scratch_;
  TempDir workspace_;
};

TEST_F(EnlacorCliTest, BadUsageExitsWithTwo) {
  const std::vector<std::vector<std::string>> cases{
      {},
      {"export"},
      {"transformar", kSample.string()},
      {"export", kSample.string(), "--desconocida"},
      {"import", kSample.string(), "--frames", "MANANA"},
      {"export", kSample.string(), "otro.xml"},
  };
  for (const auto& args : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_TRUE(WorkspaceIsEmpty());
}

TEST_F(EnlacorCliTest, HelpExitsWithZero) {
  const Result r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("export"), std::string::npos);
  EXPECT_NE(r.out.find("import"), std::string::npos);
}

TEST_F(EnlacorCliTest, MissingDocumentExitsWithThree) {
  for (const char* command : {"export", "import"}) {
    for (const fs::path& document : {workspace_ / "falta.xml", scratch_.path()}) {
      const Result r = Run({command, document.string(), "--workspace", workspace_.path().string()});
      EXPECT_EQ(r.status, 3) << command << " " << document;
      EXPECT_NE(r.err.find("No existe archivo"), std::string::npos) << r.err;
    }
  }
  EXPECT_TRUE(WorkspaceIsEmpty());
}

TEST_F(EnlacorCliTest, UnreadableDocumentFailsBeforeTheWorkspace) {
  const fs::path broken = scratch_ / "roto.xml";
  std::ofstream(broken) << "<SERVICIO><SALIDAS></SERVICIO>";
  const Result r = Run({"export", broken.string(), "--workspace", workspace_.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("roto.xml"), std::string::npos) << r.err;
  EXPECT_TRUE(WorkspaceIsEmpty());
}

TEST_F(EnlacorCliTest, FramesThatDoNotFitStopBeforeTheWorkspace) {
  for (const auto& frames : std::vector<std::vector<std::string>>{
           {}, {"--frames", "NOCHE"}, {"--frames", "MANANA,TARDE,MANANA"}, {"--frames", "manana"}}) {
    const Result r = Run(Export(frames));
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(frames);
    EXPECT_NE(r.err.find("MANANA  Jornada de mañana"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("TARDE  Jornada de tarde"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(WorkspaceIsEmpty());
}

TEST_F(EnlacorCliTest, MissingWorkspaceIsNotCreated) {
  const fs::path missing = workspace_ / "falta";
  const Result r = Run({"export", kSample.string(), "--workspace", missing.string(), "--frames", "MANANA"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(missing.string()), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(EnlacorCliTest, ExportWritesTheEightTables) {
  const Result r = Run(Export({"--frames", "MANANA,TARDE"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Proceso finalizado"), std::string::npos);
  EXPECT_NE(r.out.find(workspace_.path().string()), std::string::npos) << r.out;
  std::set<std::string> written;
  for (const auto& file : fs::directory_iterator(workspace_.path())) written.insert(file.path().filename());
  EXPECT_EQ(written, (std::set<std::string>{"ASIGNOMT.DBF", "ASIGNOMT2.DBF", "PROFT.DBF", "AULAT.DBF",
                                            "CURSOST.DBF", "GRUPOST.DBF", "ASIGT.DBF", "DIASHORAST.DBF"}));
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(EnlacorCliTest, ImportWithoutTablesFails) {
  const fs::path document = scratch_ / "escuela.xml";
  fs::copy_file(kSample, document);
  const Result r = Run({"import", document.string(), "--workspace", workspace_.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
  EXPECT_FALSE(fs::exists(scratch_ / "ResultadoHorvanaescuela.xml"));
}

// Horvana's part of the round trip, reduced to one session of the first
// teacher and one row without a weekday. Horvana writes its codes whole, so
// the code columns are as wide as the short codes.
void WriteSolution(const Workspace& workspace) {
  auto first = [&](TableId id, const char* column) {
    DbfTable table = workspace.Open(id, OpenMode::kShared);
    table.First();
    return table.GetText(column);
  };
  const std::string teacher = first(TableId::kProft, "ABREV");
  const std::string subject = first(TableId::kAsigt, "CASIG");
  const std::string group = first(TableId::kAsigt, "CGRUP");
  const std::string room = first(TableId::kAulat, "ABREV");
  constexpr ColumnType T = ColumnType::kText;
  constexpr ColumnType F = ColumnType::kFloat;
  constexpr ColumnDef kColumns[] = {{"ASIG", T, 10}, {"PROF", T, 10}, {"CODGRUPO", T, 10},
                                    {"AULA", T, 10}, {"TAREA", T, 10}, {"DIA", F},
                                    {"HORA", F},     {"MARCO", T, 1}};
  DbfTable::Create(workspace.TableFile("SOLUC"), kColumns);
  DbfTable soluc = workspace.Open(TableId::kSoluc, OpenMode::kExclusive);
  for (int day : {1, 0}) {
    soluc.Append();
    soluc.SetText("PROF", teacher);
    soluc.SetText("ASIG", subject);
    soluc.SetText("CODGRUPO", group);
    soluc.SetText("AULA", room);
    soluc.SetFloat("DIA", day);
    soluc.SetFloat("HORA", 1);
    soluc.SetText("MARCO", "0");
    soluc.Post();
  }
}

TEST_F(EnlacorCliTest, ImportPrintsItsSummary) {
  ASSERT_EQ(Run(Export({"--frames", "MANANA,TARDE"})).status, 0);
  WriteSolution(Workspace(workspace_.path()));
  const fs::path document = scratch_ / "escuela.xml";
  fs::copy_file(kSample, document);

  const Result r = Run({"import", document.string(), "--workspace", workspace_.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path result = scratch_ / "ResultadoHorvanaescuela.xml";
  EXPECT_TRUE(fs::exists(result));
  EXPECT_LT(r.out.find("Proceso finalizado"), r.out.find("Profesores: 20"));
  for (const std::string& line : {std::string("Sesiones escritas: 1\n"),
                                  std::string("Sesiones con X_MATERIAOMC vacío: 0\n"),
                                  std::string("Sesiones con X_UNIDAD vacío: 0\n"),
                                  std::string("Sesiones con N_DIASEMANA o X_TRAMO vacío: 0\n"),
                                  std::string("Sesiones con X_DEPCENTRO vacío: 0\n"),
                                  "Documento resultado: " + result.string() + "\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
  EXPECT_EQ(ReadFile(document), ReadFile(kSample));
}

}  // namespace
}  // namespace enlacor
