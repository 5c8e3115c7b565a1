// DbfWriter: the part of the table engine that writes files, through
// shapelib.
//
// Files are dBase III+ (version byte 0x03) with the windows-1252 language
// driver (0x03) in byte 29 and today's date as the date of the last update.
// Column types: text is C(width), integer N(11,0), float N(19,6) (19 is the
// widest numeric column dBase III+ reads), boolean L(1).
//
// Shapelib reports failures through callbacks; the writer turns each into a
// TableError naming the table, so a full disk or a vanished file never
// passes for a successful write.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "exchange/dbf_layout.h"
#include "exchange/dbf_table.h"

namespace enlacor {

class DbfWriter {
 public:
  // Writes `file` with `columns` and no records. The file is written beside
  // `file` under a temporary name and then renamed over it, so a failure
  // leaves any earlier file untouched and no half-written table behind.
  static void CreateEmpty(const std::filesystem::path& file, std::span<const ColumnDef> columns,
                          std::string_view table);

  // Opens an existing table for writing records. `expected` is the layout
  // the caller read; shapelib must see the same one.
  static DbfWriter Open(const std::filesystem::path& file, const DbfLayout& expected, std::string_view table);

  DbfWriter(DbfWriter&& other) noexcept;
  DbfWriter& operator=(DbfWriter&& other) noexcept;
  DbfWriter(const DbfWriter&) = delete;
  DbfWriter& operator=(const DbfWriter&) = delete;
  ~DbfWriter();  // closes, ignoring failures: call Close to see them

  // Writes record `index` (the whole record, deletion flag first); `index`
  // equal to the record count appends.
  void WriteRecord(std::size_t index, std::string_view record);
  // Stores the record count and the date of the update in the header and
  // closes the file.
  void Close();

 private:
  DbfWriter(void* handle, std::string_view table);
  void* handle_ = nullptr;  // DBFHandle
  std::string table_;
};

}  // namespace enlacor
