// Steps 1 to 3 of the export run: the subject and task catalogues ASIGNOMT
// (under unique short codes) and ASIGNOMT2 (under the first four characters
// of the long code, with no uniqueness).
#include "export/catalogue_reader.h"
#include "export/export_run.h"

namespace enlacor {
namespace {

constexpr std::size_t kCourseSubjectCodeLength = 4;

std::string FirstCharacters(const std::string& text, std::size_t count) { return text.substr(0, count); }

// One ASIGNOMT row, subject or task, under a unique short code. An entry
// whose long code was already taken (case aside) gets no row.
struct CodedRow {
  const std::string& name;
  const std::string& long_code;
  const std::string* task_code;  // null for a subject
};

void AppendCodedRow(DbfTable& table, UsedCodeList& used_codes, UsedCodeList& seen_long_codes, const CodedRow& row) {
  if (!TakeLongCode(row.long_code, seen_long_codes)) return;
  const std::string code = AllocateShortCode(row.long_code, used_codes, kSubjectAndTaskCodes);
  table.Append();
  table.SetText("COD", code);
  table.SetText("CODLARGO", row.long_code);
  table.SetText("NOMBRE", row.name);
  if (row.task_code) table.SetText("CODTAREA", *row.task_code);
  table.SetBoolean("ESTAREA", row.task_code != nullptr);
  table.Post();
}

}  // namespace

void ExportRun::ExportSubjects() {
  // The shared code lists belong to this run: they start empty here, so no
  // code of an earlier, failed run is ever seen.
  UsedCodes = UsedCodeList();
  SeenLongCodes = UsedCodeList();

  workspace_.RecreateTable(TableId::kAsignomt);
  DbfTable table = workspace_.Open(TableId::kAsignomt, OpenMode::kShared);
  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "MATERIAS", {1, 2})) {
    AppendCodedRow(table, UsedCodes, SeenLongCodes, {entry.values[0], entry.values[1], nullptr});
  }
  table.Close();
}

void ExportRun::ExportTasks() {
  const std::vector<CatalogueEntry> tasks = ReadCatalogue(*document_, "TAREAS", {1, 2, 0});
  DbfTable table = workspace_.Open(TableId::kAsignomt, OpenMode::kShared);
  for (const CatalogueEntry& entry : tasks) {
    AppendCodedRow(table, UsedCodes, SeenLongCodes, {entry.values[0], entry.values[1], &entry.values[2]});
  }
  table.Close();
  UsedCodes = UsedCodeList();
  SeenLongCodes = UsedCodeList();
}

void ExportRun::ExportCourseSubjects() {
  workspace_.RecreateTable(TableId::kAsignomt2);
  DbfTable table = workspace_.Open(TableId::kAsignomt2, OpenMode::kShared);
  const auto append = [&table](const CatalogueEntry& entry, const char* own_column) {
    const std::string& long_code = entry.values[3];
    table.Append();
    table.SetText("COD", FirstCharacters(long_code, kCourseSubjectCodeLength));
    table.SetText("CODLARGO", long_code);
    table.SetText("NOMBRE", entry.values[1]);
    table.SetText("MATERIA", entry.values[0]);
    table.SetText(own_column, entry.values[2]);
    table.Post();
  };
  // Subjects carry their course key, tasks their activity mark, both from
  // field 3.
  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "MATERIAS", {0, 1, 3, 2})) {
    append(entry, "CLAVECURSO");
  }
  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "TAREAS", {0, 1, 3, 2})) {
    append(entry, "ALECTIVA");
  }
  table.Close();
}

}  // namespace enlacor
