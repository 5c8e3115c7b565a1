// Two readers that share no code with the table engine, GDAL's ogrinfo and
// Debian's dbview, open every table of an export of the sample school: they
// must count the same rows and read the same text, accents included, as the
// engine gives back.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/shared_state.h"
#include "exchange/text_codec.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"
#include "export/frame_selection.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "escuela-ejemplo.xml";

bool Available(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string output;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A table as the engine gives it back: the text columns of every row, UTF-8.
struct EngineTable {
  std::vector<std::string> text_columns;
  std::vector<std::map<std::string, std::string>> rows;
};

EngineTable ReadWithEngine(const Workspace& workspace, TableId id) {
  EngineTable table;
  for (const ColumnDef& column : SchemaOf(id).columns) {
    if (column.type == ColumnType::kText) table.text_columns.push_back(column.name);
  }
  DbfTable dbf = workspace.Open(id, OpenMode::kShared);
  for (dbf.First(); !dbf.Eof(); dbf.Next()) {
    std::map<std::string, std::string> row;
    for (const std::string& column : table.text_columns) row[column] = FromTableText(dbf.GetText(column));
    table.rows.push_back(std::move(row));
  }
  return table;
}

// The sample school exported with the frames MANANA and TARDE.
class IndependentReadersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    workspace_dir_ = new testing::TempDir();
    const ExchangeDocument document = ExchangeDocument::Load(kSample);
    std::vector<std::string> items;
    std::vector<bool> selected;
    for (const Entry& entry : document.SelectEntries("JORNADAS")) {
      items.push_back(entry.FieldAt(0)->Text());
      selected.push_back(Trim(items.back()) == "MANANA" || Trim(items.back()) == "TARDE");
    }
    testing::RecordingHost host;
    host.documents.push_back(kSample);
    host.frame_answers.push_back(FrameDialogResult{true, BuildSelection(items, selected)});
    SharedState state;
    ExportRun run(host, state, Workspace(workspace_dir_->path()));
    run.BExportarClick();
  }
  static void TearDownTestSuite() {
    delete workspace_dir_;
    workspace_dir_ = nullptr;
  }

  static Workspace Tables() { return Workspace(workspace_dir_->path()); }
  static std::string File(TableId id) { return Tables().TableFile(SchemaOf(id).name).string(); }

  // Checks one reader's rows against the engine's, table by table, and that
  // an accented value came through.
  static void ExpectSameRows(TableId id, const std::vector<std::map<std::string, std::string>>& seen,
                             const char* reader) {
    const EngineTable engine = ReadWithEngine(Tables(), id);
    ASSERT_EQ(seen.size(), engine.rows.size()) << reader << " " << SchemaOf(id).name;
    ASSERT_FALSE(engine.rows.empty()) << SchemaOf(id).name;
    for (std::size_t r = 0; r < engine.rows.size(); ++r) {
      for (const std::string& column : engine.text_columns) {
        const auto found = seen[r].find(column);
        ASSERT_NE(found, seen[r].end()) << reader << " " << SchemaOf(id).name << " lacks " << column;
        EXPECT_EQ(found->second, engine.rows[r].at(column))
            << reader << " " << SchemaOf(id).name << " row " << r << " column " << column;
      }
    }
  }

  static testing::TempDir* workspace_dir_;
};

testing::TempDir* IndependentReadersTest::workspace_dir_ = nullptr;

// "  NOMBRE (String) = García" lines of `ogrinfo -al -q`, per feature.
std::vector<std::map<std::string, std::string>> ReadWithOgrinfo(const std::string& file) {
  std::vector<std::map<std::string, std::string>> rows;
  for (const std::string& line : Lines(Output("ogrinfo -ro -al -q '" + file + "' 2>&1"))) {
    if (line.rfind("OGRFeature(", 0) == 0) {
      rows.emplace_back();
      continue;
    }
    const std::size_t type = line.find(" (");
    const std::size_t equals = line.find(") = ");
    if (rows.empty() || line.rfind("  ", 0) != 0 || type == std::string::npos || equals == std::string::npos) continue;
    const std::string value = line.substr(equals + 4);
    rows.back()[line.substr(2, type - 2)] = value == "(null)" ? "" : value;
  }
  return rows;
}

// `dbview -b -t -d '|'`: one line per record, fields in column order,
// windows-1252 bytes.
std::vector<std::map<std::string, std::string>> ReadWithDbview(const std::string& file, TableId id) {
  std::vector<std::map<std::string, std::string>> rows;
  const auto columns = SchemaOf(id).columns;
  for (const std::string& line : Lines(Output("dbview -b -t -d '|' '" + file + "' 2>&1"))) {
    std::map<std::string, std::string> row;
    std::size_t start = 0;
    for (const ColumnDef& column : columns) {
      const std::size_t end = line.find('|', start);
      row[column.name] = FromTableText(Trim(line.substr(start, end - start)));
      start = end == std::string::npos ? line.size() : end + 1;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TEST_F(IndependentReadersTest, OgrinfoReadsEveryTableAsTheEngineWroteIt) {
  if (!Available("ogrinfo")) GTEST_SKIP() << "ogrinfo (gdal-bin) no está instalado";
  for (TableId id : ExportTables()) ExpectSameRows(id, ReadWithOgrinfo(File(id)), "ogrinfo");
  const auto teachers = ReadWithOgrinfo(File(TableId::kProft));
  ASSERT_FALSE(teachers.empty());
  EXPECT_EQ(teachers.front().at("NOMBRE"), "García López, María José");
}

TEST_F(IndependentReadersTest, DbviewReadsEveryTableAsTheEngineWroteIt) {
  if (!Available("dbview")) GTEST_SKIP() << "dbview no está instalado";
  for (TableId id : ExportTables()) {
    const std::string info = Output("dbview -i -o '" + File(id) + "' 2>&1");
    EXPECT_NE(info.find("Number of recs: " + std::to_string(ReadWithEngine(Tables(), id).rows.size()) + "\n"),
              std::string::npos)
        << SchemaOf(id).name << "\n" << info;
    ExpectSameRows(id, ReadWithDbview(File(id), id), "dbview");
  }
  const auto teachers = ReadWithDbview(File(TableId::kProft), TableId::kProft);
  ASSERT_FALSE(teachers.empty());
  EXPECT_EQ(teachers.front().at("NOMBRE"), "García López, María José");
}

}  // namespace
}  // namespace enlacor
