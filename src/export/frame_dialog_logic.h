// FrameDialogLogic: what the time-frame dialog (TPlantillas) computes, with
// no window. The Qt dialog forwards its events here and shows the results;
// tests drive it directly.
//
// The dialog reads its own copy of the exchange document, reloaded from the
// file at each activation, and uses field values untrimmed (UTF-8). A field
// that an entry lacks reads as empty text. It shows:
//   - the frame list: field 0 of every JORNADAS entry, rebuilt only when the
//     list has more than one entry (otherwise the items stay as they were);
//   - for the current frame (the first item at activation, then the one last
//     clicked): LabelNombre and LabelPlanFec1 from fields 1 and 2 of the
//     entries whose field 0 equals it exactly ("-" when none does, and
//     always when JORNADAS has at most one entry), LabelPlanFec2 always "-";
//   - its periods: for each INTERVALOS entry whose field 5 equals the current
//     frame, fields 4-1-2-3 joined by "-" and cut to 20 characters; the list
//     is rebuilt only when INTERVALOS has more than one entry.
// At closing, Accepted is true when one or two items are selected, and
// Selection holds 10 characters per selected item, in list order.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exchange/exchange_document.h"

namespace enlacor {

inline constexpr char kTooManyFramesMessage[] =
    "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 Marcos Horarios";
inline constexpr char kNoFrameMessage[] = "Debe al menos seleccionar 1 Marco Horario.";

class FrameDialogLogic {
 public:
  explicit FrameDialogLogic(std::filesystem::path xml_file_name);

  // The dialog became the active window: reloads the document, rebuilds the
  // frame list, makes its first item the current frame and shows it.
  // Raises DocumentError when the file cannot be loaded.
  void FormActivate();
  // Shows the current frame from the document of the last activation:
  // labels and period lines.
  void ComboBoxPlantillaChange();
  // The frame list's focused item changed to `item` (from 0): it becomes the
  // current frame. An index outside the list is ignored.
  void ListBox2Click(std::size_t item);
  // The dialog closes with these items of the frame list selected. Returns
  // the message to show, if any; the closing goes ahead in every case.
  std::optional<std::string> FormClose(const std::vector<bool>& selected);

  const std::vector<std::string>& FrameItems() const { return frame_items_; }
  const std::string& CurrentFrame() const { return current_frame_; }
  const std::string& LabelNombre() const { return label_nombre_; }
  const std::string& LabelPlanFec1() const { return label_plan_fec1_; }
  const std::string& LabelPlanFec2() const { return label_plan_fec2_; }
  const std::vector<std::string>& PeriodLines() const { return period_lines_; }

  bool Accepted() const { return accepted_; }
  const std::string& Selection() const { return selection_; }

 private:
  std::vector<Entry> Select(const char* list) const;

  std::filesystem::path xml_file_name_;
  std::optional<ExchangeDocument> document_;  // loaded at each activation
  std::vector<std::string> frame_items_;
  std::string current_frame_;
  std::string label_nombre_ = "-";
  std::string label_plan_fec1_ = "-";
  std::string label_plan_fec2_ = "-";
  std::vector<std::string> period_lines_;
  bool accepted_ = false;
  std::string selection_;
};

}  // namespace enlacor
