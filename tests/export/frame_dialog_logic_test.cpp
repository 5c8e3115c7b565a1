// The time-frame dialog's logic: the frame list, the current frame's labels
// and period lines, and what closing with a selection leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <string>
#include <vector>

#include "export/frame_dialog_logic.h"
#include "export/frame_selection.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using testing::TempDir;

std::string Entry(const std::vector<std::string>& fields) {
  std::string xml = "<listasal>";
  for (const std::string& field : fields) xml += "<salida>" + field + "</salida>";
  return xml + "</listasal>";
}

std::string Period(const std::string& name, const std::string& start, const std::string& end,
                   const std::string& order, const std::string& frame) {
  return "<listasal><salida dato=\"CODIGO_ESCOLIA\">P</salida><salida dato=\"NOMBRE\">" + name +
         "</salida><salida dato=\"INICIO\">" + start + "</salida><salida dato=\"FIN\">" + end +
         "</salida><salida dato=\"ORDEN\">" + order + "</salida><salida dato=\"CLAVE_JORNADA\">" +
         frame + "</salida></listasal>";
}

class FrameDialogLogicTest : public ::testing::Test {
 protected:
  // Writes a document with these JORNADAS and INTERVALOS entries.
  void Write(const std::vector<std::string>& frames, const std::vector<std::string>& periods) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><SALIDAS><listasal seq=\"JORNADAS\">";
    for (const std::string& frame : frames) xml += frame;
    xml += "</listasal><listasal seq=\"INTERVALOS\">";
    for (const std::string& period : periods) xml += period;
    xml += "</listasal></SALIDAS></SERVICIO>";
    std::ofstream(path_, std::ios::binary) << xml;
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "centro.xml";
  FrameDialogLogic logic_{path_};
};

TEST_F(FrameDialogLogicTest, ShowsTheFirstFrameAtActivationAndTheClickedOneAfter) {
  Write({Entry({"M1", "Mañana", "01/09/2024"}), Entry({" T1 ", "Tarde", "02/09/2024"})},
        {Period("Primera", "08:00", "08:55", "1", "M1"), Period("Segunda", "08:55", "09:50", "2", "M1"),
         Period("Tarde 1", "15:00", "15:55", "1", " T1 ")});
  logic_.FormActivate();

  EXPECT_EQ(logic_.FrameItems(), (std::vector<std::string>{"M1", " T1 "}));  // untrimmed
  EXPECT_EQ(logic_.CurrentFrame(), "M1");
  EXPECT_EQ(logic_.LabelNombre(), "Mañana");
  EXPECT_EQ(logic_.LabelPlanFec1(), "01/09/2024");
  EXPECT_EQ(logic_.LabelPlanFec2(), "-");
  EXPECT_EQ(logic_.PeriodLines(), (std::vector<std::string>{"1-Primera-08:00-08:5", "2-Segunda-08:55-09:5"}));

  logic_.ListBox2Click(1);
  EXPECT_EQ(logic_.CurrentFrame(), " T1 ");
  EXPECT_EQ(logic_.LabelNombre(), "Tarde");
  EXPECT_EQ(logic_.LabelPlanFec1(), "02/09/2024");
  EXPECT_EQ(logic_.LabelPlanFec2(), "-");
  EXPECT_EQ(logic_.PeriodLines(), (std::vector<std::string>{"1-Tarde 1-15:00-15:5"}));

  logic_.ListBox2Click(7);  // outside the list: nothing changes
  EXPECT_EQ(logic_.CurrentFrame(), " T1 ");
}

TEST_F(FrameDialogLogicTest, CutsPeriodLinesAtTwentyCharactersNotBytes) {
  Write({Entry({"M1", "a", "b"}), Entry({"T1", "c", "d"})},
        {Period("Añoñoñoño", "08:00", "08:55", "1", "M1"), Period("x", "1", "2", "3", "T1")});
  logic_.FormActivate();
  EXPECT_EQ(logic_.PeriodLines(), (std::vector<std::string>{"1-Añoñoñoño-08:00-08"}));
}

TEST_F(FrameDialogLogicTest, MissingFieldsReadAsEmptyAndMatchesAreExact) {
  // A frame without name or date; a period with only three fields; a period
  // whose frame differs only in case.
  Write({Entry({"M1"}), Entry({"M1", "Segunda", "03/09/2024"}), Entry({"m1", "Otra", "x"})},
        {Entry({"P1", "Corto", "08:00"}), Period("Primera", "08:00", "08:55", "1", "m1")});
  logic_.FormActivate();
  EXPECT_EQ(logic_.LabelNombre(), "Segunda");  // the later match overrides
  EXPECT_EQ(logic_.LabelPlanFec1(), "03/09/2024");
  EXPECT_TRUE(logic_.PeriodLines().empty());

  logic_.ListBox2Click(2);
  EXPECT_EQ(logic_.LabelNombre(), "Otra");
  EXPECT_EQ(logic_.PeriodLines(), (std::vector<std::string>{"1-Primera-08:00-08:5"}));
}

