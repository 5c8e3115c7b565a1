// Small helpers for the export step tests: a school document written as XML
// text from tables of field values, and a workspace whose tables can be read
// back row by row.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "exchange/dbf_table.h"
#include "exchange/exchange_document.h"
#include "exchange/text_codec.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace enlacor::testing {

using Fields = std::vector<std::string>;

// Builds the XML text of an exchange document, list by list. Field texts are
// UTF-8 and written as given (blanks included), with markup escaped.
class SchoolDocument {
 public:
  SchoolDocument& List(const std::string& name, const std::vector<Fields>& entries) {
    body_ += "<listasal seq=\"" + name + "\">";
    for (const Fields& fields : entries) {
      body_ += "<listasal>";
      for (const std::string& value : fields) body_ += "<salida>" + Escaped(value) + "</salida>";
      body_ += "</listasal>";
    }
    body_ += "</listasal>";
    return *this;
  }
  std::string Xml() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><SALIDAS>" + body_ + "</SALIDAS></SERVICIO>";
  }
  ExchangeDocument Parse() const { return ExchangeDocument::Parse(Xml()); }

 private:
  static std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '&') out += "&amp;";
      else if (c == '<') out += "&lt;";
      else if (c == '>') out += "&gt;";
      else out += c;
    }
    return out;
  }
  std::string body_;
};

// Windows-1252 text of a UTF-8 literal, as the tables hold it.
inline std::string Ansi(const std::string& utf8) { return ToTableText(utf8).text; }

// A temporary workspace and an export run on it.
class ExportStepTest : public ::testing::Test {
 protected:
  ExportStepTest() : workspace_(dir_.path()), run_(host_, state_, workspace_) {}

  void Use(const SchoolDocument& document) { run_.UseDocument(document.Parse()); }

  // Steps 1 to 7, everything but the day grid, on the document in use.
  void ExportThroughAssignments() {
    run_.ExportSubjects();
    run_.ExportTasks();
    run_.ExportCourseSubjects();
    run_.ExportTeachers();
    run_.ExportRooms();
    run_.ExportCoursesAndGroups();
    run_.ExportAssignments();
  }

  // The text of `columns` for every row of `id`, in stored order.
  std::vector<Fields> Rows(TableId id, std::initializer_list<const char*> columns) const {
    std::vector<Fields> rows;
    DbfTable table = workspace_.Open(id, OpenMode::kShared);
    for (table.First(); !table.Eof(); table.Next()) {
      Fields row;
      for (const char* column : columns) row.push_back(table.GetText(column));
      rows.push_back(std::move(row));
    }
    return rows;
  }
  std::vector<std::string> Column(TableId id, const char* column) const {
    std::vector<std::string> values;
    for (const Fields& row : Rows(id, {column})) values.push_back(row[0]);
    return values;
  }

  TempDir dir_;
  Workspace workspace_;
  RecordingHost host_;
  SharedState state_;
  ExportRun run_;
};

}  // namespace enlacor::testing
