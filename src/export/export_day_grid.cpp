// ExportDayGrid, the eighth export step: the day and period grid DIASHORAST.
//
// 1. Re-create DIASHORAST.
// 2. Choose the frames: the only JORNADAS entry's code, or the frame dialog
//    again and again until it is accepted.
// 3. Split SelectedFrames into the first and second frame code.
// 4. Write seven rows per INTERVALOS entry, with zero-filled times.
// 5. Renumber the periods of each chosen frame 1, 2, 3 ... per day.
// 6. Mark the rows of the chosen frames "0" and "1", the frame whose day
//    starts first taking "0".
//
// Codes and values are handled in table text (windows-1252), where each
// character is one byte, so the 10- and 20-character cuts fall on
// characters. SelectedFrames keeps the choice as UTF-8.
#include <array>
#include <string>

#include "exchange/text_codec.h"
#include "export/day_grid_times.h"
#include "export/export_run.h"
#include "export/frame_selection.h"

namespace enlacor {
namespace {

constexpr int kDays = 7;
constexpr int kHighestRenumberedOrder = 40;
constexpr int kMinutesPerDay = 1440;

int Minutes(const DayTime& time, const GridPeriod& period, TimeKind kind) {
  const auto minutes = time.Minutes();
  if (!minutes) throw ExportCheckError(BadPeriodTimeMessage(period, kind));
  return *minutes;
}

void WritePeriodRows(DbfTable& grid, const GridPeriod& period) {
  DayTime start(period.start);
  DayTime end(period.end);
  for (int day = 1; day <= kDays; ++day) {
    start.FillForNextDay();
    end.FillForNextDay();
    const int length = Minutes(end, period, TimeKind::kEnd) - Minutes(start, period, TimeKind::kStart);
    const std::string day_text = std::to_string(day);
    grid.Append();
    grid.SetText("DIHO", day_text + period.order);
    grid.SetText("DIA", day_text);
    grid.SetText("HORA", period.order);
    grid.SetText("TEXTOHOR", period.name);
    grid.SetText("CODDIHO", period.code);
    grid.SetText("HORADESDE", start.Text());
    grid.SetText("HORAHASTA", end.Text());
    grid.SetText("MINUTOS", std::to_string(length));
    grid.SetText("MARCOXML", period.frame);
    grid.Post();
  }
}

// The periods of `frame` whose order numbers are 1 to 40 get the numbers
// 1, 2, 3 ... per day, in the order of their order numbers.
void RenumberFrame(DbfTable& grid, const std::string& frame) {
  for (int day = 1; day <= kDays; ++day) {
    const std::string day_text = std::to_string(day);
    int counter = 1;
    for (int order = 1; order <= kHighestRenumberedOrder; ++order) {
      if (!grid.Locate("DIHO;MARCOXML", {day_text + std::to_string(order), frame})) continue;
      grid.Edit();
      grid.SetText("DIHO", day_text + std::to_string(counter));
      grid.SetText("HORA", std::to_string(counter));
      grid.Post();
      ++counter;
    }
  }
}

// The start of `frame`'s day: its period 1 of day 1, or `missing` when the
// frame has none.
int FrameStart(DbfTable& grid, const std::string& frame, int missing) {
  if (!grid.Locate("DIHO;MARCOXML", {"11", frame})) return missing;
  const std::string horadesde = grid.GetText("HORADESDE");
  const auto minutes = FrameStartMinutes(horadesde);
  if (!minutes) {
    throw ExportCheckError("La hora de inicio \"" + FromTableText(horadesde) +
                           "\" del primer periodo del Marco Horario \"" + FromTableText(frame) +
                           "\" no es una hora válida. Escríbala como horas y minutos, por ejemplo 08:00.");
  }
  return *minutes;
}

void MarkFrames(DbfTable& grid, const ChosenFrames& frames) {
  const int first_start = FrameStart(grid, frames.first, 0);
  const int second_start = FrameStart(grid, frames.second, kMinutesPerDay);
  const bool first_is_earlier = first_start <= second_start;
  const std::string first_mark = first_is_earlier ? "0" : "1";
  const std::string second_mark = first_is_earlier ? "1" : "0";
  for (grid.First(); !grid.Eof(); grid.Next()) {
    const std::string frame = grid.GetText("MARCOXML");
    if (frame != frames.first && frame != frames.second) continue;
    grid.Edit();
    grid.SetText("MARCO", frame == frames.first ? first_mark : second_mark);
    grid.Post();
  }
}

}  // namespace

void ExportRun::ExportDayGrid() {
  // 1.
  workspace_.RecreateTable(TableId::kDiashorast);

  // 2. A document without JORNADAS entries offers no frame: the step goes on
  //    with an empty first frame code.
  const std::vector<Entry> frames = document_->SelectEntries("JORNADAS");
  if (frames.size() < 2) {
    state_.SelectedFrames = OnlyFrameSelection(frames);
  } else {
    FrameDialogResult answer;
    do {
      answer = host_.ChooseFrames(state_.XmlFileName);
    } while (!answer.Accepted);
    state_.SelectedFrames = FirstCharacters(answer.Selection, kSelectedFramesLength);
  }

  // 3.
  const ChosenFrames chosen = SplitSelectedFrames(state_.SelectedFrames);

  // 4.
  DbfTable grid = workspace_.Open(TableId::kDiashorast, OpenMode::kShared);
  for (const GridPeriod& period : ReadGridPeriods(*document_)) WritePeriodRows(grid, period);

  // 5.
  RenumberFrame(grid, chosen.first);
  if (!chosen.second.empty()) RenumberFrame(grid, chosen.second);

  // 6.
  MarkFrames(grid, chosen);

  // 7.
  grid.Close();
}

}  // namespace enlacor
