// The pre-run report written out: as plain text for a person (Spanish, one
// line per finding, grouped by list) and as JSON for scripts.
//
// JSON layout:
//   {"documento": "...", "marcos_revisados": ["MANANA", ...],
//    "todos_los_marcos": true|false, "errores": N, "avisos": N,
//    "hallazgos": [{"tipo": "valor_recortado", "gravedad": "aviso"|"error",
//                   "lista": "MATERIAS", "entrada": 3,
//                   "valores": {"campo": "2", ...}, "texto": "..."}, ...]}
// Every string is UTF-8 with JSON escapes; the findings keep the report's
// order.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "export/export_report.h"

namespace enlacor {

void WriteReportText(const ExportReport& report, const std::string& document, std::ostream& out);
void WriteReportJson(const ExportReport& report, const std::string& document, std::ostream& out);

// `text` as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace enlacor
