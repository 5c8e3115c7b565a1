// Test helpers for the import: writes the workspace tables of a small school
// row by row, and SOLUC either through the table engine or, to mimic files
// Horvana writes, through shapelib with native field types.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <shapefil.h>

#include "exchange/dbf_table.h"
#include "exchange/timetable_tables.h"

namespace enlacor::testing {

// Column name and value text; numeric columns take the text as a number.
using Row = std::vector<std::pair<std::string, std::string>>;

inline ColumnType TypeOf(TableId id, const std::string& column) {
  for (const ColumnDef& def : SchemaOf(id).columns) {
    if (column == def.name) return def.type;
  }
  throw std::invalid_argument("unknown column " + column);
}

// Re-creates table `id` from its schema and appends `rows` in order.
inline void WriteTable(const Workspace& workspace, TableId id, const std::vector<Row>& rows) {
  if (id == TableId::kSoluc) {
    DbfTable::Create(workspace.Directory() / "SOLUC.DBF", SchemaOf(id).columns);
  } else {
    workspace.RecreateTable(id);
  }
  DbfTable table = workspace.Open(id, OpenMode::kShared);
  for (const Row& row : rows) {
    table.Append();
    for (const auto& [column, value] : row) {
      switch (TypeOf(id, column)) {
        case ColumnType::kText: table.SetText(column, value); break;
        case ColumnType::kInteger: table.SetInteger(column, std::atoll(value.c_str())); break;
        case ColumnType::kFloat: table.SetFloat(column, std::atof(value.c_str())); break;
        case ColumnType::kBoolean: table.SetBoolean(column, value == "T"); break;
      }
    }
    table.Post();
  }
  table.Close();
}

// Creates all nine tables empty.
inline void WriteEmptyTables(const Workspace& workspace) {
  for (TableId id : ExportTables()) WriteTable(workspace, id, {});
  WriteTable(workspace, TableId::kSoluc, {});
}

// A dBase field as another program declares it: native type letter
// ('C', 'N', 'F'), width and decimals.
struct NativeField {
  std::string name;
  char type;
  int width;
  int decimals = 0;
};

// Writes `file` through shapelib with exactly these fields; values of
// 'N' and 'F' fields are numbers. shapelib names the file with a lower-case
// ".dbf" extension; the workspace finds it whatever the case.
inline void WriteNativeTable(const std::filesystem::path& file, const std::vector<NativeField>& fields,
                             const std::vector<Row>& rows) {
  DBFHandle handle = DBFCreateEx(file.string().c_str(), "LDID/87");
  if (!handle) throw std::runtime_error("cannot create " + file.string());
  for (const NativeField& field : fields) {
    DBFAddNativeFieldType(handle, field.name.c_str(), field.type, field.width, field.decimals);
  }
  for (std::size_t record = 0; record < rows.size(); ++record) {
    for (const auto& [column, value] : rows[record]) {
      const int index = DBFGetFieldIndex(handle, column.c_str());
      if (index < 0) continue;
      if (fields[index].type == 'C') {
        DBFWriteStringAttribute(handle, int(record), index, value.c_str());
      } else {
        DBFWriteDoubleAttribute(handle, int(record), index, std::atof(value.c_str()));
      }
    }
  }
  DBFClose(handle);
}

}  // namespace enlacor::testing
