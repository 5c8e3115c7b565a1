// The parts of the pre-run report (export_report.h), one per concern, and
// the small helpers they share. Internal to the report.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_document.h"
#include "exchange/timetable_tables.h"
#include "export/export_report.h"

namespace enlacor::report {

// The findings of one report, as the parts add them.
class Findings {
 public:
  void Add(FindingKind kind, std::string list, std::size_t entry, std::vector<FindingValue> values,
           std::string text);
  std::vector<Finding> Take() { return std::move(findings_); }

 private:
  std::vector<Finding> findings_;
};

// A text column of a timetable table.
struct Column {
  TableId table;
  const char* name;
};

// The columns a value goes to; some only when the entry gets that row.
class Columns {
 public:
  Columns(std::initializer_list<Column> columns) : columns_(columns) {}
  Columns& AddIf(bool condition, Column column) {
    if (condition) columns_.push_back(column);
    return *this;
  }
  const std::vector<Column>& All() const { return columns_; }

 private:
  std::vector<Column> columns_;
};

// The column's width in characters, from the table's schema.
std::size_t WidthOf(Column column);
// "ASIGNOMT.CODLARGO"
std::string ColumnLabel(Column column);

// A value as a text column of `width` gives it back: its first `width`
// characters, without trailing blanks. `table_text` is windows-1252.
std::string StoredText(std::string_view table_text, std::size_t width);

// "\"texto\"", the text (windows-1252) shown in UTF-8.
std::string Quoted(std::string_view table_text);

// Adds one kCutValue finding per column width that `value` (table text)
// exceeds among `columns`; columns of one width share a finding. `field`
// names the field: "2", or a dato name.
void CheckCut(Findings& findings, std::string_view list, std::size_t entry, std::string_view field,
              std::string_view value, const Columns& columns);

// The entries, fields and values of every list the export reads: entries
// skipped for fewer than two fields, positions a used entry lacks, and
// characters windows-1252 cannot hold.
void FindEntryShapes(const ExchangeDocument& document, Findings& findings);

// Short codes (ASIGNOMT, PROFT, AULAT, GRUPOST), the duplicate filter, values
// cut by their columns, and course keys that match nothing.
void FindCatalogueFindings(const ExchangeDocument& document, Findings& findings);

// Frame codes that are cut or split, the periods of the checked frames that
// the renumbering leaves as they are, and period values cut by DIASHORAST.
// Fills the report's checked frames.
void FindDayGridFindings(const ExchangeDocument& document, const std::optional<std::string>& frame_selection,
                         Findings& findings, ExportReport& report);

}  // namespace enlacor::report
