// A dBase table: one `<NAME>.DBF` file of the workspace, read and written
// through shapelib.
//
// The operations are those the export and import runs need: create from
// column definitions, open shared or exclusive, append and post, edit, scan
// with a current record, read and set fields by column name, count, locate
// and filter. Files are dBase III+ compatible: text columns as C, integer and
// float as N, boolean as L, the windows-1252 code-page byte and the real date
// of the last update in the header.
//
// Text values are windows-1252 bytes. Storing a text longer than its column
// stores its first `width` bytes. Reading a text column drops trailing
// blanks only; leading blanks stay. A column never set reads as empty text,
// or as no value when read as a number.
//
// Every failure raises TableError whose message names the table: a missing
// file, a file held by another process or table object (exclusive opening
// uses the operating system's file locks), a damaged file (the header is
// checked before any record is read), an unknown column.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace enlacor {

// A failure of the table engine; its message is for the user (Spanish) and
// names the table.
class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ColumnType { kText, kInteger, kFloat, kBoolean };

struct ColumnDef {
  const char* name;
  ColumnType type;
  int width = 0;  // characters of a text column; ignored for the other types
};

enum class OpenMode { kShared, kExclusive };

class DbfTable {
 public:
  // Creates `file` with the given columns and no records, replacing a file of
  // that name. The table is not left open.
  static void Create(const std::filesystem::path& file, std::span<const ColumnDef> columns);

  // Opens an existing table and moves to its first record.
  static DbfTable Open(const std::filesystem::path& file, OpenMode mode);

  DbfTable(DbfTable&&) noexcept;
  DbfTable& operator=(DbfTable&&) noexcept;
  ~DbfTable();  // closes, storing a pending change

  // Stores a pending change and releases the file and its lock.
  void Close();
  bool IsOpen() const;

  // The table's name for messages: the file name without directory.
  const std::string& Name() const;

  // --- Records ---
  // Appends a blank record and makes it current; set its fields, then Post.
  void Append();
  // Stores the current record's changes.
  void Post();
  // Starts editing the current record; the change is stored when the cursor
  // moves on, on Post, or on Close.
  void Edit();

  // --- Scan (sees only the matching records while a filter is on) ---
  void First();
  void Next();
  bool Eof() const;
  int RecordCount() const;  // all records, filter or not

  // --- Fields of the current record, by column name ---
  bool HasColumn(std::string_view column) const;
  std::string GetText(std::string_view column) const;
  // Numeric value rounded to the nearest whole number; nullopt when blank or
  // not a number.
  std::optional<std::int64_t> GetInteger(std::string_view column) const;
  std::optional<double> GetFloat(std::string_view column) const;
  void SetText(std::string_view column, std::string_view value);
  void SetInteger(std::string_view column, std::int64_t value);  // text column: decimal digits
  void SetFloat(std::string_view column, double value);
  void SetBoolean(std::string_view column, bool value);

  // Moves to the first record whose columns (names separated by ";", as in
  // "DIHO;MARCOXML") equal `values` exactly, case included. Returns whether
  // one was found; when none is, the current record stays.
  bool Locate(std::string_view columns, const std::vector<std::string>& values);

  // --- Filter ---
  // Sets an expression of the form `<COLUMN>= '<value>'` (each quote inside
  // the value doubled). Raises TableError for any other form.
  void SetFilter(std::string_view expression);
  void SetFiltered(bool on);  // switching on moves to the first matching record
  // Builds the expression for SetFilter: "PROF= 'O''NEIL'".
  static std::string FilterExpression(std::string_view column, std::string_view value);

 private:
  struct Impl;
  explicit DbfTable(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace enlacor
