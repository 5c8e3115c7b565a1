// TPlantillas under Qt's offscreen platform: its look, selecting frames with
// the mouse, what closing leaves, and the messages it shows.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/draw3d.h"
#include "app/plantillas_dialog.h"
#include "exchange/exchange_document.h"
#include "support/temp_dir.h"
#include "gui/gui_test_support.h"

namespace enlacor {
namespace {

using testing::TempDir;


constexpr char kDocument[] =
    "<SERVICIO><SALIDAS><listasal seq=\"JORNADAS\">"
    "<listasal><salida>M1</salida><salida>Mañana</salida><salida>01/09/2024</salida></listasal>"
    "<listasal><salida>T1</salida><salida>Tarde</salida><salida>02/09/2024</salida></listasal>"
    "<listasal><salida>NOCTURNO_LARGO</salida><salida>Noche</salida><salida>03/09/2024</salida></listasal>"
    "</listasal><listasal seq=\"INTERVALOS\">"
    "<listasal><salida dato=\"CODIGO_ESCOLIA\">1</salida><salida dato=\"NOMBRE\">Primera</salida>"
    "<salida dato=\"INICIO\">08:00</salida><salida dato=\"FIN\">08:55</salida>"
    "<salida dato=\"ORDEN\">1</salida><salida dato=\"CLAVE_JORNADA\">M1</salida></listasal>"
    "<listasal><salida dato=\"CODIGO_ESCOLIA\">2</salida><salida dato=\"NOMBRE\">Tarde1</salida>"
    "<salida dato=\"INICIO\">15:00</salida><salida dato=\"FIN\">15:55</salida>"
    "<salida dato=\"ORDEN\">1</salida><salida dato=\"CLAVE_JORNADA\">T1</salida></listasal>"
    "</listasal></SALIDAS></SERVICIO>";

// Answers every message box that opens while it lives with OK, recording
// its caption and text.
class MessageCatcher {
 public:
  MessageCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      captions.push_back(box->windowTitle().toStdString());
      texts.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start(10);
  }
  std::vector<std::string> captions;
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

class PlantillasDialogTest : public ::testing::Test {
 protected:
  PlantillasDialogTest() {
    testing::EnsureGuiApplication();
    std::ofstream(path_, std::ios::binary) << kDocument;
  }

  template <typename T>
  T* Control(TPlantillas& dialog, const char* name) {
    T* control = dialog.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // A click on item `row` of the list, with the modifiers a person holds.
  static void ClickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at = list->visualItemRect(list->item(row)).center();
    const QPointF global = list->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(list->viewport(), &press);
    QApplication::sendEvent(list->viewport(), &release);
  }

  static std::vector<std::string> Items(QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "centro.xml";
};

TEST_F(PlantillasDialogTest, HasTheCaptionPlaceAndControls) {
  TPlantillas dialog(path_);
  EXPECT_EQ(dialog.windowTitle(), "Planillas, Marcos o Jornadas Horarias");
  EXPECT_EQ(dialog.pos(), QPoint(424, 285));
  EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

  auto* panel = Control<TDraw3D>(dialog, "Draw3D4");
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 369, 281));
  EXPECT_EQ(panel->StartColor(), QColor(0xA6, 0xCA, 0xF0));
  EXPECT_EQ(panel->MiddleColor(), QColor(Qt::white));

