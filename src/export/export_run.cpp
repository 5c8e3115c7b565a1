#include "export/export_run.h"

#include "app/core/run_frame.h"
#include "export/preflight_check.h"

namespace enlacor {

ExportRun::ExportRun(RunHost& host, SharedState& state, Workspace workspace)
    : host_(host), state_(state), workspace_(std::move(workspace)) {}

void ExportRun::BExportarClick() {
  const auto path = BeginRun(host_, state_);
  if (!path) return;
  LoadDocument(*path);
  host_.SetBusyCursor();
  ExportAll();
  host_.RestoreCursor();
  FinishRun(host_, state_);
}

void ExportRun::LoadDocument(const std::filesystem::path& path) {
  UseDocument(ExchangeDocument::Load(path));
}

void ExportRun::UseDocument(ExchangeDocument document) {
  CheckDocumentForExport(document);
  document_.emplace(std::move(document));
}

void ExportRun::ExportAll() {
  // A table held by Horvana stops the run before the first table goes, so a
  // workspace is never left half rewritten for it.
  workspace_.CheckNoneHeld(ExportTables());
  ExportSubjects();
  ExportTasks();
  ExportCourseSubjects();
  ExportTeachers();
  ExportRooms();
  ExportCoursesAndGroups();
  ExportAssignments();
  ExportDayGrid();
}

}  // namespace enlacor
