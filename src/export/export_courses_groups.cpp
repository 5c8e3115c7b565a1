// Step 6 of the export run: courses (CURSOST) and groups (GRUPOST), each
// group under a short code and with the level, course number and description
// of its course.
#include <unordered_map>

#include "export/catalogue_reader.h"
#include "export/export_run.h"

namespace enlacor {
namespace {

// What a group takes from its course's CURSOST row, as the table holds it.
struct CourseRow {
  std::string level;
  std::string course;
  std::string description;
};

// The CURSOST rows by CLAVE as read back, the first stored row of each key:
// what a scan from the first row in stored order finds.
using CourseIndex = std::unordered_map<std::string, CourseRow>;

void WriteCourses(const ExchangeDocument& document, DbfTable& courses) {
  for (const CatalogueEntry& entry : ReadCatalogue(document, "CURSOS", {0, 1, 3, 4})) {
    const std::string& level = entry.values[2];
    courses.Append();
    courses.SetText("CLAVE", entry.values[0]);
    courses.SetText("NIVEL", level.empty() ? "NIV" : level);
    courses.SetText("CURSO", entry.values[3]);
    courses.SetText("DESCRICUR", entry.values[1]);
    courses.Post();
  }
}

CourseIndex ReadCourses(DbfTable& courses) {
  CourseIndex index;
  for (courses.First(); !courses.Eof(); courses.Next()) {
    index.try_emplace(courses.GetText("CLAVE"),
                      CourseRow{courses.GetText("NIVEL"), courses.GetText("CURSO"), courses.GetText("DESCRICUR")});
  }
  return index;
}

// The letter of a group: the last character of its whole code.
std::string GroupLetter(const std::string& group_code) {
  return group_code.empty() ? std::string() : group_code.substr(group_code.size() - 1);
}

void WriteGroups(const ExchangeDocument& document, const CourseIndex& courses, DbfTable& groups) {
  UsedCodeList used_codes;
  const CourseRow no_course;
  for (const CatalogueEntry& entry : ReadCatalogue(document, "GRUPOS", {0, 1, 2})) {
    const std::string& group_key = entry.values[0];
    const std::string& group_code = entry.values[1];
    const std::string& course_key = entry.values[2];
    const auto found = courses.find(course_key);
    const CourseRow& course = found != courses.end() ? found->second : no_course;
    groups.Append();
    groups.SetText("ABREV", AllocateShortCode(group_code, used_codes, kGroupCodes));
    groups.SetText("TURNO", "");
    groups.SetText("NIVEL", course.level);
    groups.SetText("CURSO", course.course);
    groups.SetText("GRUPO", GroupLetter(group_code));
    groups.SetText("DESCRIP", "(" + group_key + ") " + course.description);
    groups.SetText("MARCO", "0");
    groups.SetText("CLAVE", group_key);
    groups.SetText("CLAVECURSO", course_key);
    groups.Post();
  }
}

}  // namespace

void ExportRun::ExportCoursesAndGroups() {
  workspace_.DeleteTableFiles(TableId::kGrupost);
  workspace_.DeleteTableFiles(TableId::kCursost);
  workspace_.CreateTable(TableId::kCursost);
  workspace_.CreateTable(TableId::kGrupost);

  DbfTable courses = workspace_.Open(TableId::kCursost, OpenMode::kShared);
  WriteCourses(*document_, courses);
  const CourseIndex course_index = ReadCourses(courses);

  DbfTable groups = workspace_.Open(TableId::kGrupost, OpenMode::kShared);
  WriteGroups(*document_, course_index, groups);
  groups.Close();
  courses.Close();
}

}  // namespace enlacor
