// Damaged table files: a header that lies about its layout, a file shorter
// than its header claims. Each is a TableError naming the table; none may
// crash or read out of bounds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "exchange/dbf_table.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::HasSubstr;

constexpr ColumnDef kColumns[] = {
    {"NOM", ColumnType::kText, 6}, {"NUM", ColumnType::kInteger}, {"SI", ColumnType::kBoolean}};
// Layout of the file written from kColumns.
constexpr std::size_t kHeaderLength = 32 + 3 * 32 + 1;
constexpr std::size_t kRecordLength = 1 + 6 + 11 + 1;
constexpr std::size_t kDescriptor = 32;  // first field descriptor
constexpr std::size_t kRecords = 2;

class DbfDamagedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DbfTable::Create(file_, kColumns);
    DbfTable table = DbfTable::Open(file_, OpenMode::kShared);
    for (const char* nom : {"uno", "dos"}) {
      table.Append();
      table.SetText("NOM", nom);
      table.SetInteger("NUM", 7);
      table.SetBoolean("SI", true);
    }
    table.Close();
    std::ifstream in(file_, std::ios::binary);
    intact_.assign(std::istreambuf_iterator<char>(in), {});
    ASSERT_GE(intact_.size(), kHeaderLength + kRecords * kRecordLength);
  }

  void Write(const std::string& bytes) { std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes; }

  // Opens the file and reads every field of every record. Returns the error
  // message, or "" when the table opened.
  std::string OpenAndReadAll() {
    try {
      DbfTable table = DbfTable::Open(file_, OpenMode::kShared);
      for (; !table.Eof(); table.Next())
        for (const ColumnDef& column : kColumns) table.GetText(column.name);
    } catch (const TableError& error) {
      return error.what();
    }
    return "";
  }

  testing::TempDir dir_;
  std::filesystem::path file_ = dir_ / "ROTA.DBF";
  std::string intact_;
};

void SetU16(std::string& b, std::size_t at, unsigned value) {
  b[at] = char(value & 0xFF);
  b[at + 1] = char(value >> 8);
}

TEST_F(DbfDamagedTest, IntactFileOpens) { EXPECT_EQ(OpenAndReadAll(), ""); }

TEST_F(DbfDamagedTest, EachDamageIsReportedNamingTheTable) {
  const std::pair<const char*, std::function<void(std::string&)>> damages[] = {
      {"record length too long", [](std::string& b) { SetU16(b, 10, kRecordLength + 1); }},
      {"record length too short", [](std::string& b) { SetU16(b, 10, kRecordLength - 1); }},
      {"record length zero", [](std::string& b) { SetU16(b, 10, 0); }},
      {"count beyond the file", [](std::string& b) { b[4] = char(kRecords + 1); }},
      {"huge count", [](std::string& b) { b[4] = b[5] = b[6] = b[7] = char(0xFF); }},
      {"header length beyond the file", [](std::string& b) { SetU16(b, 8, 0xFFFF); }},
      {"header length below the minimum", [](std::string& b) { SetU16(b, 8, 32); }},
      {"terminator outside the header", [](std::string& b) { SetU16(b, 8, kHeaderLength - 32); }},
      {"no terminator", [](std::string& b) { b[kHeaderLength - 1] = 'X'; }},
      {"field wider than declared", [](std::string& b) { b[kDescriptor + 16] = 7; }},
      {"field of width zero", [](std::string& b) { b[kDescriptor + 16] = 0; }},
      {"unknown field type", [](std::string& b) { b[kDescriptor + 11] = '?'; }},
      {"decimals as wide as the field", [](std::string& b) { b[kDescriptor + 32 + 17] = 11; }},
      {"logical field of width two", [](std::string& b) {
         b[kDescriptor + 64 + 16] = 2;
         SetU16(b, 10, kRecordLength + 1);
       }},
      {"field without name", [](std::string& b) { b[kDescriptor] = 0; }},
      {"empty file", [](std::string& b) { b.clear(); }},
      {"shorter than the file header", [](std::string& b) { b.resize(20); }},
      {"shorter than its header claims", [](std::string& b) { b.resize(kHeaderLength - 1); }},
      {"last record cut short", [](std::string& b) { b.resize(kHeaderLength + kRecords * kRecordLength - 3); }},
  };
  for (const auto& [what, damage] : damages) {
    SCOPED_TRACE(what);
    std::string bytes = intact_;
    damage(bytes);
    Write(bytes);
    EXPECT_THAT(OpenAndReadAll(), HasSubstr("ROTA"));
  }
}

TEST_F(DbfDamagedTest, AnyTruncationOrHeaderByteIsSafe) {
  // Every outcome is either a readable table or a TableError; the run must
  // simply survive (sanitizers make an overrun visible).
  for (std::size_t length = 0; length < intact_.size(); ++length) {
    Write(intact_.substr(0, length));
    OpenAndReadAll();
  }
  for (std::size_t at = 0; at < kHeaderLength; ++at) {
    for (char value : {'\0', char(0x0D), char(0xFF), ' '}) {
      std::string bytes = intact_;
      bytes[at] = value;
      Write(bytes);
      const std::string error = OpenAndReadAll();
      if (!error.empty()) {
        EXPECT_THAT(error, HasSubstr("ROTA")) << "byte " << at;
      }
    }
  }
}

TEST_F(DbfDamagedTest, ExtraBytesAfterTheCountedRecordsAreIgnored) {
  // Writers leave an end-of-file mark, and a count lower than the records.
  std::string bytes = intact_;
  bytes[4] = 1;
  bytes += std::string(50, 'z');
  Write(bytes);
  DbfTable table = DbfTable::Open(file_, OpenMode::kShared);
  EXPECT_EQ(table.RecordCount(), 1);
  table.Append();
  table.SetText("NOM", "tres");
  table.Close();
  table = DbfTable::Open(file_, OpenMode::kShared);
  table.Next();
  EXPECT_EQ(table.GetText("NOM"), "tres");
  EXPECT_EQ(table.RecordCount(), 2);
}

}  // namespace
}  // namespace enlacor
