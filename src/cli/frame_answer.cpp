#include "cli/frame_answer.h"

#include <algorithm>

#include "exchange/text_codec.h"
#include "export/frame_selection.h"

namespace enlacor {

namespace {

constexpr std::size_t kMaxFrames = 2;

struct FrameItem {
  std::string item;  // field 0 as the dialog lists it
  std::string code;  // field 0 trimmed
  std::string name;  // field 1 trimmed
};

std::string FieldText(const Entry& entry, std::size_t k) {
  const auto field = entry.FieldAt(k);
  return field ? field->Text() : std::string();
}

std::vector<FrameItem> ReadFrames(const ExchangeDocument& document) {
  std::vector<FrameItem> frames;
  for (const Entry& entry : document.SelectEntries("JORNADAS")) {
    const std::string item = FieldText(entry, 0);
    frames.push_back({item, Trim(item), Trim(FieldText(entry, 1))});
  }
  return frames;
}

[[noreturn]] void Refuse(const std::string& problem, const std::vector<FrameItem>& frames) {
  std::string message = problem;
  if (frames.empty()) {
    message += "\nEl documento no tiene marcos horarios (lista JORNADAS).";
  } else {
    message += "\nMarcos horarios del documento:";
    for (const FrameItem& frame : frames) message += "\n  " + frame.code + "  " + frame.name;
  }
  throw FrameUsageError(message);
}

bool Names(const std::vector<std::string>& codes, const std::string& code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

void CheckCodesExist(const std::vector<std::string>& codes, const std::vector<FrameItem>& frames) {
  if (codes.size() > kMaxFrames) Refuse("--frames admite como máximo 2 marcos horarios.", frames);
  for (const std::string& code : codes) {
    const bool exists = std::any_of(frames.begin(), frames.end(),
                                    [&](const FrameItem& frame) { return frame.code == code; });
    if (!exists) Refuse("El marco horario \"" + code + "\" no existe en el documento.", frames);
  }
}

FrameDialogResult Select(const std::vector<std::string>& codes, const std::vector<FrameItem>& frames) {
  std::vector<std::string> items;
  std::vector<bool> selected;
  for (const FrameItem& frame : frames) {
    items.push_back(frame.item);
    selected.push_back(Names(codes, frame.code));
  }
  if (std::count(selected.begin(), selected.end(), true) > static_cast<long>(kMaxFrames)) {
    Refuse("Los códigos indicados seleccionan más de 2 marcos horarios (hay códigos repetidos).", frames);
  }
  return FrameDialogResult{true, BuildSelection(items, selected)};
}

}  // namespace

FrameAnswer AnswerFrameDialog(const ExchangeDocument& document, const std::vector<std::string>& codes) {
  const std::vector<FrameItem> frames = ReadFrames(document);
  FrameAnswer answer;
  answer.frame_count = frames.size();
  CheckCodesExist(codes, frames);
  if (frames.size() < kMaxFrames) {
    if (codes.size() > frames.size()) Refuse("El documento tiene un solo marco horario.", frames);
    return answer;
  }
  if (codes.empty()) {
    Refuse("El documento ofrece varios marcos horarios: indique 1 o 2 con --frames CODIGO[,CODIGO].",
           frames);
  }
  answer.dialog = Select(codes, frames);
  return answer;
}

}  // namespace enlacor
