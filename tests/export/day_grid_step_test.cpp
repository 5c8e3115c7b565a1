// ExportDayGrid: the frame choice, the rows of DIASHORAST, the renumbering
// and the frame marks.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "exchange/dbf_table.h"
#include "exchange/exchange_document.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using testing::RecordingHost;
using testing::TempDir;
using Row = std::vector<std::string>;

// A period: order, frame, start, end, and the name and code derived from
// them. An empty frame or order leaves that field out.
struct P {
  std::string order;
  std::string frame;
  std::string start = "08:00";
  std::string end = "08:55";
};

std::string Salida(const std::string& dato, const std::string& text) {
  return "<salida dato=\"" + dato + "\">" + text + "</salida>";
}

std::string PeriodXml(const P& p) {
  std::string xml = "<listasal>" + Salida("CODIGO_ESCOLIA", "C" + p.order) + Salida("NOMBRE", "N" + p.order) +
                    Salida("INICIO", p.start) + Salida("FIN", p.end);
  if (!p.order.empty()) xml += Salida("ORDEN", p.order);
  if (!p.frame.empty()) xml += Salida("CLAVE_JORNADA", p.frame);
  return xml + "</listasal>";
}

std::string DocumentXml(const std::vector<std::string>& frames, const std::vector<P>& periods) {
  std::string xml = "<SERVICIO><SALIDAS><listasal seq=\"JORNADAS\">";
  for (const std::string& frame : frames) xml += "<listasal><salida>" + frame + "</salida><salida>n</salida></listasal>";
  xml += "</listasal><listasal seq=\"INTERVALOS\">";
  for (const P& period : periods) xml += PeriodXml(period);
  return xml + "</listasal></SALIDAS></SERVICIO>";
}

class DayGridTest : public ::testing::Test {
 protected:
  DayGridTest() : workspace_(dir_.path()), run_(host_, state_, workspace_) {
    state_.XmlFileName = (dir_ / "centro.xml").string();
  }

  void Export(const std::string& xml) {
    run_.UseDocument(ExchangeDocument::Parse(xml));
    run_.ExportDayGrid();
  }
  void Export(const std::vector<std::string>& frames, const std::vector<P>& periods) {
    Export(DocumentXml(frames, periods));
  }
  void Choose(const std::string& selection) { host_.frame_answers.push_back({true, selection}); }

  std::vector<Row> Rows(std::initializer_list<const char*> columns) const {
    std::vector<Row> rows;
    DbfTable table = workspace_.Open(TableId::kDiashorast, OpenMode::kShared);
    for (table.First(); !table.Eof(); table.Next()) {
      Row row;
      for (const char* column : columns) row.push_back(table.GetText(column));
      rows.push_back(row);
    }
    return rows;
  }
  // DIHO, HORA and MARCO of the day-1 row of each period, in document order.
  std::vector<Row> DayOne() const {
    std::vector<Row> rows;
    for (const Row& row : Rows({"DIA", "DIHO", "HORA", "MARCO"})) {
      if (row[0] == "1") rows.push_back({row[1], row[2], row[3]});
    }
    return rows;
  }

  TempDir dir_;
  Workspace workspace_;
  RecordingHost host_;
  SharedState state_;
  ExportRun run_;
};

TEST_F(DayGridTest, OneFrameWritesSevenFullRowsPerPeriodWithoutADialog) {
  Export({"  M1 "}, {{"1", "M1", "8:00", "8:55"}, {"2", "M1", "9:00", "8:05"}});
  EXPECT_TRUE(host_.frame_dialog_documents.empty());
  EXPECT_EQ(state_.SelectedFrames, "M1");

  const auto rows = Rows({"DIHO", "CODDIHO", "DIA", "TEXTODIA", "HORA", "TEXTOHOR", "HORADESDE",
                          "HORAHASTA", "MINUTOS", "MARCO", "MARCOXML"});
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0], (Row{"11", "C1", "1", "", "1", "N1", "08:00", "08:55", "55", "0", "M1"}));
  EXPECT_EQ(rows[6], (Row{"71", "C1", "7", "", "1", "N1", "08:00", "08:55", "55", "0", "M1"}));
  EXPECT_EQ(rows[7], (Row{"12", "C2", "1", "", "2", "N2", "09:00", "08:05", "-55", "0", "M1"}));
}

TEST_F(DayGridTest, ZeroFillCarriesOverFromDayToDay) {
  // "8:0" is "08:0" on day 1 and would be "008:0" on day 2, which does not
  // convert: the check refuses it. A four-character "7:30" is filled once.
  Export({"M1"}, {{"1", "M1", "7:30", "10:00"}});
  for (const Row& row : Rows({"HORADESDE", "HORAHASTA", "MINUTOS"})) {
    EXPECT_EQ(row, (Row{"07:30", "10:00", "150"}));
  }
}

struct MarkCase {
  const char* name;
  std::string selection;
  std::string m1_start, t1_start;
  std::string m1_mark, t1_mark;
};

