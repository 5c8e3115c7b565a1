#include "export/export_run.h"

namespace enlacor {

void ExportRun::ExportDayGrid() {}

}  // namespace enlacor
