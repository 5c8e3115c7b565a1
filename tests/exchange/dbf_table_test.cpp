// The table engine's record, field, locate and filter operations, checked
// through the engine and against the bytes it leaves in the file.
#include "exchange/dbf_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>

#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr ColumnDef kColumns[] = {{"NOM", ColumnType::kText, 5},
                                  {"COD", ColumnType::kText, 3},
                                  {"NUM", ColumnType::kInteger},
                                  {"HORAS", ColumnType::kFloat},
                                  {"FLAG", ColumnType::kBoolean}};

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The error message a call raises, or "" when it raises none.
template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const TableError& error) {
    return error.what();
  }
  return "";
}

class DbfTableTest : public ::testing::Test {
 protected:
  void SetUp() override { DbfTable::Create(file_, kColumns); }

  DbfTable OpenTable() { return DbfTable::Open(file_, OpenMode::kShared); }

  // Appends one record per (NOM, COD) pair.
  void AppendRows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    DbfTable table = OpenTable();
    for (auto [nom, cod] : rows) {
      table.Append();
      table.SetText("NOM", nom);
      table.SetText("COD", cod);
      table.Post();
    }
    table.Close();
  }

  std::vector<std::string> ScanColumn(DbfTable& table, const char* column) {
    std::vector<std::string> values;
    for (; !table.Eof(); table.Next()) values.push_back(table.GetText(column));
    return values;
  }

  testing::TempDir dir_;
  std::filesystem::path file_ = dir_ / "PRUEBA.DBF";
};

TEST_F(DbfTableTest, AppendedRecordsReadBackInOrderAfterReopening) {
  {
    DbfTable table = OpenTable();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecordCount(), 0);
    for (int i = 1; i <= 3; ++i) {
      table.Append();
      table.SetText("NOM", "n" + std::to_string(i));
      table.SetInteger("NUM", -i * 1000);
      table.SetFloat("HORAS", i + 0.5);
      table.SetBoolean("FLAG", i % 2 == 1);
      table.Post();
    }
    table.Close();
    EXPECT_FALSE(table.IsOpen());
  }
  DbfTable table = OpenTable();
  EXPECT_EQ(table.Name(), "PRUEBA");
  EXPECT_EQ(table.RecordCount(), 3);
  for (int i = 1; i <= 3; ++i, table.Next()) {
    ASSERT_FALSE(table.Eof());
    EXPECT_EQ(table.GetText("NOM"), "n" + std::to_string(i));
    EXPECT_EQ(table.GetInteger("NUM"), -i * 1000);
    EXPECT_EQ(table.GetFloat("HORAS"), i + 0.5);
    EXPECT_EQ(table.GetText("HORAS"), std::to_string(i) + ".5");
    EXPECT_EQ(table.GetBoolean("FLAG"), i % 2 == 1);
  }
  EXPECT_TRUE(table.Eof());
  table.First();
  EXPECT_EQ(table.GetText("nom"), "n1") << "column names ignore ASCII case";
}

TEST_F(DbfTableTest, HeaderIsDbaseThreeWithWindows1252AndTodaysDate) {
  AppendRows({{"a", "b"}});
  const std::string bytes = ReadBytes(file_);
  ASSERT_GE(bytes.size(), 32u + 5 * 32 + 1);
  EXPECT_EQ(bytes[0], 0x03);
  EXPECT_EQ(bytes[29], 0x03) << "language driver: windows-1252";
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), today.tm_year);
  EXPECT_EQ(bytes[2], today.tm_mon + 1);
  EXPECT_EQ(bytes[3], today.tm_mday);
  // Type and width of each column descriptor.
  const std::pair<char, int> expected[] = {{'C', 5}, {'C', 3}, {'N', 11}, {'N', 19}, {'L', 1}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const std::size_t at = 32 + 32 * i;
    EXPECT_EQ(bytes[at + 11], expected[i].first) << kColumns[i].name;
    EXPECT_EQ(bytes[at + 16], expected[i].second) << kColumns[i].name;
  }
  EXPECT_EQ(bytes[32 + 32 * 5], 0x0D);
}

TEST_F(DbfTableTest, TextIsCutToTheColumnAndKeepsLeadingBlanks) {
  struct Case {
    std::string stored, read;
  } const cases[] = {
      {"abcdefgh", "abcde"},            // cut to the width, without error
      {"  ab ", "  ab"},                // leading blanks stay, trailing go
      {"", ""},
      {"\xC1rbol", "\xC1rbol"},          // windows-1252 bytes pass unchanged
      {"a\tb  x", "a\tb"},              // cut first; then the cut's trailing blanks go
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    DbfTable::Create(file_, kColumns);
    DbfTable table = OpenTable();
    table.Append();
    table.SetText("NOM", c.stored);
    table.Close();
    table = OpenTable();
    EXPECT_EQ(table.GetText("NOM"), c.read);
  }
}

