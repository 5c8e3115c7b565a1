// Fuzz entry: the table engine on an arbitrary .DBF file.
//
// The bytes become a table file; the engine opens it and reads every field
// of every record as text, integer, float and boolean, locates and filters
// on values it read, appends a record and reopens the file. A damaged file
// may raise TableError at any step; anything else escaping (another
// exception, a crash, a sanitizer report) is a fault. The fuzzer and the
// regression test both call ScanDbfBytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/dbf_layout.h"
#include "exchange/dbf_table.h"
#include "exchange/table_error.h"
#include "fuzz_scratch.h"

namespace enlacor::fuzz {

// Reads every column of the current record in every way the engine offers,
// and returns the texts.
inline std::vector<std::string> ReadRecord(const DbfTable& table, const std::vector<DbfColumn>& columns) {
  std::vector<std::string> texts;
  for (const DbfColumn& column : columns) {
    texts.push_back(table.GetText(column.name));
    (void)table.GetInteger(column.name);
    (void)table.GetFloat(column.name);
    try {
      (void)table.GetBoolean(column.name);
    } catch (const TableError&) {
      // Only boolean columns need to read as booleans.
    }
  }
  return texts;
}

// Locate and filter on the first column, with the values of the first
// record: both must find that record's value again.
inline void LocateAndFilter(DbfTable& table, const std::vector<DbfColumn>& columns,
                            const std::vector<std::string>& first_record) {
  if (columns.empty() || first_record.empty()) return;
  const std::string& column = columns.front().name;
  table.Locate(column, {first_record.front()});
  if (columns.size() > 1) table.Locate(column + ";" + columns[1].name, {first_record[0], first_record[1]});
  table.Locate(column, {first_record.front() + "'x"});

  table.SetFiltered(false);
  table.SetFilter(DbfTable::FilterExpression(column, first_record.front()));
  table.SetFiltered(true);
  for (; !table.Eof(); table.Next()) (void)table.GetText(column);
  table.SetFiltered(false);
  table.First();
}

// The whole walk over one table file.
inline void ScanTable(const std::filesystem::path& file) {
  DbfTable table = DbfTable::Open(file, OpenMode::kShared);
  // The columns as the header declares them; Open has already accepted it.
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::vector<DbfColumn> columns = ReadDbfLayout(bytes, table.Name()).columns;

  const int count = table.RecordCount();
  std::vector<std::string> first_record;
  int seen = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    std::vector<std::string> texts = ReadRecord(table, columns);
    if (seen++ == 0) first_record = std::move(texts);
  }
  if (seen != count) throw std::logic_error("the scan and RecordCount disagree");
  (void)ReadRecord(table, columns);  // past the end: every column reads empty

  LocateAndFilter(table, columns, first_record);

  // Append a copy of the first record, then reopen: the file must stay a table.
  table.Append();
  for (std::size_t i = 0; i < first_record.size(); ++i) table.SetText(columns[i].name, first_record[i]);
  table.Post();
  table.Close();
  DbfTable reopened = DbfTable::Open(file, OpenMode::kExclusive);
  if (reopened.RecordCount() != count + 1) throw std::logic_error("the appended record is lost");
}

inline void ScanDbfBytes(std::string_view bytes, const std::filesystem::path& scratch) {
  const std::filesystem::path file = scratch / "FUZZ.DBF";
  WriteBytes(file, bytes);
  try {
    ScanTable(file);
  } catch (const TableError&) {
    // A damaged table is refused with a message naming it: that is fine.
  }
}

}  // namespace enlacor::fuzz
