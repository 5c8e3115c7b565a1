// An independent reader, GDAL's ogrinfo, opens the tables the engine writes:
// the columns of all nine tables with their types and widths, and values,
// accented windows-1252 text included.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <regex>
#include <sstream>

#include "exchange/timetable_tables.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

bool OgrinfoAvailable() { return std::system("command -v ogrinfo >/dev/null 2>&1") == 0; }

std::string Ogrinfo(const std::string& arguments, const std::filesystem::path& file) {
  const std::string command = "ogrinfo -ro " + arguments + " '" + file.string() + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string output;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

// "NOMBRE: String (80.0)" lines as "NOMBRE C80"; integers as "I", floats as
// "F", booleans as "L".
std::vector<std::string> ColumnsSeenByOgrinfo(const std::string& summary) {
  static const std::regex line(R"(^(\w+): (\w+(?:\(\w+\))?) \((\d+)\.(\d+)\)$)");
  std::vector<std::string> columns;
  std::istringstream in(summary);
  for (std::string text; std::getline(in, text);) {
    std::smatch m;
    if (!std::regex_match(text, m, line)) continue;
    const std::string type = m[2], width = m[3], decimals = m[4];
    std::string kind;
    if (type == "Integer(Boolean)") kind = "L";
    else if (type == "String") kind = "C" + width;
    else if ((type == "Integer" || type == "Integer64") && decimals == "0") kind = "I";
    else if (type == "Real") kind = "F";
    else kind = "?" + type;
    columns.push_back(std::string(m[1]) + " " + kind);
  }
  return columns;
}

// The nine tables as an outside reader must see them.
const std::pair<TableId, std::vector<std::string>> kExpected[] = {
    {TableId::kAsignomt, {"COD C10", "CODLARGO C10", "NOMBRE C80", "MATERIA C8", "CODTAREA C10", "ESTAREA L"}},
    {TableId::kAsignomt2,
     {"COD C10", "CODLARGO C10", "NOMBRE C40", "MATERIA C8", "CLAVECURSO C12", "ALECTIVA C1"}},
    {TableId::kProft,
     {"ABREV C10", "NOMBRE C80", "DEPART C40", "DNI I", "X_EMPLEADO C10", "F_TOMAPOS C10", "EMAIL C100"}},
    {TableId::kAulat, {"ABREV C10", "NOMBRE C80", "EDIFICIO C1", "MAXALUM I", "DEPCENTRO C10"}},
    {TableId::kCursost, {"ABREV C3", "TURNO C1", "NIVEL C5", "CURSO C3", "CLAVE C12", "DESCRICUR C80"}},
    {TableId::kGrupost,
     {"ABREV C10", "TURNO C1", "NIVEL C5", "CURSO C3", "GRUPO C2", "DESCRIP C80", "MARCO C1", "CLAVE C10",
      "CLAVECURSO C12"}},
    {TableId::kAsigt,
     {"CASIG C10", "CPROF C10", "CGRUP C10", "CAULA C10", "TURNO C1", "NIVEL C5", "CURSO C3", "GRUPO C2",
      "HORAS F", "SESIONES C20", "NCONEX C4", "CLAVE C10", "CLAVECURSO C12", "CTAREA C10"}},
    {TableId::kDiashorast,
     {"DIHO C10", "CODDIHO C10", "DIA C20", "TEXTODIA C20", "HORA C8", "TEXTOHOR C15", "HORADESDE C8",
      "HORAHASTA C8", "MINUTOS C8", "MARCO C1", "MARCOXML C10"}},
    {TableId::kSoluc,
     {"ASIG C4", "PROF C4", "CODGRUPO C4", "TURNO C1", "NIVEL C5", "CURSO C3", "GRUPO C1", "AULA C4",
      "TAREA C4", "DIA F", "HORA F", "SESIONES F", "MARCO C1"}},
};

class DbfOgrinfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OgrinfoAvailable()) GTEST_SKIP() << "ogrinfo (Debian package gdal-bin) is not installed";
  }

  std::filesystem::path Create(TableId id) {
    const std::filesystem::path file = dir_ / (std::string(SchemaOf(id).name) + ".DBF");
    DbfTable::Create(file, SchemaOf(id).columns);
    return file;
  }

  testing::TempDir dir_;
};

TEST_F(DbfOgrinfoTest, AllNineTablesShowTheirColumnsTypesAndWidths) {
  for (const auto& [id, expected] : kExpected) {
    SCOPED_TRACE(SchemaOf(id).name);
    const std::string summary = Ogrinfo("-al -so", Create(id));
    EXPECT_THAT(summary, HasSubstr("Feature Count: 0"));
    std::vector<std::string> seen = ColumnsSeenByOgrinfo(summary);
    // GDAL before 3.7 shows a dBase L column as a one-character string.
    for (std::string& column : seen)
      if (column == "ESTAREA C1") column = "ESTAREA L";
    EXPECT_EQ(seen, expected) << summary;
  }
}

TEST_F(DbfOgrinfoTest, ValuesReadBackWithTheirCodePageAndTheUpdateDate) {
  const std::filesystem::path proft = Create(TableId::kProft);
  const std::filesystem::path asigt = Create(TableId::kAsigt);
  const std::filesystem::path asignomt = Create(TableId::kAsignomt);
  {
    DbfTable table = DbfTable::Open(proft, OpenMode::kShared);
    table.Append();
    table.SetText("ABREV", "MPE");
    table.SetText("NOMBRE", "Jos\xE9 Mu\xF1oz Pe\xF1" "a");  // windows-1252
    table.SetText("X_EMPLEADO", "1234");
    table.Append();
    table.SetText("ABREV", "O'N");
    table.Close();
    table = DbfTable::Open(asigt, OpenMode::kShared);
    table.Append();
    table.SetText("CASIG", "MAT");
    table.SetFloat("HORAS", 2.5);
    table.Close();
    table = DbfTable::Open(asignomt, OpenMode::kShared);
    table.Append();
    table.SetBoolean("ESTAREA", true);
    table.Close();
  }
  const std::string teachers = Ogrinfo("-al", proft);
  EXPECT_THAT(teachers, HasSubstr("Feature Count: 2"));
  EXPECT_THAT(teachers, HasSubstr("NOMBRE (String) = Jos\u00e9 Mu\u00f1oz Pe\u00f1a"));
  EXPECT_THAT(teachers, HasSubstr("X_EMPLEADO (String) = 1234"));
  EXPECT_THAT(teachers, HasSubstr("ABREV (String) = O'N"));
  EXPECT_THAT(teachers, ContainsRegex(R"(DNI \(Integer(64)?\) = \(null\))"));

  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &today);
  EXPECT_THAT(teachers, HasSubstr(std::string("DBF_DATE_LAST_UPDATE=") + date));

  EXPECT_THAT(Ogrinfo("-al", asigt), HasSubstr("HORAS (Real) = 2.5"));
  EXPECT_THAT(Ogrinfo("-al", asignomt), ContainsRegex(R"(ESTAREA \((String\) = T|Integer\(Boolean\)\) = 1))"));
}

}  // namespace
}  // namespace enlacor
