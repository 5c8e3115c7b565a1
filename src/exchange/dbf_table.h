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
// file, a file held by another process or table object (opening takes the
// operating system's file lock, shared or exclusive, for the table's
// lifetime), a damaged file (the header is checked before any record is
// read), an unknown column, a number its column cannot hold, a failed write.
//
// An open table keeps its records in memory, so scans and field reads cost
// no file access; every change is written through to the file at once.
// Records marked deleted (by another dBase program) are skipped by the scan,
// by Locate and by RecordCount.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/table_error.h"

namespace enlacor {

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
  // that name unless another holder has it open. The table is not left open.
  // Text is stored as C(width), integer as N(11,0), float as N(19,6),
  // boolean as L.
  static void Create(const std::filesystem::path& file, std::span<const ColumnDef> columns);

  // Opens an existing table and moves to its first record. Shared opening
  // admits other shared holders; exclusive opening admits none.
  static DbfTable Open(const std::filesystem::path& file, OpenMode mode);

  DbfTable(DbfTable&&) noexcept;
  DbfTable& operator=(DbfTable&&) noexcept;
  ~DbfTable();  // closes, storing a pending change; failures are lost here

  // Stores a pending change and releases the file and its lock. Raises
  // TableError when the change or the header cannot be written; the file and
  // its lock are released all the same.
  void Close();
  bool IsOpen() const;

  // The table's name for messages: the file name without directory and
  // extension, upper case ("SOLUC" for .../soluc.dbf).
  const std::string& Name() const;

  // --- Records ---
  // Appends a blank record and makes it current; set its fields, then Post.
  void Append();
  // Stores the current record's changes.
  void Post();
  // Starts editing the current record; the change is stored when the cursor
  // moves on, on Post, or on Close. Setting a field of the current record
  // starts editing by itself. With no current record (past the end),
  // editing raises TableError.
  void Edit();

  // --- Scan (sees only the matching records while a filter is on) ---
  void First();
  void Next();
  bool Eof() const;
  int RecordCount() const;  // all records not marked deleted, filter or not

  // --- Fields of the current record, by column name (ASCII case ignored) ---
  // Past the end every existing column reads as empty text / nullopt.
  bool HasColumn(std::string_view column) const;
  // Text columns: the stored bytes without trailing blanks. Numeric columns:
  // the number in plain decimal form ("3", "2.5"). Boolean columns: "T",
  // "F" or "".
  std::string GetText(std::string_view column) const;
  // The number a column holds (N, F, or a text that is entirely a number),
  // rounded to the nearest whole number, halves to even; nullopt when blank
  // or not a number.
  std::optional<std::int64_t> GetInteger(std::string_view column) const;
  std::optional<double> GetFloat(std::string_view column) const;
  std::optional<bool> GetBoolean(std::string_view column) const;
  // Text into a numeric column must be a number or blank, into a boolean
  // column one of T, F, Y, N or blank; anything else raises TableError.
  void SetText(std::string_view column, std::string_view value);
  void SetInteger(std::string_view column, std::int64_t value);  // text column: decimal digits
  void SetFloat(std::string_view column, double value);
  void SetBoolean(std::string_view column, bool value);

  // Moves to the first record whose columns (names separated by ";", as in
  // "DIHO;MARCOXML") equal `values` exactly, case included, searching in
  // stored order among the records the scan sees (a filter that is on
  // applies). Returns whether one was found; when none is, the current
  // record stays.
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
  Impl& Self() const;  // the open table; TableError once closed or moved from
  std::unique_ptr<Impl> impl_;
};

}  // namespace enlacor
