// enlacor-cli check end to end, through the built binary: exit statuses,
// the two output forms, and no file written anywhere.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kSample = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "escuela-ejemplo.xml";
const fs::path kFindings = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "hallazgos.xml";

using Result = testing::ProgramResult;
using testing::ReadFile;

std::string Document(const std::string& materias, const std::string& intervalos) {
  return "<SERVICIO><SALIDAS>"
         "<listasal seq=\"MATERIAS\">" + materias + "</listasal>"
         "<listasal seq=\"CURSOS\"><listasal><salida>C1</salida><salida>1º ESO</salida><salida/>"
         "<salida>ESO</salida><salida>1</salida></listasal></listasal>"
         "<listasal seq=\"GRUPOS\"><listasal><salida>G1</salida><salida>1A</salida><salida>C1</salida></listasal></listasal>"
         "<listasal seq=\"JORNADAS\"><listasal><salida>M</salida><salida>Mañana</salida></listasal></listasal>"
         "<listasal seq=\"INTERVALOS\">" + intervalos + "</listasal>"
         "</SALIDAS></SERVICIO>";
}

std::string Subject(const std::string& long_code, const std::string& minutes) {
  return "<listasal><salida>M1</salida><salida>Matemáticas</salida><salida>" + long_code +
         "</salida><salida>C1</salida><salida>" + minutes + "</salida></listasal>";
}

std::string Period(const std::string& order) {
  return "<listasal><salida dato=\"CODIGO_ESCOLIA\">P1</salida><salida dato=\"NOMBRE\">1ª</salida>"
         "<salida dato=\"INICIO\">8:00</salida><salida dato=\"FIN\">8:55</salida>"
         "<salida dato=\"ORDEN\">" + order + "</salida><salida dato=\"CLAVE_JORNADA\">M</salida></listasal>";
}

class CheckCliTest : public ::testing::Test {
 protected:
  // Runs enlacor-cli with ENLACOR_WORKSPACE pointing at an empty directory,
  // from another empty directory, so that any file written shows.
  Result Run(const std::vector<std::string>& args) {
    const std::string command = "cd " + testing::ShellQuote(cwd_.path().string()) +
                                " && ENLACOR_WORKSPACE=" + testing::ShellQuote(workspace_.path().string()) +
                                " " + testing::EnlacorCli();
    return testing::RunProgram(command, args, scratch_.path());
  }

  fs::path Write(const std::string& name, const std::string& text) {
    const fs::path file = documents_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  void ExpectNothingWritten() {
    EXPECT_TRUE(fs::is_empty(workspace_.path()));
    EXPECT_TRUE(fs::is_empty(cwd_.path()));
  }

  TempDir scratch_;
  TempDir workspace_;
  TempDir cwd_;
  TempDir documents_;
};

TEST_F(CheckCliTest, ExitStatusTellsWhatTheExportWouldDo) {
  struct Case {
    const char* name;
    std::string document;
    int status;
    const char* verdict;
  };
  const std::vector<Case> cases = {
      {"limpio", Document(Subject("MAT", "240"), Period("1")), 0, "no pierde ni cambia ningún dato"},
      {"avisos", Document(Subject("MATEMATICAS_1ESO", "240"), Period("01")), 4, "cambia o pierde"},
      {"error", Document(Subject("MAT", "1h30"), Period("1")), 1, "se detendría"},
  };
  for (const Case& c : cases) {
    const Result r = Run({"check", Write(std::string(c.name) + ".xml", c.document).string()});
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.out << r.err;
    EXPECT_NE(r.out.find(c.verdict), std::string::npos) << c.name << "\n" << r.out;
  }
  ExpectNothingWritten();
}

TEST_F(CheckCliTest, TextShowsEachFindingUnderItsListWithItsHeading) {
  const Result r = Run({"check", kFindings.string(), "--frames", "MANANA"});
  EXPECT_EQ(r.status, 1) << r.err;
  const std::vector<std::string> lines = {
      "\nMATERIAS\n",
      "  [Entrada omitida] entrada 1: ",
      "  [Código corto cambiado] entrada 2: ASIGNOMT.COD: base \"MATEMATICAS_1ESO\", código \"MATEMATICA\"\n",
      "  [Error] entrada 6: ",
      "\nINTERVALOS\n",
      "  [Periodo sin renumerar] entrada 2: marco \"MANANA\"",
      "Marcos horarios revisados: \"MANANA\"\n",
  };
  for (const std::string& line : lines) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  ExpectNothingWritten();
}

TEST_F(CheckCliTest, WithoutFramesEveryFrameIsCheckedAndSaidSo) {
  const Result r = Run({"check", kSample.string()});
  EXPECT_NE(r.out.find("Sin --frames"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"MANANA\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"TARDE\""), std::string::npos) << r.out;
  ExpectNothingWritten();
}

TEST_F(CheckCliTest, JsonHoldsTheSameFindingsForScripts) {
  const Result text = Run({"check", kFindings.string(), "--frames", "MANANA"});
  const Result r = Run({"check", kFindings.string(), "--frames", "MANANA", "--json"});
  EXPECT_EQ(r.status, 1) << r.err;
  const std::string& json = r.out;
  ASSERT_FALSE(json.empty());
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json[json.find_last_not_of('\n')], '}');
  const std::vector<std::string> parts = {
      "\"marcos_revisados\": [\"MANANA\"]",
      "\"todos_los_marcos\": false",
      "\"errores\": 1,",
      "{\"tipo\": \"entrada_omitida\", \"gravedad\": \"aviso\", \"lista\": \"MATERIAS\", \"entrada\": 1, ",
      "{\"tipo\": \"valor_bloqueante\", \"gravedad\": \"error\", \"lista\": \"MATERIAS\", \"entrada\": 6, ",
      "\"valores\": {\"tabla\": \"ASIGNOMT.COD\", \"base\": \"MATEMATICAS_1ESO\", \"codigo\": \"MATEMATICA\"}",
      "\"caracteres\": \"∑\"",
      // Quotes inside a text are escaped.
      "\"texto\": \"campo 2 \\\"MATEMATICAS_1ESO\\\" en ",
  };
  for (const std::string& part : parts) EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
  // One object per finding: as many as the text has finding lines.
  std::size_t objects = 0;
  for (std::size_t at = json.find("{\"tipo\""); at != std::string::npos; at = json.find("{\"tipo\"", at + 1)) ++objects;
  std::size_t lines = 0;
  for (std::size_t at = text.out.find("\n  ["); at != std::string::npos; at = text.out.find("\n  [", at + 1)) ++lines;
  EXPECT_EQ(objects, lines);
  // No raw control character is left inside the JSON text.
  for (char c : json) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
  ExpectNothingWritten();
}

TEST_F(CheckCliTest, UsageAndMissingDocumentAsTheOtherSubcommands) {
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const std::vector<Case> cases = {
      {{"check"}, 2},
      {{"check", kSample.string(), "--frames", "NOCHE"}, 2},
      {{"check", kSample.string(), "--workspace", "/tmp"}, 2},
      {{"check", (documents_ / "no-existe.xml").string()}, 3},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args) << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  ExpectNothingWritten();
}

TEST_F(CheckCliTest, DocumentThatCannotBeReadFailsWithOne) {
  const Result r = Run({"check", Write("roto.xml", "<SERVICIO><SALIDAS>").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("roto.xml"), std::string::npos) << r.err;
  ExpectNothingWritten();
}

}  // namespace
}  // namespace enlacor