TEST_F(FrameDialogLogicTest, ListsWithOneEntryAreNotRead) {
  Write({Entry({"M1", "a", "b"}), Entry({"T1", "c", "d"})}, {Period("Primera", "08:00", "08:55", "1", "M1")});
  logic_.FormActivate();
  EXPECT_TRUE(logic_.PeriodLines().empty());

  // At the next activation JORNADAS has one entry: the frame list keeps its
  // items and the labels show "-".
  Write({Entry({"X9", "Única", "hoy"})}, {});
  logic_.FormActivate();
  EXPECT_EQ(logic_.FrameItems(), (std::vector<std::string>{"M1", "T1"}));
  EXPECT_EQ(logic_.LabelNombre(), "-");
  EXPECT_EQ(logic_.LabelPlanFec1(), "-");
}

TEST_F(FrameDialogLogicTest, ActivationReloadsTheFile) {
  Write({Entry({"M1", "a", "b"}), Entry({"T1", "c", "d"})}, {});
  logic_.FormActivate();
  Write({Entry({"N1", "a", "b"}), Entry({"N2", "c", "d"}), Entry({"N3", "e", "f"})}, {});
  logic_.FormActivate();
  EXPECT_EQ(logic_.FrameItems(), (std::vector<std::string>{"N1", "N2", "N3"}));
}

struct CloseCase {
  const char* name;
  std::vector<bool> selected;
  bool accepted;
  std::string selection;
  std::optional<std::string> message;
};

class FrameDialogCloseTest : public FrameDialogLogicTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(FrameDialogCloseTest, SetsAcceptedSelectionAndMessage) {
  Write({Entry({"M1", "a", "b"}), Entry({"TARDE_LARGA_2024", "c", "d"}), Entry({" X ", "e", "f"})}, {});
  logic_.FormActivate();
  const CloseCase& c = GetParam();
  EXPECT_EQ(logic_.FormClose(c.selected), c.message);
  EXPECT_EQ(logic_.Accepted(), c.accepted);
  if (c.accepted) {
    EXPECT_EQ(logic_.Selection(), c.selection);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameDialogCloseTest,
    ::testing::Values(
        CloseCase{"One", {true, false, false}, true, "M1        ", std::nullopt},
        CloseCase{"TwoInListOrder", {true, true, false}, true, "M1        TARDE_LARG", std::nullopt},
        CloseCase{"UntrimmedItem", {false, false, true}, true, " X        ", std::nullopt},
        CloseCase{"Three", {true, true, true}, false, "", kTooManyFramesMessage},
        CloseCase{"None", {false, false, false}, false, "", kNoFrameMessage}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameSelectionTest, CountsCharactersNotBytes) {
  EXPECT_EQ(BuildSelection({"MAÑANA", "TARDE"}, {true, true}), "MAÑANA    TARDE     ");
  EXPECT_EQ(CharacterCount(BuildSelection({"MAÑANA", "TARDE"}, {true, true})), 20u);
  EXPECT_EQ(BuildSelection({"ÁÉÍÓÚÑÜáéíóú"}, {true}), "ÁÉÍÓÚÑÜáéí");
  EXPECT_EQ(FirstCharacters("ñ", 5), "ñ");
}

TEST(FrameSelectionTest, SplitsSelectedFramesOnlyAtExactlyTwentyCharacters) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"M1        T1        ", "M1", "T1"},
      {"MAÑANA    TARDE     ", "MA\xD1" "ANA", "TARDE"},
      {" X        ", "X", ""},
      {"AAAAAAAAAABBBBBBBBBBCC", "AAAAAAAAAA", "BBBBBBBBBB"},
      {"AAAAAAAAAABBBBBBBBB", "AAAAAAAAAA", ""},
      {"", "", ""}};
  for (const auto& [selected, first, second] : cases) {
    const ChosenFrames frames = SplitSelectedFrames(selected);
    EXPECT_EQ(frames.first, first) << selected;
    EXPECT_EQ(frames.second, second) << selected;
  }
}

TEST(FrameSelectionTest, MessagesAreTheProgramsTexts) {
  EXPECT_STREQ(kTooManyFramesMessage,
               "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 Marcos Horarios");
  EXPECT_STREQ(kNoFrameMessage, "Debe al menos seleccionar 1 Marco Horario.");
}

}  // namespace
}  // namespace enlacor
