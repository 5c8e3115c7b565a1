// Shared and exclusive opening against a second table object and against a
// second process: a conflict is a TableError naming the table, and the
// table is usable again once the holder lets go.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exchange/dbf_table.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr ColumnDef kColumns[] = {{"NOM", ColumnType::kText, 10}};

class DbfLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DbfTable::Create(file_, kColumns);
    DbfTable table = DbfTable::Open(file_, OpenMode::kShared);
    table.Append();
    table.SetText("NOM", "uno");
    table.Close();
  }

  // "" when the table opens, else the error message.
  std::string TryOpen(OpenMode mode) {
    try {
      DbfTable::Open(file_, mode);
    } catch (const TableError& error) {
      return error.what();
    }
    return "";
  }

  testing::TempDir dir_;
  std::filesystem::path file_ = dir_ / "PROFT.DBF";
};

struct Pairing {
  OpenMode holder, second;
  bool conflict;
};

TEST_F(DbfLockTest, SecondTableObjectConflictsOnlyWhereOneIsExclusive) {
  const Pairing pairings[] = {{OpenMode::kShared, OpenMode::kShared, false},
                              {OpenMode::kShared, OpenMode::kExclusive, true},
                              {OpenMode::kExclusive, OpenMode::kShared, true},
                              {OpenMode::kExclusive, OpenMode::kExclusive, true}};
  for (const Pairing& p : pairings) {
    SCOPED_TRACE(::testing::Message() << int(p.holder) << "/" << int(p.second));
    DbfTable holder = DbfTable::Open(file_, p.holder);
    const std::string error = TryOpen(p.second);
    if (p.conflict) {
      EXPECT_THAT(error, AllOf(HasSubstr("PROFT"), HasSubstr("en uso")));
      EXPECT_EQ(holder.GetText("NOM"), "uno") << "the holder is undisturbed";
    } else {
      EXPECT_EQ(error, "");
    }
    holder.Close();
    EXPECT_EQ(TryOpen(p.second), "") << "free again after Close";
  }
}

TEST_F(DbfLockTest, CreateDoesNotReplaceATableHeldOpen) {
  DbfTable holder = DbfTable::Open(file_, OpenMode::kShared);
  try {
    DbfTable::Create(file_, kColumns);
    FAIL() << "Create replaced a table in use";
  } catch (const TableError& error) {
    EXPECT_THAT(error.what(), AllOf(HasSubstr("PROFT"), HasSubstr("en uso")));
  }
  holder.Close();
  EXPECT_EQ(DbfTable::Open(file_, OpenMode::kShared).RecordCount(), 1);
}

TEST_F(DbfLockTest, DestroyingATableReleasesItsLock) {
  { DbfTable holder = DbfTable::Open(file_, OpenMode::kExclusive); }
  EXPECT_EQ(TryOpen(OpenMode::kExclusive), "");
}

// Runs `child` in a forked process that first opens the table in `mode`,
// holds it while the parent runs `parent`, then exits.
template <typename Parent>
void WithChildHolding(const std::filesystem::path& file, OpenMode mode, Parent parent) {
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    char byte = 0;
    int status = 0;
    try {
      DbfTable table = DbfTable::Open(file, mode);
      byte = 1;
      if (::write(ready[1], &byte, 1) != 1) status = 2;
      if (::read(done[0], &byte, 1) != 1) status = 3;
    } catch (...) {
      status = 4;
      (void)!::write(ready[1], &byte, 1);
    }
    ::_exit(status);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 1) << "the child could not open the table";
  parent();
  ASSERT_EQ(::write(done[1], &byte, 1), 1);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
}

TEST_F(DbfLockTest, SecondProcessIsKeptOutOfAnExclusiveTable) {
  WithChildHolding(file_, OpenMode::kExclusive, [&] {
    EXPECT_THAT(TryOpen(OpenMode::kShared), AllOf(HasSubstr("PROFT"), HasSubstr("en uso")));
    EXPECT_THAT(TryOpen(OpenMode::kExclusive), HasSubstr("en uso"));
  });
  EXPECT_EQ(TryOpen(OpenMode::kExclusive), "") << "free once the other process has ended";
}

TEST_F(DbfLockTest, SecondProcessSharesButCannotTakeExclusively) {
  WithChildHolding(file_, OpenMode::kShared, [&] {
    EXPECT_EQ(TryOpen(OpenMode::kShared), "");
    EXPECT_THAT(TryOpen(OpenMode::kExclusive), HasSubstr("en uso"));
  });
}

}  // namespace
}  // namespace enlacor
