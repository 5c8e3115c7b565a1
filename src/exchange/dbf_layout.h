// DbfLayout: the structure of a dBase file as its header declares it, read
// and checked before any record is touched.
//
// ReadDbfLayout accepts a header only when it is consistent with itself and
// with the file: a field descriptor block ended by 0x0D inside the declared
// header length, known field types with sane widths, a record length equal
// to 1 + the sum of the field widths, and a file long enough for every
// record the header counts. Anything else is a TableError naming the table,
// so a damaged file never leads to a read out of bounds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enlacor {

struct DbfColumn {
  std::string name;  // as stored, upper case in the tables this program writes
  char type;         // 'C', 'N', 'F', 'L', 'D' or 'M'
  int offset;        // from the start of the record (byte 0 is the deletion flag)
  int width;
  int decimals;      // numeric columns only; 0 otherwise
};

struct DbfLayout {
  std::size_t header_length = 0;
  std::size_t record_length = 0;
  std::size_t record_count = 0;
  std::vector<DbfColumn> columns;

  // Index of the column named `name` (ASCII case ignored), or nullopt.
  std::optional<std::size_t> FindColumn(std::string_view name) const;
};

// Parses and checks the header of `file_bytes`, the whole content of the
// table file. `table` names the table in the error message.
DbfLayout ReadDbfLayout(std::string_view file_bytes, std::string_view table);

}  // namespace enlacor
