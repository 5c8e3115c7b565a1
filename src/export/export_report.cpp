#include "export/export_report.h"

#include <algorithm>
#include <array>
#include <map>

#include "exchange/text_codec.h"
#include "export/export_report_parts.h"
#include "export/preflight_check.h"

namespace enlacor {
namespace {

struct KindInfo {
  FindingKind kind;
  const char* id;
  const char* heading;
};

constexpr std::array<KindInfo, 12> kKinds = {{
    {FindingKind::kSkippedEntry, "entrada_omitida", "Entrada omitida"},
    {FindingKind::kMissingField, "campo_ausente", "Campo ausente"},
    {FindingKind::kDuplicateLongCode, "codigo_largo_repetido", "Código largo repetido"},
    {FindingKind::kChangedShortCode, "codigo_corto_cambiado", "Código corto cambiado"},
    {FindingKind::kCutValue, "valor_recortado", "Valor recortado"},
    {FindingKind::kLongCourseKey, "clave_curso_larga", "Clave de curso larga"},
    {FindingKind::kSubjectWithoutGroups, "materia_sin_grupos", "Materia sin grupos"},
    {FindingKind::kGroupWithoutCourse, "grupo_sin_curso", "Grupo sin curso"},
    {FindingKind::kPeriodNotRenumbered, "periodo_sin_renumerar", "Periodo sin renumerar"},
    {FindingKind::kFrameCodeChanged, "codigo_marco_cambiado", "Código de marco cambiado"},
    {FindingKind::kUnrepresentableCharacters, "caracteres_no_representables", "Caracteres no representables"},
    {FindingKind::kBlockingValue, "valor_bloqueante", "Error"},
}};

const KindInfo& InfoOf(FindingKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

// The lists in the order the steps read them; a finding's group.
constexpr std::array<std::string_view, 8> kListOrder = {
    "MATERIAS", "TAREAS", "PROFESORES", "AULAS", "CURSOS", "GRUPOS", "JORNADAS", "INTERVALOS"};

std::size_t ListRank(std::string_view list) {
  return static_cast<std::size_t>(std::find(kListOrder.begin(), kListOrder.end(), list) - kListOrder.begin());
}

void FindBlocking(const ExchangeDocument& document, report::Findings& findings) {
  for (BlockingValue& value : FindBlockingValues(document)) {
    findings.Add(FindingKind::kBlockingValue, value.list, value.entry,
                 {{"campo", value.field}, {"valor", value.value}}, value.message);
  }
}

void GroupByListAndEntry(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    const std::size_t rank_a = ListRank(a.list);
    const std::size_t rank_b = ListRank(b.list);
    return rank_a != rank_b ? rank_a < rank_b : a.entry < b.entry;
  });
}

}  // namespace

Severity SeverityOf(FindingKind kind) {
  return kind == FindingKind::kBlockingValue ? Severity::kError : Severity::kWarning;
}

std::string_view KindId(FindingKind kind) { return InfoOf(kind).id; }

std::string_view KindHeading(FindingKind kind) { return InfoOf(kind).heading; }

std::size_t ExportReport::Count(Severity severity) const {
  return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(), [severity](const Finding& f) {
    return SeverityOf(f.kind) == severity;
  }));
}

ExportReport BuildExportReport(const ExchangeDocument& document,
                               const std::optional<std::string>& frame_selection) {
  ExportReport report;
  report::Findings findings;
  FindBlocking(document, findings);
  report::FindEntryShapes(document, findings);
  report::FindCatalogueFindings(document, findings);
  report::FindDayGridFindings(document, frame_selection, findings, report);
  report.findings = findings.Take();
  GroupByListAndEntry(report.findings);
  return report;
}

namespace report {

void Findings::Add(FindingKind kind, std::string list, std::size_t entry, std::vector<FindingValue> values,
                   std::string text) {
  findings_.push_back(Finding{kind, std::move(list), entry, std::move(values), std::move(text)});
}

std::size_t WidthOf(Column column) {
  for (const ColumnDef& def : SchemaOf(column.table).columns) {
    if (std::string_view(def.name) == column.name) return static_cast<std::size_t>(def.width);
  }
  return 0;
}

std::string ColumnLabel(Column column) {
  return std::string(SchemaOf(column.table).name) + "." + column.name;
}

std::string StoredText(std::string_view table_text, std::size_t width) {
  std::string_view stored = table_text.substr(0, width);
  while (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
  return std::string(stored);
}

std::string Quoted(std::string_view table_text) { return "\"" + FromTableText(table_text) + "\""; }

void CheckCut(Findings& findings, std::string_view list, std::size_t entry, std::string_view field,
              std::string_view value, const Columns& columns) {
  std::map<std::size_t, std::string> labels_by_width;  // widths the value exceeds
  for (const Column& column : columns.All()) {
    const std::size_t width = WidthOf(column);
    if (value.size() <= width) continue;
    std::string& labels = labels_by_width[width];
    labels += (labels.empty() ? "" : ", ") + ColumnLabel(column);
  }
  for (const auto& [width, labels] : labels_by_width) {
    const std::string kept = FromTableText(value.substr(0, width));
    const std::string lost = FromTableText(value.substr(width));
    findings.Add(FindingKind::kCutValue, std::string(list), entry,
                 {{"campo", std::string(field)},
                  {"columna", labels},
                  {"ancho", std::to_string(width)},
                  {"valor", FromTableText(value)},
                  {"se_pierde", lost}},
                 "campo " + std::string(field) + " " + Quoted(value) + " en " + labels + " (" +
                     std::to_string(width) + " caracteres): queda \"" + kept + "\", se pierde \"" + lost + "\"");
  }
}

}  // namespace report
}  // namespace enlacor
