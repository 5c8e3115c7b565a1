// The periods of the day grid as ExportDayGrid reads them, their times
// through the seven day rows, and the check that finds every time that would
// stop the step.
//
// A period's values come from its INTERVALOS fields by their `dato` name,
// trimmed and in table text. Before each day's row a time shorter than five
// characters gets one "0" in front, and the filled text carries over to the
// next day: "8:00" is "08:00" from day 1 on, "8" is "08", "008", "0008",
// "00008" on days 1 to 4. A filled time converts to minutes after midnight
// as (characters 1-2) x 60 + (characters 4-8), each read as a whole number.
//
// A whole number here is: any leading spaces, an optional "+" or "-", then
// one or more decimal digits, and nothing after them. Hexadecimal prefixes,
// inner or trailing blanks and empty text do not convert. The step and the
// check both convert through the functions below, so a document that passes
// the check never stops the step on a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_document.h"
#include "export/preflight_check.h"

namespace enlacor {

// One INTERVALOS entry, read by `dato`: values trimmed, in table text
// (windows-1252), the frame code cut to 10 characters. A field without
// `dato`, or with another name, is skipped; a later field of the same name
// replaces an earlier one. `raw_start` and `raw_end` keep the times as found
// (UTF-8, untrimmed) for messages.
struct GridPeriod {
  std::size_t number = 0;  // position in INTERVALOS, from 1
  std::string code;        // CODIGO_ESCOLIA
  std::string name;        // NOMBRE
  std::string start;       // INICIO
  std::string end;         // FIN
  std::string order;       // ORDEN
  std::string frame;       // CLAVE_JORNADA
  std::string raw_start;
  std::string raw_end;
};

GridPeriod ReadGridPeriod(const Entry& entry, std::size_t number);
std::vector<GridPeriod> ReadGridPeriods(const ExchangeDocument& document);

// `text` read as a whole number (see above); nullopt when it is not one.
std::optional<int> ReadWholeNumber(std::string_view text);

// A start or end time through the seven day rows of its period.
class DayTime {
 public:
  explicit DayTime(std::string text) : text_(std::move(text)) {}
  // The fill made before each day's row: one "0" in front while the text is
  // shorter than five characters.
  void FillForNextDay();
  const std::string& Text() const { return text_; }
  // Minutes after midnight: characters 1-2 x 60 + characters 4-8.
  std::optional<int> Minutes() const;

 private:
  std::string text_;
};

// The start of a frame's day from a stored HORADESDE: characters 1-2 x 60 +
// characters 4-5.
std::optional<int> FrameStartMinutes(std::string_view horadesde);

enum class TimeKind { kStart, kEnd };

// The message for a time of `period` that does not convert (Spanish).
std::string BadPeriodTimeMessage(const GridPeriod& period, TimeKind kind);

// Appends to `found` every INTERVALOS start or end time that would fail its
// conversion on any of the seven days (the day-by-day zero fill included),
// and every start whose day-1 text could not serve as a frame's start.
void FindBlockingPeriodTimes(const ExchangeDocument& document, std::vector<BlockingValue>& found);

}  // namespace enlacor
