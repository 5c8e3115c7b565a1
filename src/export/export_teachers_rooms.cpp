// Steps 4 and 5 of the export run: teachers (PROFT) and rooms (AULAT), each
// under a short code unique within its own table.
#include "export/catalogue_reader.h"
#include "export/export_run.h"

namespace enlacor {

void ExportRun::ExportTeachers() {
  workspace_.RecreateTable(TableId::kProft);
  UsedCodeList used_codes;
  DbfTable table = workspace_.Open(TableId::kProft, OpenMode::kShared);
  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "PROFESORES", {0, 1, 2, 3})) {
    const std::string code = AllocateShortCode(entry.values[3], used_codes, kTeacherCodes);
    table.Append();
    table.SetText("ABREV", code);
    table.SetText("NOMBRE", entry.values[2]);
    table.SetText("X_EMPLEADO", entry.values[0]);
    table.SetText("F_TOMAPOS", entry.values[1]);
    table.Post();
  }
  table.Close();
}

void ExportRun::ExportRooms() {
  workspace_.RecreateTable(TableId::kAulat);
  UsedCodeList used_codes;
  DbfTable table = workspace_.Open(TableId::kAulat, OpenMode::kShared);
  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "AULAS", {0, 1, 2})) {
    const std::string code = AllocateShortCode(entry.values[2], used_codes, kRoomCodes);
    table.Append();
    table.SetText("ABREV", code);
    table.SetText("NOMBRE", entry.values[1]);
    table.SetText("DEPCENTRO", entry.values[0]);
    table.Post();
  }
  table.Close();
}

}  // namespace enlacor