TEST_F(DbfTableTest, ColumnsNeverSetReadAsEmpty) {
  AppendRows({{"x", "y"}});
  DbfTable table = OpenTable();
  EXPECT_EQ(table.GetText("NUM"), "");
  EXPECT_EQ(table.GetInteger("NUM"), std::nullopt);
  EXPECT_EQ(table.GetFloat("HORAS"), std::nullopt);
  EXPECT_EQ(table.GetText("FLAG"), "");
  EXPECT_EQ(table.GetBoolean("FLAG"), std::nullopt);
  table.Next();
  ASSERT_TRUE(table.Eof());
  EXPECT_EQ(table.GetText("NOM"), "") << "past the end";
  EXPECT_EQ(table.GetInteger("NUM"), std::nullopt);
}

TEST_F(DbfTableTest, ValuesConvertBetweenColumnTypes) {
  DbfTable table = OpenTable();
  table.Append();
  table.SetInteger("COD", 42);
  EXPECT_EQ(table.GetText("COD"), "42") << "integer into text: its decimal digits";
  table.SetInteger("NOM", -1234567);
  EXPECT_EQ(table.GetText("NOM"), "-1234") << "cut like any text";
  table.SetText("NUM", " 17 ");
  EXPECT_EQ(table.GetInteger("NUM"), 17);
  table.SetText("HORAS", "2.25");
  EXPECT_EQ(table.GetFloat("HORAS"), 2.25);
  table.SetText("HORAS", "");
  EXPECT_EQ(table.GetFloat("HORAS"), std::nullopt);
  table.SetText("FLAG", "T");
  EXPECT_EQ(table.GetBoolean("FLAG"), true);
  table.SetFloat("NUM", 7.6);
  EXPECT_EQ(table.GetInteger("NUM"), 8);
  table.SetText("COD", "12");
  EXPECT_EQ(table.GetInteger("COD"), 12) << "a numeric-looking text reads as a number";
  table.SetText("COD", "1x");
  EXPECT_EQ(table.GetInteger("COD"), std::nullopt);
}

TEST_F(DbfTableTest, ValuesAColumnCannotHoldAreRefusedNamingTableAndColumn) {
  DbfTable table = OpenTable();
  table.Append();
  const std::pair<const char*, std::function<void()>> refused[] = {
      {"NUM", [&] { table.SetInteger("NUM", 123456789012LL); }},
      {"NUM", [&] { table.SetText("NUM", "doce"); }},
      {"HORAS", [&] { table.SetFloat("HORAS", 1e30); }},
      {"HORAS", [&] { table.SetFloat("HORAS", std::nan("")); }},
      {"FLAG", [&] { table.SetText("FLAG", "quiza"); }},
      {"FLAG", [&] { table.SetInteger("FLAG", 1); }},
  };
  for (const auto& [column, call] : refused)
    EXPECT_THAT(ErrorOf(call), AllOf(HasSubstr("PRUEBA"), HasSubstr(column)));
  table.Post();
  table.Close();
  table = OpenTable();
  EXPECT_EQ(table.GetText("NUM"), "") << "a refused value leaves the field as it was";
}

TEST_F(DbfTableTest, GetIntegerRoundsToNearestWithHalvesToEven) {
  const std::pair<double, std::int64_t> cases[] = {{2.5, 2}, {3.5, 4}, {-1.5, -2}, {7.4, 7}, {7.6, 8}, {0, 0}};
  DbfTable table = OpenTable();
  table.Append();
  for (auto [value, rounded] : cases) {
    table.SetFloat("HORAS", value);
    EXPECT_EQ(table.GetInteger("HORAS"), rounded) << value;
  }
}