  struct LabelCase {
    const char* name;
    QRect geometry;
    QString text;
    int pixels;
    bool italic, underline;
    QColor color;
  };
  const QColor maroon(0x80, 0x00, 0x00);
  const std::vector<LabelCase> labels = {
      {"LabelPlantillas", {16, 2, 321, 33},
       "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Horvana.", 13, false, false,
       dialog.palette().color(QPalette::WindowText)},
      {"LabelSelec", {16, 36, 321, 50},
       "Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y seleccione cada marco con 1 "
       "click del botón izquierdo del ratón.",
       13, true, false, QColor(0xFF, 0x00, 0x00)},
      {"LabelMarcos", {40, 86, 74, 16}, "MARCOS", 16, false, false, maroon},
      {"Label1", {215, 86, 67, 18}, "HORAS", 16, false, false, maroon},
      {"LabelNombre", {9, 151, 120, 41}, "-", 16, false, true, maroon},
      {"LabelPlanFec1", {9, 196, 120, 23}, "-", 16, false, false, maroon},
      {"LabelPlanFec2", {9, 226, 120, 23}, "-", 16, false, false, maroon},
  };
  for (const LabelCase& c : labels) {
    auto* label = Control<QLabel>(dialog, c.name);
    if (!label) continue;
    EXPECT_EQ(label->parentWidget(), panel) << c.name;
    EXPECT_EQ(label->geometry(), c.geometry) << c.name;
    EXPECT_EQ(label->text(), c.text) << c.name;
    EXPECT_EQ(label->font().family(), "Arial") << c.name;
    EXPECT_EQ(label->font().pixelSize(), c.pixels) << c.name;
    EXPECT_TRUE(label->font().bold()) << c.name;
    EXPECT_EQ(label->font().italic(), c.italic) << c.name;
    EXPECT_EQ(label->font().underline(), c.underline) << c.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.color) << c.name;
    EXPECT_FALSE(label->autoFillBackground()) << c.name;
  }

  auto* frames = Control<QListWidget>(dialog, "ListBox2");
  auto* periods = Control<QListWidget>(dialog, "ListBox1");
  auto* combo = Control<QComboBox>(dialog, "ComboBoxPlantilla");
  auto* button = Control<QPushButton>(dialog, "BitBtnContinuar");
  EXPECT_EQ(frames->geometry(), QRect(16, 103, 127, 45));
  EXPECT_EQ(frames->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(periods->geometry(), QRect(152, 103, 193, 146));
  EXPECT_EQ(periods->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(combo->geometry(), QRect(150, 254, 81, 21));
  EXPECT_TRUE(combo->isHidden());
  EXPECT_EQ(button->geometry(), QRect(255, 253, 89, 25));
  EXPECT_EQ(button->text(), "Continuar");
  EXPECT_TRUE(button->font().bold());
  EXPECT_TRUE(button->isDefault());
  EXPECT_FALSE(button->icon().isNull());

  EXPECT_EQ(button->nextInFocusChain(), combo);
  EXPECT_EQ(combo->nextInFocusChain(), periods);
}

TEST_F(PlantillasDialogTest, ClickingAFrameShowsItsNameDateAndPeriods) {
  TPlantillas dialog(path_);
  dialog.show();
  QApplication::processEvents();
  auto* frames = Control<QListWidget>(dialog, "ListBox2");
  auto* periods = Control<QListWidget>(dialog, "ListBox1");
  auto* name = Control<QLabel>(dialog, "LabelNombre");
  auto* date = Control<QLabel>(dialog, "LabelPlanFec1");
  EXPECT_EQ(Items(frames), (std::vector<std::string>{"M1", "T1", "NOCTURNO_LARGO"}));
  EXPECT_EQ(name->text(), "Mañana");
  EXPECT_EQ(date->text(), "01/09/2024");
  EXPECT_EQ(Items(periods), std::vector<std::string>{"1-Primera-08:00-08:5"});

  ClickItem(frames, 1);
  EXPECT_EQ(name->text(), "Tarde");
  EXPECT_EQ(date->text(), "02/09/2024");
  EXPECT_EQ(Control<QLabel>(dialog, "LabelPlanFec2")->text(), "-");
  EXPECT_EQ(Items(periods), std::vector<std::string>{"1-Tarde1-15:00-15:55"});
  EXPECT_EQ(Control<QComboBox>(dialog, "ComboBoxPlantilla")->currentText(), "T1");

  // Losing and regaining the focus rebuilds the list: the selection is gone.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&dialog, &activate);
  EXPECT_TRUE(frames->selectedItems().isEmpty());
  EXPECT_EQ(name->text(), "Mañana");
  dialog.hide();
}

struct CloseCase {
  const char* name;
  std::vector<int> ctrl_clicks;  // rows clicked with Ctrl held, in this order
  bool accepted;
  std::string selection;
  std::vector<std::string> messages;
};

class PlantillasCloseTest : public PlantillasDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PlantillasCloseTest, ClosingByTheButtonLeavesAcceptedAndSelection) {
  const CloseCase& c = GetParam();
  TPlantillas dialog(path_);
  dialog.show();
  QApplication::processEvents();
  auto* frames = Control<QListWidget>(dialog, "ListBox2");
  for (int row : c.ctrl_clicks) ClickItem(frames, row, Qt::ControlModifier);

