#include "export/frame_dialog_logic.h"

#include "exchange/exchange_document.h"
#include "export/frame_selection.h"

namespace enlacor {
namespace {

constexpr std::size_t kPeriodLineLength = 20;
constexpr char kNoValue[] = "-";

// Field k of an entry, untrimmed; empty text when the entry has none.
std::string FieldText(const Entry& entry, std::size_t k) {
  const auto field = entry.FieldAt(k);
  return field ? field->Text() : std::string();
}

std::string PeriodLine(const Entry& period) {
  const std::string line = FieldText(period, 4) + "-" + FieldText(period, 1) + "-" +
                           FieldText(period, 2) + "-" + FieldText(period, 3);
  return FirstCharacters(line, kPeriodLineLength);
}

}  // namespace

FrameDialogLogic::FrameDialogLogic(std::filesystem::path xml_file_name)
    : xml_file_name_(std::move(xml_file_name)) {}

std::vector<Entry> FrameDialogLogic::Select(const char* list) const {
  return document_ ? document_->SelectEntries(list) : std::vector<Entry>();
}

void FrameDialogLogic::FormActivate() {
  document_.reset();
  document_.emplace(ExchangeDocument::Load(xml_file_name_));
  const std::vector<Entry> frames = Select("JORNADAS");
  if (frames.size() > 1) {
    frame_items_.clear();
    for (const Entry& frame : frames) frame_items_.push_back(FieldText(frame, 0));
  }
  current_frame_ = frame_items_.empty() ? std::string() : frame_items_.front();
  ComboBoxPlantillaChange();
}

void FrameDialogLogic::ComboBoxPlantillaChange() {
  const std::vector<Entry> frames = Select("JORNADAS");
  label_nombre_ = label_plan_fec1_ = label_plan_fec2_ = kNoValue;
  if (frames.size() > 1) {
    for (const Entry& frame : frames) {
      if (FieldText(frame, 0) != current_frame_) continue;
      label_nombre_ = FieldText(frame, 1);
      label_plan_fec1_ = FieldText(frame, 2);
    }
  }
  const std::vector<Entry> periods = Select("INTERVALOS");
  if (periods.size() > 1) {
    period_lines_.clear();
    for (const Entry& period : periods) {
      if (FieldText(period, 5) == current_frame_) period_lines_.push_back(PeriodLine(period));
    }
  }
}

void FrameDialogLogic::ListBox2Click(std::size_t item) {
  if (item >= frame_items_.size()) return;
  current_frame_ = frame_items_[item];
  ComboBoxPlantillaChange();
}

std::optional<std::string> FrameDialogLogic::FormClose(const std::vector<bool>& selected) {
  std::size_t count = 0;
  for (bool is_selected : selected) count += is_selected ? 1 : 0;
  std::optional<std::string> message;
  if (count > 2) message = kTooManyFramesMessage;
  else if (count == 0) message = kNoFrameMessage;
  accepted_ = !message;
  selection_ = BuildSelection(frame_items_, selected);
  return message;
}

}  // namespace enlacor
