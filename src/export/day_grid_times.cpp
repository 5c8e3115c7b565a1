#include "export/day_grid_times.h"

#include <array>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

constexpr std::size_t kFilledLength = 5;
constexpr std::size_t kFrameCodeLength = 10;
constexpr std::size_t kHoradesdeWidth = 8;
constexpr int kDays = 7;

// Characters `first` to `last` (from 1), as far as the text reaches.
std::string_view Characters(std::string_view text, std::size_t first, std::size_t last) {
  if (text.size() < first) return {};
  return text.substr(first - 1, last - first + 1);
}

std::optional<int> HoursAndMinutes(std::string_view time, std::size_t last_minute_character) {
  const auto hours = ReadWholeNumber(Characters(time, 1, 2));
  const auto minutes = ReadWholeNumber(Characters(time, 4, last_minute_character));
  if (!hours || !minutes) return std::nullopt;
  return *hours * 60 + *minutes;
}

// Whether `time` converts on each of the seven days and, for a start, whether
// its day-1 text, as HORADESDE stores it, gives a frame start.
bool ConvertsOnEveryDay(const std::string& time, TimeKind kind) {
  DayTime day_time(time);
  for (int day = 1; day <= kDays; ++day) {
    day_time.FillForNextDay();
    if (!day_time.Minutes()) return false;
    if (day == 1 && kind == TimeKind::kStart &&
        !FrameStartMinutes(Characters(day_time.Text(), 1, kHoradesdeWidth))) {
      return false;
    }
  }
  return true;
}

}  // namespace

GridPeriod ReadGridPeriod(const Entry& entry, std::size_t number) {
  GridPeriod period;
  period.number = number;
  for (const Field& field : entry.Fields()) {
    const auto dato = field.Dato();
    if (!dato) continue;
    const std::string raw = field.Text();
    const std::string value = ToTableText(Trim(raw)).text;
    if (*dato == "CODIGO_ESCOLIA") {
      period.code = value;
    } else if (*dato == "NOMBRE") {
      period.name = value;
    } else if (*dato == "INICIO") {
      period.start = value;
      period.raw_start = raw;
    } else if (*dato == "FIN") {
      period.end = value;
      period.raw_end = raw;
    } else if (*dato == "ORDEN") {
      period.order = value;
    } else if (*dato == "CLAVE_JORNADA") {
      period.frame = value.substr(0, kFrameCodeLength);
    }
  }
  return period;
}

std::vector<GridPeriod> ReadGridPeriods(const ExchangeDocument& document) {
  std::vector<GridPeriod> periods;
  const std::vector<Entry> entries = document.SelectEntries("INTERVALOS");
  periods.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) periods.push_back(ReadGridPeriod(entries[i], i + 1));
  return periods;
}

std::optional<int> ReadWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 1'000'000'000) return std::nullopt;  // far beyond any time
  }
  return static_cast<int>(negative ? -value : value);
}

void DayTime::FillForNextDay() {
  if (text_.size() < kFilledLength) text_.insert(0, 1, '0');
}

std::optional<int> DayTime::Minutes() const { return HoursAndMinutes(text_, 8); }

std::optional<int> FrameStartMinutes(std::string_view horadesde) { return HoursAndMinutes(horadesde, 5); }

std::string BadPeriodTimeMessage(const GridPeriod& period, TimeKind kind) {
  const bool start = kind == TimeKind::kStart;
  std::string message = start ? "La hora de inicio" : "La hora de fin";
  message += " del periodo " + std::to_string(period.number) + " de INTERVALOS";
  if (!period.code.empty()) message += " (código \"" + FromTableText(period.code) + "\")";
  message += " no es una hora válida: \"" + (start ? period.raw_start : period.raw_end) + "\"";
  message += ". Escríbala como horas y minutos, por ejemplo 08:00.";
  return message;
}

void FindBlockingPeriodTimes(const ExchangeDocument& document, std::vector<BlockingValue>& found) {
  for (const GridPeriod& period : ReadGridPeriods(document)) {
    const std::array<std::pair<TimeKind, const std::string*>, 2> times = {
        {{TimeKind::kStart, &period.start}, {TimeKind::kEnd, &period.end}}};
    for (const auto& [kind, time] : times) {
      if (ConvertsOnEveryDay(*time, kind)) continue;
      const bool start = kind == TimeKind::kStart;
      found.push_back(BlockingValue{"INTERVALOS", period.number, start ? "INICIO" : "FIN",
                                    start ? period.raw_start : period.raw_end,
                                    BadPeriodTimeMessage(period, kind)});
    }
  }
}

}  // namespace enlacor
