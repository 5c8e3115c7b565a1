#include "cli/report_output.h"

#include <cstdio>

namespace enlacor {
namespace {

std::string Joined(const std::vector<std::string>& texts, std::string_view separator) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : std::string(separator)) + text;
  return joined;
}

void WriteFramesLine(const ExportReport& report, std::ostream& out) {
  std::vector<std::string> quoted;
  for (const std::string& frame : report.checked_frames) quoted.push_back("\"" + frame + "\"");
  if (report.every_frame) {
    out << "Sin --frames: se revisan los periodos de todos los marcos horarios como si se eligieran: "
        << Joined(quoted, ", ") << '\n';
  } else {
    out << "Marcos horarios revisados: " << Joined(quoted, ", ") << '\n';
  }
}

void WriteVerdict(const ExportReport& report, std::ostream& out) {
  const std::size_t errors = report.Count(Severity::kError);
  const std::size_t warnings = report.Count(Severity::kWarning);
  out << "Resumen: " << errors << (errors == 1 ? " error, " : " errores, ") << warnings
      << (warnings == 1 ? " aviso.\n" : " avisos.\n");
  if (errors > 0) {
    out << "La exportación se detendría: corrija los errores antes de exportar.\n";
  } else if (warnings > 0) {
    out << "La exportación se puede hacer, pero cambia o pierde los datos señalados.\n";
  } else {
    out << "La exportación no pierde ni cambia ningún dato.\n";
  }
}

}  // namespace

void WriteReportText(const ExportReport& report, const std::string& document, std::ostream& out) {
  out << "Revisión de la exportación de " << document << '\n';
  WriteFramesLine(report, out);
  const std::string* list = nullptr;
  for (const Finding& finding : report.findings) {
    if (!list || *list != finding.list) {
      list = &finding.list;
      out << '\n' << finding.list << '\n';
    }
    out << "  [" << KindHeading(finding.kind) << "] entrada " << finding.entry << ": " << finding.text << '\n';
  }
  out << '\n';
  WriteVerdict(report, out);
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': json += "\\\""; break;
      case '\\': json += "\\\\"; break;
      case '\n': json += "\\n"; break;
      case '\r': json += "\\r"; break;
      case '\t': json += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          json += escape;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

void WriteReportJson(const ExportReport& report, const std::string& document, std::ostream& out) {
  std::vector<std::string> frames;
  for (const std::string& frame : report.checked_frames) frames.push_back(JsonString(frame));
  out << "{\"documento\": " << JsonString(document) << ",\n"
      << " \"marcos_revisados\": [" << Joined(frames, ", ") << "],\n"
      << " \"todos_los_marcos\": " << (report.every_frame ? "true" : "false") << ",\n"
      << " \"errores\": " << report.Count(Severity::kError) << ",\n"
      << " \"avisos\": " << report.Count(Severity::kWarning) << ",\n"
      << " \"hallazgos\": [";
  const char* separator = "\n";
  for (const Finding& finding : report.findings) {
    std::vector<std::string> values;
    for (const FindingValue& value : finding.values) values.push_back(JsonString(value.name) + ": " + JsonString(value.value));
    out << separator << "  {\"tipo\": " << JsonString(KindId(finding.kind))
        << ", \"gravedad\": " << (SeverityOf(finding.kind) == Severity::kError ? "\"error\"" : "\"aviso\"")
        << ", \"lista\": " << JsonString(finding.list) << ", \"entrada\": " << finding.entry
        << ", \"valores\": {" << Joined(values, ", ") << "}, \"texto\": " << JsonString(finding.text) << "}";
    separator = ",\n";
  }
  out << (report.findings.empty() ? "]}\n" : "\n ]}\n");
}

}  // namespace enlacor
