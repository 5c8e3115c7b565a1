// The pre-run report on step 8, the day and period grid: JORNADAS codes that
// the frame choice cuts or splits, the periods of the checked frames that
// the renumbering leaves with the order number as read, and period values
// longer than their DIASHORAST columns.
//
// The renumbering looks for the order numbers 1 to 40, written as plain
// decimal text, among the periods of a chosen frame, and takes the first
// period in stored order for each; every other period of the frame keeps
// its number.
#include <algorithm>
#include <map>

#include "exchange/text_codec.h"
#include "export/day_grid_times.h"
#include "export/export_report_parts.h"
#include "export/frame_selection.h"

namespace enlacor::report {
namespace {

constexpr std::size_t kFrameCodeLength = 10;  // a frame code in Selection and MARCOXML
constexpr std::size_t kHighestRenumberedOrder = 40;

std::string FieldZero(const Entry& entry) {
  const auto field = entry.FieldAt(0);
  return field ? field->Text() : std::string();
}

void ReportFrameCode(Findings& findings, std::size_t entry, const std::string& code, const std::string& becomes,
                     const std::string& how) {
  findings.Add(FindingKind::kFrameCodeChanged, "JORNADAS", entry, {{"codigo", code}, {"queda", becomes}},
               "el código de marco \"" + code + "\" " + how);
}

// The only frame's code, as SelectedFrames and its split leave it.
ChosenFrames OnlyFrame(const std::vector<Entry>& frames, Findings& findings) {
  const std::string code = frames.empty() ? std::string() : Trim(FieldZero(frames.front()));
  const ChosenFrames pair = SplitSelectedFrames(OnlyFrameSelection(frames));
  const std::string first = FromTableText(pair.first);
  const std::string second = FromTableText(pair.second);
  if (!pair.second.empty() || CharacterCount(code) >= kSelectedFramesLength) {
    ReportFrameCode(findings, 1, code, first + "|" + second,
                    "tiene " + std::to_string(CharacterCount(code)) + " caracteres y se divide en dos marcos: \"" +
                        first + "\" y \"" + second + "\"");
  } else if (CharacterCount(code) > kFrameCodeLength) {
    ReportFrameCode(findings, 1, code, first, "se recorta a \"" + first + "\"");
  }
  return pair;
}

// The frame of entry `i` alone, as the dialog's Selection gives it.
std::string SelectionOf(const std::vector<std::string>& items, std::size_t i) {
  std::vector<bool> selected(items.size(), false);
  selected[i] = true;
  return BuildSelection(items, selected);
}

// With two or more frames: every code the dialog cuts, and the frames to
// check: the chosen ones, or all of them.
std::vector<std::string> OfferedFrames(const std::vector<Entry>& frames,
                                       const std::optional<std::string>& frame_selection, Findings& findings,
                                       ExportReport& report) {
  std::vector<std::string> items;
  for (const Entry& entry : frames) items.push_back(FieldZero(entry));
  std::vector<std::string> checked;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string code = Trim(items[i]);
    const std::string kept = FromTableText(SplitSelectedFrames(SelectionOf(items, i)).first);
    if (kept != code) ReportFrameCode(findings, i + 1, code, kept, "se recorta a \"" + kept + "\"");
    if (!frame_selection) checked.push_back(ToTableText(kept).text);
  }
  if (frame_selection) {
    const ChosenFrames pair = SplitSelectedFrames(*frame_selection);
    checked.push_back(pair.first);
    if (!pair.second.empty()) checked.push_back(pair.second);
  } else {
    report.every_frame = true;
  }
  return checked;
}

std::string RightTrimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Why the renumbering would not find `order` (table text) among 1 to 40;
// empty when it would.
std::string OrderProblem(const std::string& order) {
  if (order.empty()) return "no tiene número de orden (ORDEN)";
  if (order.find_first_not_of("0123456789") != std::string::npos) {
    return "su número de orden \"" + FromTableText(order) + "\" no es un número decimal";
  }
  if (order.size() > 1 && order.front() == '0') {
    return "su número de orden \"" + order + "\" empieza por cero";
  }
  if (order.size() > 2 || std::stoul(order) == 0 || std::stoul(order) > kHighestRenumberedOrder) {
    return "su número de orden " + order + " no está entre 1 y 40";
  }
  return {};
}

void CheckRenumbering(const std::vector<GridPeriod>& periods, const std::string& frame, Findings& findings) {
  std::map<std::string, std::size_t> first_with_order;  // order -> entry renumbered
  for (const GridPeriod& period : periods) {
    if (RightTrimmed(period.frame) != frame) continue;
    std::string problem = OrderProblem(period.order);
    if (problem.empty()) {
      const auto [earlier, first] = first_with_order.try_emplace(period.order, period.number);
      if (first) continue;
      problem = "su número de orden " + period.order + " ya lo tiene la entrada " + std::to_string(earlier->second) +
                " del mismo marco";
    }
    const std::string day_one_key = "1" + period.order;
    findings.Add(FindingKind::kPeriodNotRenumbered, "INTERVALOS", period.number,
                 {{"marco", FromTableText(frame)}, {"orden", FromTableText(period.order)},
                  {"diho_dia_1", FromTableText(day_one_key)}},
                 "marco " + Quoted(frame) + ": " + problem + "; no se renumera y conserva DIHO " +
                     Quoted(day_one_key) + " el día 1");
  }
}

// The value of the entry's last field named `dato`, trimmed, in table text.
std::string DatoValue(const Entry& entry, std::string_view dato) {
  std::string value;
  for (const Field& field : entry.Fields()) {
    if (field.Dato() == dato) value = ToTableText(Trim(field.Text())).text;
  }
  return value;
}

void CheckPeriodCuts(const ExchangeDocument& document, Findings& findings) {
  const std::vector<Entry> entries = document.SelectEntries("INTERVALOS");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    const std::size_t n = i + 1;
    CheckCut(findings, "INTERVALOS", n, "CODIGO_ESCOLIA", DatoValue(entry, "CODIGO_ESCOLIA"),
             {{TableId::kDiashorast, "CODDIHO"}});
    CheckCut(findings, "INTERVALOS", n, "NOMBRE", DatoValue(entry, "NOMBRE"), {{TableId::kDiashorast, "TEXTOHOR"}});
    CheckCut(findings, "INTERVALOS", n, "INICIO", DatoValue(entry, "INICIO"), {{TableId::kDiashorast, "HORADESDE"}});
    CheckCut(findings, "INTERVALOS", n, "FIN", DatoValue(entry, "FIN"), {{TableId::kDiashorast, "HORAHASTA"}});
    CheckCut(findings, "INTERVALOS", n, "ORDEN", DatoValue(entry, "ORDEN"), {{TableId::kDiashorast, "HORA"}});
    CheckCut(findings, "INTERVALOS", n, "CLAVE_JORNADA", DatoValue(entry, "CLAVE_JORNADA"),
             {{TableId::kDiashorast, "MARCOXML"}});
  }
}

}  // namespace

void FindDayGridFindings(const ExchangeDocument& document, const std::optional<std::string>& frame_selection,
                         Findings& findings, ExportReport& report) {
  const std::vector<Entry> frames = document.SelectEntries("JORNADAS");
  std::vector<std::string> checked;
  if (frames.size() < 2) {
    const ChosenFrames pair = OnlyFrame(frames, findings);
    checked.push_back(pair.first);
    if (!pair.second.empty()) checked.push_back(pair.second);
  } else {
    checked = OfferedFrames(frames, frame_selection, findings, report);
  }

  const std::vector<GridPeriod> periods = ReadGridPeriods(document);
  std::vector<std::string> done;
  for (const std::string& frame : checked) {
    if (std::find(done.begin(), done.end(), frame) != done.end()) continue;
    done.push_back(frame);
    CheckRenumbering(periods, frame, findings);
    report.checked_frames.push_back(FromTableText(frame));
  }
  CheckPeriodCuts(document, findings);
}

}  // namespace enlacor::report
