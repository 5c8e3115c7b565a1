// Re-creating a table that another holder has open: the file must not be
// deleted under the holder (the system would allow it); the re-creation
// stops with an error naming the table and the holder's file stays.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exchange/dbf_table.h"
#include "exchange/timetable_tables.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ino_t InodeOf(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(FaultHeldTable, RecreationStopsAndKeepsTheHoldersFile) {
  for (const OpenMode mode : {OpenMode::kShared, OpenMode::kExclusive}) {
    testing::TempDir dir;
    const Workspace workspace(dir.path());
    workspace.RecreateTable(TableId::kProft);
    {
      DbfTable proft = workspace.Open(TableId::kProft, OpenMode::kShared);
      proft.Append();
      proft.SetText("ABREV", "GARC");
      proft.Post();
    }
    const fs::path file = workspace.TableFile("PROFT");
    const std::string before = Bytes(file);
    const ino_t inode = InodeOf(file);

    DbfTable holder = workspace.Open(TableId::kProft, mode);
    try {
      workspace.RecreateTable(TableId::kProft);
      ADD_FAILURE() << "a held table was re-created";
    } catch (const TableError& e) {
      EXPECT_NE(std::string(e.what()).find("PROFT"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("en uso"), std::string::npos) << e.what();
    }
    EXPECT_EQ(InodeOf(file), inode);
    EXPECT_EQ(Bytes(file), before);
    EXPECT_EQ(holder.GetText("ABREV"), "GARC");

    holder.Close();
    workspace.RecreateTable(TableId::kProft);
    EXPECT_EQ(workspace.Open(TableId::kProft, OpenMode::kShared).RecordCount(), 0);
  }
}

}  // namespace
}  // namespace enlacor