TEST_F(DbfTableTest, EditIsStoredWhenTheCursorMovesOnPostAndClose) {
  AppendRows({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  {
    DbfTable table = OpenTable();
    table.Edit();
    table.SetText("NOM", "A");
    table.Next();  // stores record 1
    table.SetText("NOM", "B");  // edits record 2 without an explicit Edit
    table.Post();
    table.Next();
    table.Edit();
    table.SetText("NOM", "C");
    table.Close();  // stores record 3
  }
  DbfTable table = OpenTable();
  EXPECT_EQ(ScanColumn(table, "NOM"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_THAT(ErrorOf([&] { table.Edit(); }), HasSubstr("PRUEBA")) << "nothing to edit past the end";
}

TEST_F(DbfTableTest, AppendAfterEditAndPendingAppendOnFirst) {
  AppendRows({{"a", "1"}});
  {
    DbfTable table = OpenTable();
    table.SetText("NOM", "z");
    table.Append();  // stores the edit first
    table.SetText("NOM", "new");
    table.First();  // stores the appended record
    EXPECT_EQ(table.GetText("NOM"), "z");
    EXPECT_EQ(table.RecordCount(), 2);
  }
  DbfTable table = OpenTable();
  EXPECT_EQ(ScanColumn(table, "NOM"), (std::vector<std::string>{"z", "new"}));
}

TEST_F(DbfTableTest, UnknownColumnNamesTableAndColumn) {
  DbfTable table = OpenTable();
  for (auto call : std::initializer_list<std::function<void()>>{
           [&] { table.GetText("NOPE"); }, [&] { table.GetInteger("NOPE"); },
           [&] { table.SetText("NOPE", "x"); }, [&] { table.Locate("NOM;NOPE", {"a", "b"}); },
           [&] { table.SetFilter("NOPE= 'x'"); }}) {
    EXPECT_THAT(ErrorOf(call), AllOf(HasSubstr("PRUEBA"), HasSubstr("NOPE")));
  }
  EXPECT_FALSE(table.HasColumn("NOPE"));
  EXPECT_TRUE(table.HasColumn("HORAS"));
}

TEST_F(DbfTableTest, MissingFileNamesTheTable) {
  EXPECT_THAT(ErrorOf([&] { DbfTable::Open(dir_ / "FALTA.DBF", OpenMode::kShared); }),
              AllOf(HasSubstr("FALTA"), HasSubstr("No existe")));
}

TEST_F(DbfTableTest, ClosedOrMovedFromTableRefusesWork) {
  DbfTable table = OpenTable();
  DbfTable moved = std::move(table);
  EXPECT_THAT(ErrorOf([&] { table.First(); }), HasSubstr("cerrada"));
  EXPECT_FALSE(table.IsOpen());
  moved.Close();
  moved.Close();  // closing twice is harmless
  EXPECT_THAT(ErrorOf([&] { moved.GetText("NOM"); }), AllOf(HasSubstr("PRUEBA"), HasSubstr("cerrada")));
}

TEST_F(DbfTableTest, LocateFindsTheFirstExactMatchInStoredOrder) {
  AppendRows({{"11", "A"}, {"11", "b"}, {"12", "b"}, {"11", "b"}, {" 11", "b"}});
  DbfTable table = OpenTable();
  table.Next();
  table.Next();  // on record 3
  struct Case {
    std::vector<std::string> values;
    bool found;
    std::string nom_after;
    std::string cod_after;
  } const cases[] = {
      {{"11", "b"}, true, "11", "b"},    // record 2, before the cursor
      {{"11", "B"}, false, "11", "b"},   // case counts; the cursor stays
      {{" 11", "b"}, true, " 11", "b"},  // leading blanks count
      {{"11 ", "A"}, false, " 11", "b"}, // whole values only
      {{"11", "A"}, true, "11", "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values[0] + "|" + c.values[1]);
    EXPECT_EQ(table.Locate("NOM;COD", c.values), c.found);
    EXPECT_EQ(table.GetText("NOM"), c.nom_after);
    EXPECT_EQ(table.GetText("COD"), c.cod_after);
  }
  EXPECT_THAT(ErrorOf([&] { table.Locate("NOM;COD", {"11"}); }), HasSubstr("PRUEBA"));
}

TEST_F(DbfTableTest, LocateStoresAPendingEditFirst) {
  AppendRows({{"a", "1"}, {"b", "2"}});
  DbfTable table = OpenTable();
  table.SetText("NOM", "b");
  EXPECT_TRUE(table.Locate("NOM", {"b"}));
  EXPECT_EQ(table.GetText("COD"), "1") << "the edited first record now matches";
}

TEST_F(DbfTableTest, FilterShowsOnlyMatchingRecordsAndHandlesQuotes) {
  AppendRows({{"O'N", "1"}, {"x", "2"}, {"O'N", "3"}, {"o'n", "4"}, {"O''N", "5"}});
  DbfTable table = OpenTable();
  EXPECT_EQ(DbfTable::FilterExpression("NOM", "O'N"), "NOM= 'O''N'");
  table.Next();
  table.SetFilter(DbfTable::FilterExpression("NOM", "O'N"));
  EXPECT_EQ(table.GetText("COD"), "2") << "setting the expression alone moves nothing";
  table.SetFiltered(true);
  EXPECT_EQ(ScanColumn(table, "COD"), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(table.RecordCount(), 5);
  table.SetFilter(DbfTable::FilterExpression("NOM", "O''N"));  // while on: back to the first match
  EXPECT_EQ(ScanColumn(table, "COD"), (std::vector<std::string>{"5"}));
  table.SetFilter("NOM= 'nadie'");
  EXPECT_TRUE(table.Eof());
  EXPECT_FALSE(table.Locate("COD", {"1"})) << "locate sees what the scan sees";
  table.SetFiltered(false);
  table.First();
  EXPECT_EQ(ScanColumn(table, "COD").size(), 5u);
}

TEST_F(DbfTableTest, FilterAcceptsOnlyColumnEqualsQuotedText) {
  DbfTable table = OpenTable();
  for (const char* accepted : {"NOM= 'a'", "NOM='a'", " NOM = 'a' ", "NOM= ''", "NOM= 'a''b'"})
    EXPECT_EQ(ErrorOf([&] { table.SetFilter(accepted); }), "") << accepted;
  for (const char* refused : {"NOM= a", "NOM= 'a", "NOM 'a'", "= 'a'", "NOM= 'a' OR COD= 'b'",
                              "NOM= 'a'b'", "NOM<> 'a'", "NOM= \"a\"", ""}) {
    EXPECT_THAT(ErrorOf([&] { table.SetFilter(refused); }), HasSubstr("PRUEBA")) << refused;
  }
}

TEST_F(DbfTableTest, NumericAndFloatTypedFieldsOfOtherProgramsReadAsNumbers) {
  // Horvana may declare numbers as F and store them with blanks or decimals.
  AppendRows({{"a", "1"}});
  {
    DbfTable table = OpenTable();
    table.SetFloat("HORAS", 3);
    table.Close();
  }
  std::string bytes = ReadBytes(file_);
  bytes[32 + 32 * 3 + 11] = 'F';
  WriteBytes(file_, bytes);
  DbfTable table = OpenTable();
  EXPECT_EQ(table.GetInteger("HORAS"), 3);
  EXPECT_EQ(table.GetText("HORAS"), "3") << "whole numbers read as text without decimals";
}

TEST_F(DbfTableTest, RecordsMarkedDeletedAreSkipped) {
  AppendRows({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  std::string bytes = ReadBytes(file_);
  const std::size_t header = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  const std::size_t record = static_cast<unsigned char>(bytes[10]);
  bytes[header] = '*';
  bytes[header + 2 * record] = '*';
  WriteBytes(file_, bytes);
  DbfTable table = OpenTable();
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(ScanColumn(table, "NOM"), (std::vector<std::string>{"b"}));
  EXPECT_FALSE(table.Locate("NOM", {"a"}));
}

TEST_F(DbfTableTest, CreateReplacesAnExistingTable) {
  AppendRows({{"a", "1"}});
  DbfTable::Create(file_, kColumns);
  DbfTable table = OpenTable();
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1)
      << "no temporary file stays behind";
}

TEST_F(DbfTableTest, CreateRefusesBadColumnsAndLeavesTheOldTable) {
  AppendRows({{"a", "1"}});
  const std::vector<ColumnDef> bad[] = {{{"NOMBRELARGO", ColumnType::kText, 5}},
                                        {{"nom", ColumnType::kText, 5}},
                                        {{"NOM", ColumnType::kText, 0}},
                                        {{"NOM", ColumnType::kText, 255}},
                                        {{"NOM", ColumnType::kText, 5}, {"NOM", ColumnType::kInteger}},
                                        {}};
  for (const auto& columns : bad)
    EXPECT_THAT(ErrorOf([&] { DbfTable::Create(file_, columns); }), HasSubstr("PRUEBA"));
  EXPECT_EQ(OpenTable().RecordCount(), 1);
}

TEST_F(DbfTableTest, CreateInAMissingDirectoryNamesTheTable) {
  EXPECT_THAT(ErrorOf([&] { DbfTable::Create(dir_ / "no" / "T.DBF", kColumns); }), HasSubstr("T"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "no"));
}

}  // namespace
}  // namespace enlacor