  MessageCatcher catcher;
  Control<QPushButton>(dialog, "BitBtnContinuar")->click();
  EXPECT_FALSE(dialog.isVisible());  // never refuses to close
  EXPECT_EQ(dialog.Accepted(), c.accepted);
  if (c.accepted) {
    EXPECT_EQ(dialog.Selection(), c.selection);
  }
  EXPECT_EQ(catcher.texts, c.messages);
  for (const std::string& caption : catcher.captions) EXPECT_EQ(caption, "Enlacor");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlantillasCloseTest,
    ::testing::Values(
        CloseCase{"OneFrame", {1}, true, "T1        ", {}},
        CloseCase{"TwoClickedInReverse", {1, 0}, true, "M1        T1        ", {}},
        CloseCase{"LongCodeCut", {2, 0}, true, "M1        NOCTURNO_L", {}},
        CloseCase{"ThreeFrames", {0, 1, 2}, false, "",
                  {"Demasiados Marcos Horarios seleccionados.\nComo máximo puede seleccionar 2 Marcos Horarios"}},
        CloseCase{"NoFrame", {}, false, "", {"Debe al menos seleccionar 1 Marco Horario."}},
        CloseCase{"ClickedTwiceIsUnselected", {0, 0}, false, "", {"Debe al menos seleccionar 1 Marco Horario."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlantillasDialogTest, ShiftClickSelectsARangeAndEscapeCloses) {
  TPlantillas dialog(path_);
  dialog.show();
  QApplication::processEvents();
  auto* frames = Control<QListWidget>(dialog, "ListBox2");
  ClickItem(frames, 1);
  ClickItem(frames, 2, Qt::ShiftModifier);
  EXPECT_EQ(frames->selectedItems().size(), 2);

  MessageCatcher catcher;
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialog.Accepted());
  EXPECT_EQ(dialog.Selection(), "T1        NOCTURNO_L");
  EXPECT_TRUE(catcher.texts.empty());
}

TEST_F(PlantillasDialogTest, ShowFrameDialogReturnsWhatTheClosedDialogLeft) {
  QTimer::singleShot(0, [this] {
    auto* dialog = qobject_cast<TPlantillas*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* frames = dialog->findChild<QListWidget*>("ListBox2");
    ClickItem(frames, 2, Qt::ControlModifier);
    dialog->close();  // the close box
  });
  const FrameDialogResult result = ShowFrameDialog(nullptr, path_);
  EXPECT_TRUE(result.Accepted);
  EXPECT_EQ(result.Selection, "NOCTURNO_L");
}

TEST_F(PlantillasDialogTest, ShowFrameDialogReportsADocumentThatCannotBeLoaded) {
  EXPECT_THROW(ShowFrameDialog(nullptr, dir_ / "no-existe.xml"), DocumentError);
  std::ofstream(path_, std::ios::binary) << "<SERVICIO><SALIDAS>";
  MessageCatcher catcher;  // no selection message for a dialog that could not load
  EXPECT_THROW(ShowFrameDialog(nullptr, path_), DocumentError);
  EXPECT_TRUE(catcher.texts.empty());
}

}  // namespace
}  // namespace enlacor
