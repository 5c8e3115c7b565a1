// Period times: whole-number reading, the day-by-day zero fill, and the
// check that finds every time the day grid could not convert.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/exchange_document.h"
#include "export/day_grid_times.h"

namespace enlacor {
namespace {

TEST(DayGridTimesTest, ReadsWholeNumbersWithBlanksAndSignInFrontOnly) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases = {
      {"0", 0},    {"08", 8},          {"  12", 12},         {"+5", 5},           {"-5", -5},
      {"00005", 5}, {"", std::nullopt}, {"  ", std::nullopt}, {"-", std::nullopt}, {"1 ", std::nullopt},
      {"1x", std::nullopt}, {":5", std::nullopt}, {"$A", std::nullopt}, {"0x1", std::nullopt},
      {"- 5", std::nullopt}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadWholeNumber(text), value) << '"' << text << '"';
}

TEST(DayGridTimesTest, FillsOneZeroPerDayUntilFiveCharacters) {
  DayTime time("8");
  std::vector<std::string> days;
  for (int day = 1; day <= 7; ++day) {
    time.FillForNextDay();
    days.push_back(time.Text());
  }
  EXPECT_EQ(days, (std::vector<std::string>{"08", "008", "0008", "00008", "00008", "00008", "00008"}));
}

TEST(DayGridTimesTest, MinutesUseCharactersOneToTwoAndFourToEight) {
  EXPECT_EQ(DayTime("08:55").Minutes(), 535);
  EXPECT_EQ(DayTime("08:005").Minutes(), 485);
  EXPECT_EQ(DayTime("12345678").Minutes(), 12 * 60 + 45678);
  EXPECT_EQ(FrameStartMinutes("08:005"), 480);  // characters 4-5 only
  EXPECT_EQ(DayTime("08:").Minutes(), std::nullopt);
}

std::string Document(const std::string& start, const std::string& end) {
  return "<SERVICIO><SALIDAS><listasal seq=\"INTERVALOS\">"
         "<listasal><salida dato=\"CODIGO_ESCOLIA\">P1</salida><salida dato=\"INICIO\">08:00</salida>"
         "<salida dato=\"FIN\">08:55</salida></listasal>"
         "<listasal><salida dato=\"CODIGO_ESCOLIA\">P2</salida><salida dato=\"INICIO\">" + start +
         "</salida><salida dato=\"FIN\">" + end + "</salida></listasal></listasal></SALIDAS></SERVICIO>";
}

struct TimeCase {
  std::string time;
  bool start_blocks;  // as the start time
  bool end_blocks;    // as the end time
};

TEST(DayGridTimesTest, CheckFindsEveryTimeThatFailsOnAnyDay) {
  const std::vector<TimeCase> cases = {
      {"08:00", false, false}, {"8:00", false, false}, {" 8:00\n", false, false}, {"+8:00", false, false},
      {"08: 5", false, false}, {"", true, true},        {"8", true, true},          {"8h", true, true},
      {"08:xx", true, true},   {"123:45", true, true},  {"08:5", true, true},       {"8:0", true, true},
      {"08:  5", true, false},  // converts, but not as a frame's start (characters 4-5 are blanks)
  };
  for (const TimeCase& c : cases) {
    std::vector<BlockingValue> as_start, as_end;
    FindBlockingPeriodTimes(ExchangeDocument::Parse(Document(c.time, "23:00")), as_start);
    FindBlockingPeriodTimes(ExchangeDocument::Parse(Document("00:00", c.time)), as_end);
    EXPECT_EQ(as_start.size(), c.start_blocks ? 1u : 0u) << '"' << c.time << '"';
    EXPECT_EQ(as_end.size(), c.end_blocks ? 1u : 0u) << '"' << c.time << '"';
  }
}

TEST(DayGridTimesTest, BlockingValueNamesThePeriodAndTheTimeAsFound) {
  std::vector<BlockingValue> found;
  FindBlockingPeriodTimes(ExchangeDocument::Parse(Document(" 8h ", "")), found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].list, "INTERVALOS");
  EXPECT_EQ(found[0].entry, 2u);
  EXPECT_EQ(found[0].field, "INICIO");
  EXPECT_EQ(found[0].value, " 8h ");
  EXPECT_EQ(found[0].message,
            "La hora de inicio del periodo 2 de INTERVALOS (código \"P2\") no es una hora válida: \" 8h \". "
            "Escríbala como horas y minutos, por ejemplo 08:00.");
  EXPECT_EQ(found[1].field, "FIN");
  EXPECT_EQ(found[1].value, "");
}

TEST(DayGridTimesTest, ExportRefusesTheDocumentBeforeAnyTableIsTouched) {
  EXPECT_THROW(CheckDocumentForExport(ExchangeDocument::Parse(Document("08:00", "9h"))), ExportCheckError);
}

}  // namespace
}  // namespace enlacor
