// The workspace directory, the case-insensitive lookup of table files and
// the re-creation rule of the export steps.
#include "exchange/timetable_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <set>

#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::HasSubstr;

std::set<std::string> FilesIn(const std::filesystem::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename());
  return names;
}

void Touch(const std::filesystem::path& file) { std::ofstream(file) << "old"; }

// Sets or clears an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Apply(value);
  }
  ~ScopedEnv() { Apply(old_); }

 private:
  void Apply(const std::optional<std::string>& value) {
    if (value) ::setenv(name_, value->c_str(), 1);
    else ::unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

TEST(WorkspaceTest, DefaultDirectoryFollowsTheEnvironment) {
  struct Case {
    std::optional<std::string> workspace, wine_prefix, home;
    std::string expected;
  } const cases[] = {
      {"/srv/horarios", "/opt/wine", "/home/ana", "/srv/horarios"},
      {std::nullopt, "/opt/wine", "/home/ana", "/opt/wine/drive_c/HTEMP"},
      {"", "", "/home/ana", "/home/ana/.wine/drive_c/HTEMP"},  // empty counts as unset
      {std::nullopt, std::nullopt, "/home/ana", "/home/ana/.wine/drive_c/HTEMP"},
  };
  for (const Case& c : cases) {
    ScopedEnv workspace("ENLACOR_WORKSPACE", c.workspace);
    ScopedEnv wine("WINEPREFIX", c.wine_prefix);
    ScopedEnv home("HOME", c.home);
    const Workspace w = Workspace::Default();
    EXPECT_EQ(w.Directory(), c.expected);
    EXPECT_EQ(w.EscoliaFolder(), std::filesystem::path(c.expected) / "escolia");
  }
}

class TimetableTablesTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
  Workspace workspace_{dir_.path()};
};

TEST_F(TimetableTablesTest, TableFilesAreFoundWhateverTheirCase) {
  EXPECT_EQ(workspace_.TableFile("SOLUC"), dir_ / "SOLUC.DBF") << "none yet: the upper-case name";
  for (const char* name : {"soluc.dbf", "Soluc.Dbf", "SOLUC.dbf"}) {
    Touch(dir_ / name);
    EXPECT_EQ(workspace_.TableFile("SOLUC"), dir_ / name);
    std::filesystem::remove(dir_ / name);
  }
  Touch(dir_ / "proft.mdx");
  EXPECT_EQ(workspace_.IndexFile("PROFT"), dir_ / "proft.mdx");
}

TEST_F(TimetableTablesTest, RecreationRemovesOldFilesOfAnyCaseAndWritesUpperCase) {
  Touch(dir_ / "ASIGNOMT.DBF");
  Touch(dir_ / "asignomt.dbf");
  Touch(dir_ / "ASIGNOMT.MDX");
  Touch(dir_ / "asignomt.Mdx");
  Touch(dir_ / "PROFT.MDX");  // an index without its table
  Touch(dir_ / "ASIGNOMT2.DBF");  // another table, left alone
  workspace_.RecreateTable(TableId::kAsignomt);
  workspace_.RecreateTable(TableId::kProft);
  EXPECT_EQ(FilesIn(dir_.path()), (std::set<std::string>{"ASIGNOMT.DBF", "ASIGNOMT2.DBF", "PROFT.DBF"}));
  DbfTable table = workspace_.Open(TableId::kAsignomt, OpenMode::kExclusive);
  EXPECT_EQ(table.RecordCount(), 0);
  for (const ColumnDef& column : SchemaOf(TableId::kAsignomt).columns) EXPECT_TRUE(table.HasColumn(column.name));
}

TEST_F(TimetableTablesTest, HorvanasTableIsNeverRecreatedButOpensWhateverItsCase) {
  DbfTable::Create(dir_ / "soluc.dbf", SchemaOf(TableId::kSoluc).columns);
  {
    DbfTable soluc = DbfTable::Open(dir_ / "soluc.dbf", OpenMode::kShared);
    soluc.Append();
    soluc.SetText("PROF", "P1");
    soluc.SetFloat("DIA", 3);
    soluc.Close();
  }
  for (auto call : {&Workspace::RecreateTable, &Workspace::DeleteTableFiles, &Workspace::CreateTable}) {
    try {
      (workspace_.*call)(TableId::kSoluc);
      ADD_FAILURE() << "SOLUC was touched";
    } catch (const TableError& error) {
      EXPECT_THAT(error.what(), HasSubstr("SOLUC"));
    }
  }
  DbfTable soluc = workspace_.Open(TableId::kSoluc, OpenMode::kExclusive);
  EXPECT_EQ(soluc.Name(), "SOLUC");
  EXPECT_EQ(soluc.GetText("PROF"), "P1");
  EXPECT_EQ(soluc.GetInteger("DIA"), 3);
}

TEST_F(TimetableTablesTest, MissingWorkspaceFailsNamingTheTable) {
  const Workspace missing(dir_ / "no-existe");
  for (auto call : std::initializer_list<std::function<void()>>{
           [&] { missing.RecreateTable(TableId::kGrupost); },
           [&] { missing.Open(TableId::kGrupost, OpenMode::kShared); }}) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const TableError& error) {
      EXPECT_THAT(error.what(), HasSubstr("GRUPOST"));
    }
  }
}

TEST(TableSchemaTest, ExportTablesAreTheEightOfTheExportRunInOrder) {
  std::vector<std::string> names;
  for (TableId id : ExportTables()) {
    EXPECT_EQ(SchemaOf(id).id, id);
    names.push_back(SchemaOf(id).name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT", "CURSOST", "GRUPOST",
                                             "ASIGT", "DIASHORAST"}));
  EXPECT_EQ(std::string(SchemaOf(TableId::kSoluc).name), "SOLUC");
}

}  // namespace
}  // namespace enlacor
