// The timetable table set: Horvana's nine dBase tables in the workspace
// directory, their schemas, and the re-creation rule of the export steps.
//
// The workspace directory is ENLACOR_WORKSPACE when set; otherwise C:\HTEMP
// on Windows, and elsewhere drive_c/HTEMP inside the Wine prefix
// ($WINEPREFIX, else ~/.wine), where Horvana under Wine sees C:\HTEMP.
// An existing table file is found whatever the case of its name (Horvana
// under Wine may write soluc.dbf); new files are written upper case.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "exchange/dbf_table.h"

namespace enlacor {

// The nine tables. SOLUC is Horvana's: it is never created, deleted or
// written by this program; its schema is the layout Horvana declares.
enum class TableId { kAsignomt, kAsignomt2, kProft, kAulat, kCursost, kGrupost, kAsigt, kDiashorast, kSoluc };

struct TableSchema {
  TableId id;
  const char* name;  // "ASIGNOMT"
  std::span<const ColumnDef> columns;
};

const TableSchema& SchemaOf(TableId id);
// The eight tables the export run writes, in the order the steps write them.
std::span<const TableId> ExportTables();

class Workspace {
 public:
  explicit Workspace(std::filesystem::path directory);
  // ENLACOR_WORKSPACE, else the platform's place for C:\HTEMP.
  static Workspace Default();

  const std::filesystem::path& Directory() const { return directory_; }
  // The folder the file dialog opens first: "escolia" inside the workspace.
  std::filesystem::path EscoliaFolder() const;

  // `<NAME>.DBF` as it exists, whatever its case; `<NAME>.DBF` when none does.
  std::filesystem::path TableFile(std::string_view name) const;
  // `<NAME>.MDX` likewise.
  std::filesystem::path IndexFile(std::string_view name) const;

  // Deletes the table's .DBF and .MDX files, in whatever case they exist.
  // A failed deletion is not reported: the creation that follows fails or
  // replaces the file.
  void DeleteTableFiles(TableId id) const;
  // Creates the table empty from its schema, as `<NAME>.DBF`.
  void CreateTable(TableId id) const;
  // Raises TableError naming the first of `ids` whose file another program
  // holds open, so that a run can refuse before it deletes anything.
  void CheckNoneHeld(std::span<const TableId> ids) const;
  // DeleteTableFiles then CreateTable: the re-creation of every export step.
  // The three refuse SOLUC with a TableError: it is Horvana's.
  void RecreateTable(TableId id) const;

  // Opens the table's file as TableFile finds it.
  DbfTable Open(TableId id, OpenMode mode) const;

 private:
  std::filesystem::path Find(std::string_view file_name) const;
  std::filesystem::path directory_;
};

}  // namespace enlacor