class DayGridMarkTest : public DayGridTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(DayGridMarkTest, TheFrameStartingFirstTakesMarkZero) {
  const MarkCase& c = GetParam();
  Choose(c.selection);
  Export({"M1", "T1", "X1"}, {{"1", "M1", c.m1_start}, {"1", "T1", c.t1_start}, {"1", "X1", "07:00"}});
  EXPECT_EQ(state_.SelectedFrames, c.selection);
  EXPECT_EQ(host_.frame_dialog_documents, std::vector<std::filesystem::path>{dir_ / "centro.xml"});
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", c.m1_mark}, {"11", "1", c.t1_mark}, {"11", "1", ""}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DayGridMarkTest,
    ::testing::Values(MarkCase{"FirstListedStartsFirst", "M1        T1        ", "08:00", "15:00", "0", "1"},
                      MarkCase{"FirstListedStartsLater", "M1        T1        ", "15:00", "08:00", "1", "0"},
                      MarkCase{"EqualStarts", "T1        M1        ", "08:00", "08:00", "1", "0"},
                      MarkCase{"OneChosen", "T1        ", "08:00", "15:00", "", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DayGridTest, RenumbersOrdersOneToFortyOfTheChosenFrameOnly) {
  Export({"M1"}, {{"1", "M1"}, {"2", "M1"}, {"4", "M1"}, {"01", "M1"}, {"41", "M1"}, {"x", "M1"},
                  {"2", "M1"}, {"4", "OTRO"}, {"", "M1"}});
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "0"},
                                        {"12", "2", "0"},
                                        {"13", "3", "0"},   // 4 closes the gap
                                        {"101", "01", "0"}, // leading zero: never found
                                        {"141", "41", "0"}, // above 40
                                        {"1x", "x", "0"},
                                        {"12", "2", "0"},   // repeated: keeps its key
                                        {"14", "4", ""},    // frame not chosen
                                        {"1", "", "0"}}));  // no ORDEN
  const auto rows = Rows({"DIA", "DIHO", "HORA"});
  EXPECT_EQ(rows[2 * 7 + 6], (Row{"7", "73", "3"}));  // every day is renumbered
  EXPECT_EQ(rows[8 * 7 + 6], (Row{"7", "7", ""}));
}

TEST_F(DayGridTest, ALongSingleCodeSplitsIntoTwoFrames) {
  Export({"AAAAAAAAAABBBBBBBBBBCC"},
         {{"3", "AAAAAAAAAAZZ", "10:00"}, {"5", "BBBBBBBBBB", "09:00"}});
  EXPECT_EQ(state_.SelectedFrames, "AAAAAAAAAABBBBBBBBBB");
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "1"}, {"11", "1", "0"}}));
}

TEST_F(DayGridTest, ACodeOfElevenToNineteenCharactersIsCutToTen) {
  Export({"AAAAAAAAAABBBBB"}, {{"2", "AAAAAAAAAABBBBB"}, {"2", "BBBBB"}});
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "0"}, {"12", "2", ""}}));
}

TEST_F(DayGridTest, RowsWithoutFrameCodeCountAsTheSecondFrameWhenOneIsChosen) {
  Export({"M1"}, {{"1", "M1", "09:00"}, {"1", "", "08:00"}, {"2", "", "10:00"}});
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "1"}, {"11", "1", "0"}, {"12", "2", "0"}}));
}

TEST_F(DayGridTest, WithoutJornadasGoesOnWithAnEmptyFrameCode) {
  Export({}, {{"2", "", "09:00"}, {"1", "M1"}});
  EXPECT_EQ(state_.SelectedFrames, "");
  EXPECT_TRUE(host_.frame_dialog_documents.empty());
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "0"}, {"11", "1", ""}}));
}

TEST_F(DayGridTest, ShowsANewDialogUntilOneIsAccepted) {
  host_.frame_answers = {{false, ""}, {false, "M1        T1        X1        "}, {true, "T1        "}};
  Export({"M1", "T1"}, {{"1", "M1"}, {"1", "T1"}});
  EXPECT_EQ(host_.frame_dialog_documents.size(), 3u);
  EXPECT_EQ(state_.SelectedFrames, "T1        ");
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", ""}, {"11", "1", "0"}}));
}

TEST_F(DayGridTest, AcceptedAccentedCodesSplitAtTheTenthCharacter) {
  Choose("MAÑANA    TARDE     ");
  Export({"MAÑANA", "TARDE"}, {{"1", "MAÑANA", "08:00"}, {"1", "TARDE", "15:00"}});
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "0"}, {"11", "1", "1"}}));
}

TEST_F(DayGridTest, FieldsWithoutOrWithUnknownDatoAreSkipped) {
  Export("<SERVICIO><SALIDAS><listasal seq=\"JORNADAS\"><listasal><salida>M1</salida></listasal></listasal>"
         "<listasal seq=\"INTERVALOS\"><listasal><salida>9</salida>" +
         Salida("ORDEN", "1") + Salida("orden", "7") + Salida("INICIO", "08:00") + Salida("FIN", "09:00") +
         Salida("CLAVE_JORNADA", "M1") + Salida("ORDEN", "3") + "</listasal></listasal></SALIDAS></SERVICIO>");
  EXPECT_EQ(DayOne(), (std::vector<Row>{{"11", "1", "0"}}));  // the later ORDEN 3 renumbered to 1
}

}  // namespace
}  // namespace enlacor
