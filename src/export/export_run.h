// The export run (BExportarClick): from an exchange document to Horvana's
// eight input tables in the workspace directory.
//
// The run begins with the shared frame (file dialog, existence test), loads
// the document, checks it for every value that would stop a step (so a bad
// document never leaves a half-rewritten workspace), then calls its eight
// steps in a fixed order and ends with the shared frame. Each step
// re-creates its tables and fills them from one or two lists of the
// document. A failure raises an exception that ends the run; the host
// reports it.
//
// The short-code lists UsedCodes and SeenLongCodes belong to one run: every
// run starts with fresh, empty lists (ExportSubjects makes them afresh, and
// ExportTasks discards them at its end), so a run after a failed one never
// sees the failed run's codes.
#pragma once

#include <filesystem>
#include <optional>

#include "app/core/run_host.h"
#include "app/core/shared_state.h"
#include "exchange/exchange_document.h"
#include "exchange/timetable_tables.h"
#include "export/short_code.h"

namespace enlacor {

class ExportRun {
 public:
  ExportRun(RunHost& host, SharedState& state, Workspace workspace);

  // The whole run, frame included.
  void BExportarClick();

  // The loaded document and the steps, public so that tests can drive the
  // steps one by one. LoadDocument also runs the pre-flight check.
  void LoadDocument(const std::filesystem::path& path);
  void UseDocument(ExchangeDocument document);  // as LoadDocument, from memory
  const ExchangeDocument& Document() const { return *document_; }

  void ExportSubjects();          // ASIGNOMT, subject rows
  void ExportTasks();             // ASIGNOMT, task rows
  void ExportCourseSubjects();    // ASIGNOMT2
  void ExportTeachers();          // PROFT
  void ExportRooms();             // AULAT
  void ExportCoursesAndGroups();  // CURSOST, GRUPOST
  void ExportAssignments();       // ASIGT
  void ExportDayGrid();           // DIASHORAST

  // Runs the eight steps in order on the loaded document.
  void ExportAll();

 private:
  RunHost& host_;
  SharedState& state_;
  Workspace workspace_;
  std::optional<ExchangeDocument> document_;
  UsedCodeList UsedCodes;
  UsedCodeList SeenLongCodes;
};

}  // namespace enlacor
