// Placeholders for the export steps not written yet; each step's own file
// replaces its placeholder here.
#include <stdexcept>

#include "export/export_run.h"

namespace enlacor {

void ExportRun::ExportSubjects() {}
void ExportRun::ExportTasks() {}
void ExportRun::ExportCourseSubjects() {}
void ExportRun::ExportTeachers() {}
void ExportRun::ExportRooms() {}
void ExportRun::ExportCoursesAndGroups() {}
void ExportRun::ExportAssignments() {}

}  // namespace enlacor
