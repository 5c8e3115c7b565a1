// The pre-run report on steps 1 to 7: the duplicate filter and the short
// codes (through the allocator itself, with each step's settings and in the
// steps' order), values longer than their columns, and course keys that
// match no course or no group.
#include <set>
#include <unordered_map>

#include "exchange/text_codec.h"
#include "export/catalogue_reader.h"
#include "export/export_report_parts.h"
#include "export/short_code.h"

namespace enlacor::report {
namespace {

constexpr std::size_t kCourseKeyWidth = 12;  // CURSOST.CLAVE, GRUPOST.CLAVECURSO, ASIGT.CLAVECURSO

// An entry whose long code the duplicate filter took.
struct LongCodeKeeper {
  std::string list;
  std::size_t entry;
  std::string long_code;
};

// What the catalogue passes learn for the later ones.
struct CatalogueFacts {
  std::set<std::size_t> kept_subjects;  // MATERIAS entries with an ASIGNOMT row
  std::set<std::size_t> kept_tasks;     // TAREAS entries with an ASIGNOMT row
  std::set<std::string> course_keys;    // CURSOST.CLAVE as read back
  std::unordered_map<std::string, std::string> course_descriptions;  // by CLAVE, first stored row
  std::set<std::string> group_course_keys;  // GRUPOST.CLAVECURSO as read back
};

void ReportChangedCode(Findings& findings, std::string_view list, std::size_t entry, Column column,
                       const std::string& base, const std::string& code) {
  if (code == base) return;
  findings.Add(FindingKind::kChangedShortCode, std::string(list), entry,
               {{"tabla", ColumnLabel(column)}, {"base", FromTableText(base)}, {"codigo", FromTableText(code)}},
               ColumnLabel(column) + ": base " + Quoted(base) + ", código " + Quoted(code));
}

// ExportSubjects and ExportTasks: one duplicate filter and one used-code
// list for both lists, MATERIAS first.
void CheckSubjectAndTaskCodes(const ExchangeDocument& document, Findings& findings, CatalogueFacts& facts) {
  UsedCodeList used_codes;
  UsedCodeList seen_long_codes;
  std::unordered_map<std::string, LongCodeKeeper> keepers;  // by folded long code
  const auto pass = [&](const char* list, std::set<std::size_t>& kept) {
    for (const CatalogueEntry& entry : ReadCatalogue(document, list, {2})) {
      const std::string& long_code = entry.values[0];
      if (!TakeLongCode(long_code, seen_long_codes)) {
        const auto found = keepers.find(FoldedText(long_code));
        const LongCodeKeeper* keeper = found != keepers.end() ? &found->second : nullptr;
        const std::string where = keeper ? keeper->list + " " + std::to_string(keeper->entry) : "";
        findings.Add(FindingKind::kDuplicateLongCode, list, entry.number,
                     {{"codigo_largo", FromTableText(long_code)}, {"conservado_en", where}},
                     "código largo " + Quoted(long_code) + " repetido: queda fuera de ASIGNOMT; lo conserva " +
                         where + (keeper ? " (" + Quoted(keeper->long_code) + ")" : ""));
        continue;
      }
      keepers.try_emplace(FoldedText(long_code), LongCodeKeeper{list, entry.number, long_code});
      kept.insert(entry.number);
      const std::string code = AllocateShortCode(long_code, used_codes, kSubjectAndTaskCodes);
      ReportChangedCode(findings, list, entry.number, {TableId::kAsignomt, "COD"}, long_code, code);
    }
  };
  pass("MATERIAS", facts.kept_subjects);
  pass("TAREAS", facts.kept_tasks);
}

void CheckOwnListCodes(const ExchangeDocument& document, Findings& findings, const char* list,
                       std::size_t position, Column column, AllocationSettings settings) {
  UsedCodeList used_codes;
  for (const CatalogueEntry& entry : ReadCatalogue(document, list, {position})) {
    const std::string& base = entry.values[0];
    ReportChangedCode(findings, list, entry.number, column, base, AllocateShortCode(base, used_codes, settings));
  }
}

void ReportLongCourseKey(Findings& findings, const char* list, std::size_t entry, const std::string& field,
                         const std::string& key, const char* consequence) {
  if (key.size() <= kCourseKeyWidth) return;
  findings.Add(FindingKind::kLongCourseKey, list, entry,
               {{"campo", field}, {"clave", FromTableText(key)}, {"ancho", std::to_string(kCourseKeyWidth)}},
               "campo " + field + ": la clave de curso " + Quoted(key) + " tiene " + std::to_string(key.size()) +
                   " caracteres y se guarda con " + std::to_string(kCourseKeyWidth) + ": " + consequence);
}

// ExportCoursesAndGroups, CURSOS pass.
void CheckCourses(const ExchangeDocument& document, Findings& findings, CatalogueFacts& facts) {
  constexpr Column kDescription{TableId::kCursost, "DESCRICUR"};
  for (const CatalogueEntry& entry : ReadCatalogue(document, "CURSOS", {0, 1, 3, 4})) {
    const std::string& key = entry.values[0];
    ReportLongCourseKey(findings, "CURSOS", entry.number, "0", key,
                        "ningún grupo ni materia encontrará este curso");
    CheckCut(findings, "CURSOS", entry.number, "1", entry.values[1], {kDescription});
    CheckCut(findings, "CURSOS", entry.number, "3", entry.values[2], {{TableId::kCursost, "NIVEL"}});
    CheckCut(findings, "CURSOS", entry.number, "4", entry.values[3], {{TableId::kCursost, "CURSO"}});
    const std::string stored_key = StoredText(key, kCourseKeyWidth);
    facts.course_keys.insert(stored_key);
    facts.course_descriptions.try_emplace(stored_key, StoredText(entry.values[1], WidthOf(kDescription)));
  }
}

// ExportCoursesAndGroups, GRUPOS pass: the course is found by the group's
// whole course key among the stored course keys.
void CheckGroups(const ExchangeDocument& document, Findings& findings, CatalogueFacts& facts) {
  for (const CatalogueEntry& entry : ReadCatalogue(document, "GRUPOS", {0, 2})) {
    const std::string& group_key = entry.values[0];
    const std::string& course_key = entry.values[1];
    CheckCut(findings, "GRUPOS", entry.number, "0", group_key, {{TableId::kGrupost, "CLAVE"}});
    ReportLongCourseKey(findings, "GRUPOS", entry.number, "2", course_key,
                        "ninguna materia encontrará este grupo");
    const auto course = facts.course_descriptions.find(course_key);
    if (course == facts.course_descriptions.end()) {
      findings.Add(FindingKind::kGroupWithoutCourse, "GRUPOS", entry.number, {{"clave_curso", FromTableText(course_key)}},
                   "el curso " + Quoted(course_key) +
                       " no existe en CURSOS: el grupo queda sin nivel, curso ni descripción");
    }
    const std::string description =
        "(" + group_key + ") " + (course != facts.course_descriptions.end() ? course->second : std::string());
    CheckCut(findings, "GRUPOS", entry.number, "0", description, {{TableId::kGrupost, "DESCRIP"}});
    facts.group_course_keys.insert(StoredText(course_key, kCourseKeyWidth));
  }
}

// ExportCourseSubjects and ExportAssignments on MATERIAS.
void CheckSubjects(const ExchangeDocument& document, Findings& findings, const CatalogueFacts& facts) {
  for (const CatalogueEntry& entry : ReadCatalogue(document, "MATERIAS", {0, 1, 2, 3})) {
    const std::size_t n = entry.number;
    const std::string& course_key = entry.values[3];
    const bool kept = facts.kept_subjects.count(n) != 0;
    const bool has_groups = facts.group_course_keys.count(course_key) != 0;
    ReportLongCourseKey(findings, "MATERIAS", n, "3", course_key, "ningún grupo la encontrará");
    if (!has_groups) {
      findings.Add(FindingKind::kSubjectWithoutGroups, "MATERIAS", n, {{"clave_curso", FromTableText(course_key)}},
                   "ningún grupo pertenece al curso " + Quoted(course_key) + ": la materia no tiene filas en ASIGT");
    }
    CheckCut(findings, "MATERIAS", n, "0", entry.values[0],
             Columns({{TableId::kAsignomt2, "MATERIA"}}).AddIf(has_groups, {TableId::kAsigt, "CLAVE"}));
    CheckCut(findings, "MATERIAS", n, "1", entry.values[1],
             Columns({{TableId::kAsignomt2, "NOMBRE"}}).AddIf(kept, {TableId::kAsignomt, "NOMBRE"}));
    CheckCut(findings, "MATERIAS", n, "2", entry.values[2],
             Columns({{TableId::kAsignomt2, "CODLARGO"}})
                 .AddIf(kept, {TableId::kAsignomt, "CODLARGO"})
                 .AddIf(has_groups, {TableId::kAsigt, "CASIG"}));
  }
}

void CheckTasks(const ExchangeDocument& document, Findings& findings, const CatalogueFacts& facts) {
  for (const CatalogueEntry& entry : ReadCatalogue(document, "TAREAS", {0, 1, 2})) {
    const std::size_t n = entry.number;
    const bool kept = facts.kept_tasks.count(n) != 0;
    CheckCut(findings, "TAREAS", n, "0", entry.values[0],
             Columns({{TableId::kAsignomt2, "MATERIA"}}).AddIf(kept, {TableId::kAsignomt, "CODTAREA"}));
    CheckCut(findings, "TAREAS", n, "1", entry.values[1],
             Columns({{TableId::kAsignomt2, "NOMBRE"}}).AddIf(kept, {TableId::kAsignomt, "NOMBRE"}));
    CheckCut(findings, "TAREAS", n, "2", entry.values[2],
             Columns({{TableId::kAsignomt2, "CODLARGO"}}).AddIf(kept, {TableId::kAsignomt, "CODLARGO"}));
  }
}

void CheckTeachersAndRooms(const ExchangeDocument& document, Findings& findings) {
  for (const CatalogueEntry& entry : ReadCatalogue(document, "PROFESORES", {0, 1, 2})) {
    CheckCut(findings, "PROFESORES", entry.number, "0", entry.values[0], {{TableId::kProft, "X_EMPLEADO"}});
    CheckCut(findings, "PROFESORES", entry.number, "1", entry.values[1], {{TableId::kProft, "F_TOMAPOS"}});
    CheckCut(findings, "PROFESORES", entry.number, "2", entry.values[2], {{TableId::kProft, "NOMBRE"}});
  }
  for (const CatalogueEntry& entry : ReadCatalogue(document, "AULAS", {0, 1})) {
    CheckCut(findings, "AULAS", entry.number, "0", entry.values[0], {{TableId::kAulat, "DEPCENTRO"}});
    CheckCut(findings, "AULAS", entry.number, "1", entry.values[1], {{TableId::kAulat, "NOMBRE"}});
  }
}

}  // namespace

void FindCatalogueFindings(const ExchangeDocument& document, Findings& findings) {
  CatalogueFacts facts;
  CheckSubjectAndTaskCodes(document, findings, facts);
  CheckOwnListCodes(document, findings, "PROFESORES", 3, {TableId::kProft, "ABREV"}, kTeacherCodes);
  CheckOwnListCodes(document, findings, "AULAS", 2, {TableId::kAulat, "ABREV"}, kRoomCodes);
  CheckOwnListCodes(document, findings, "GRUPOS", 1, {TableId::kGrupost, "ABREV"}, kGroupCodes);
  CheckCourses(document, findings, facts);
  CheckGroups(document, findings, facts);
  CheckSubjects(document, findings, facts);
  CheckTasks(document, findings, facts);
  CheckTeachersAndRooms(document, findings);
}

}  // namespace enlacor::report
