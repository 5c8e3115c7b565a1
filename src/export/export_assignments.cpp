// Step 7 of the export run: the teaching assignments (ASIGT), one row for
// every subject entry and every group of the subject's course, with the
// weekly hours, the session pattern and the short code of a task chosen
// from the subject's name.
//
// GRUPOST and ASIGNOMT are opened exclusively, as Horvana's table components
// open them, and read once into memory; the look-ups below return exactly
// what a scan of each table from its first row in stored order returns.
#include <unordered_map>

#include "exchange/text_codec.h"
#include "export/catalogue_reader.h"
#include "export/export_run.h"
#include "export/preflight_check.h"
#include "export/weekly_hours.h"

namespace enlacor {
namespace {

struct GroupRow {
  std::string code;  // ABREV
  std::string level;
  std::string course;
  std::string letter;
};

// The GRUPOST rows by CLAVECURSO, each list in stored order.
using GroupsByCourse = std::unordered_map<std::string, std::vector<GroupRow>>;
// The COD of the first ASIGNOMT row of each CODTAREA.
using TaskCodes = std::unordered_map<std::string, std::string>;

GroupsByCourse ReadGroups(DbfTable& groups) {
  GroupsByCourse index;
  for (groups.First(); !groups.Eof(); groups.Next()) {
    index[groups.GetText("CLAVECURSO")].push_back(GroupRow{
        groups.GetText("ABREV"), groups.GetText("NIVEL"), groups.GetText("CURSO"), groups.GetText("GRUPO")});
  }
  return index;
}

TaskCodes ReadTaskCodes(DbfTable& catalogue) {
  TaskCodes index;
  for (catalogue.First(); !catalogue.Eof(); catalogue.Next()) {
    index.try_emplace(catalogue.GetText("CODTAREA"), catalogue.GetText("COD"));
  }
  return index;
}

// The task of a subject, by words of its name (letters a to z upper-cased):
// a guard duty, a library duty, or teaching; the later test wins.
const char* TaskCodeFor(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const char* task = "156";
  if (name.find("GUARD") != std::string::npos) task = "281";
  if (name.find("BIBLIO") != std::string::npos) task = "286";
  return task;
}

struct Subject {
  const std::string& key;
  const std::string& name;
  const std::string& code;
  const std::string& course_key;
  const std::string& minutes;
};

void AppendAssignment(DbfTable& assignments, const Subject& subject, const GroupRow& group, int hours,
                      const std::string* task_code) {
  assignments.Append();
  assignments.SetText("CASIG", subject.code);
  assignments.SetText("CGRUP", group.code);
  assignments.SetText("CAULA", "");
  assignments.SetText("TURNO", "");
  assignments.SetText("NIVEL", group.level);
  assignments.SetText("CURSO", group.course);
  assignments.SetText("GRUPO", group.letter);
  assignments.SetFloat("HORAS", hours);
  assignments.SetText("SESIONES", SessionPattern(hours));
  assignments.SetText("CLAVE", subject.key);
  assignments.SetText("CLAVECURSO", subject.course_key);
  if (task_code) assignments.SetText("CTAREA", *task_code);
  assignments.Post();
}

}  // namespace

void ExportRun::ExportAssignments() {
  workspace_.RecreateTable(TableId::kAsigt);
  DbfTable assignments = workspace_.Open(TableId::kAsigt, OpenMode::kShared);
  DbfTable groups = workspace_.Open(TableId::kGrupost, OpenMode::kExclusive);
  DbfTable catalogue = workspace_.Open(TableId::kAsignomt, OpenMode::kExclusive);
  const GroupsByCourse groups_by_course = ReadGroups(groups);
  const TaskCodes task_codes = ReadTaskCodes(catalogue);

  for (const CatalogueEntry& entry : ReadCatalogue(*document_, "MATERIAS", {0, 1, 2, 3, 4})) {
    const Subject subject{entry.values[0], entry.values[1], entry.values[2], entry.values[3], entry.values[4]};
    const auto course_groups = groups_by_course.find(subject.course_key);
    if (course_groups == groups_by_course.end()) continue;

    // The pre-flight check has refused such minutes already.
    if (!IsValidWeeklyMinutes(subject.minutes))
      throw ExportCheckError(BadWeeklyMinutesMessage(entry.number, FromTableText(subject.minutes)));
    const int hours = WeeklyHours(ParseWeeklyMinutes(subject.minutes));
    const auto task = task_codes.find(TaskCodeFor(subject.name));
    const std::string* task_code = task != task_codes.end() ? &task->second : nullptr;

    for (const GroupRow& group : course_groups->second) {
      AppendAssignment(assignments, subject, group, hours, task_code);
    }
  }
  assignments.Close();
  groups.Close();
  catalogue.Close();
}

}  // namespace enlacor
