#include "cli/check_command.h"

#include <optional>

#include "cli/cli_runner.h"
#include "cli/frame_answer.h"
#include "cli/report_output.h"
#include "exchange/exchange_document.h"
#include "export/export_report.h"

namespace enlacor {
namespace {

// The frame dialog's Selection for --frames; none when no frame was named,
// so that every frame is checked.
std::optional<std::string> FrameSelection(const ExchangeDocument& document, const std::vector<std::string>& frames) {
  if (frames.empty()) return std::nullopt;
  const FrameAnswer answer = AnswerFrameDialog(document, frames);
  if (!answer.dialog) return std::nullopt;
  return answer.dialog->Selection;
}

int ExitStatusOf(const ExportReport& report) {
  if (report.Count(Severity::kError) > 0) return kExitFailure;
  if (report.Count(Severity::kWarning) > 0) return kExitWarnings;
  return kExitFinished;
}

}  // namespace

int CheckDocument(const std::filesystem::path& document, const std::vector<std::string>& frames, bool json,
                  std::ostream& out) {
  const ExchangeDocument loaded = ExchangeDocument::Load(document);
  const ExportReport report = BuildExportReport(loaded, FrameSelection(loaded, frames));
  if (json) {
    WriteReportJson(report, document.string(), out);
  } else {
    WriteReportText(report, document.string(), out);
  }
  return ExitStatusOf(report);
}

}  // namespace enlacor
