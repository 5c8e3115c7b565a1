// The main window's look: geometry, captions, fonts and colours, tab order
// and the state of its buttons when it opens.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "app/draw3d.h"
#include "app/main_window.h"
#include "gui_test_support.h"
#include "main_window_fixture.h"

namespace enlacor {
namespace {


class MainWindowLook : public testing::MainWindowTest {};

TEST_F(MainWindowLook, WindowIsAFixedDialogWithItsCaption) {
  TMForm window(MakeSetup());
  EXPECT_EQ(window.objectName(), "MForm");
  EXPECT_EQ(window.windowTitle(), "Exportar e importar datos entre Horvana y Escolia ");
  EXPECT_EQ(window.size(), QSize(632, 266));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::FramelessWindowHint);
  EXPECT_FALSE(window.IsEmbedded());
  EXPECT_EQ(window.State().StartParamCount, 0);
  EXPECT_EQ(window.State().RunStatus, 0);
}

struct ControlPlace {
  const char* name;
  const char* parent;
  QRect geometry;
};

TEST_F(MainWindowLook, ControlsLieOnTheirPanelsAtTheirPlaces) {
  const ControlPlace places[] = {
      {"Draw3D1", "MForm", {0, 168, 633, 97}},    {"Draw3D2", "MForm", {1, 0, 315, 169}},
      {"Draw3D3", "MForm", {316, 0, 317, 169}},   {"Label3", "Draw3D2", {24, 24, 265, 57}},
      {"Label4", "Draw3D3", {8, 24, 305, 57}},    {"Label1", "Draw3D1", {8, 72, 220, 13}},
      {"BClose", "Draw3D1", {256, 32, 89, 25}},   {"Button1", "Draw3D1", {512, 56, 75, 25}},
      {"BExportar", "Draw3D2", {96, 120, 89, 25}}, {"BImportar", "Draw3D3", {96, 120, 89, 25}},
  };
  TMForm window(MakeSetup());
  for (const ControlPlace& place : places) {
    SCOPED_TRACE(place.name);
    QWidget* control = Find(window, place.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), place.parent);
    EXPECT_EQ(control->geometry(), place.geometry);
  }
}

struct PanelColours {
  const char* name;
  QRgb start, middle, end, base;
};

TEST_F(MainWindowLook, PanelsHaveTheirGradients) {
  const PanelColours panels[] = {
      {"Draw3D1", 0xC2CDFE, 0xCFF2FE, 0xCCD8E6, 0xCCD8E6},
      {"Draw3D2", 0xF9D37D, 0xFFFFFF, 0xFFEEDD, 0x00FF00},
      {"Draw3D3", 0xF9D37D, 0xFFFFFF, 0xFFEEDD, 0x00FF00},
  };
  TMForm window(MakeSetup());
  for (const PanelColours& expected : panels) {
    SCOPED_TRACE(expected.name);
    auto* panel = Find<TDraw3D>(window, expected.name);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->StartColor(), QColor(expected.start));
    EXPECT_EQ(panel->MiddleColor(), QColor(expected.middle));
    EXPECT_EQ(panel->EndColor(), QColor(expected.end));
    EXPECT_EQ(panel->BaseColor(), QColor(expected.base));
  }
}

TEST_F(MainWindowLook, LabelsHaveTheirTextsAndFonts) {
  TMForm window(MakeSetup());
  auto* label3 = Find<QLabel>(window, "Label3");
  auto* label4 = Find<QLabel>(window, "Label4");
  auto* label1 = Find<QLabel>(window, "Label1");
  ASSERT_TRUE(label3 && label4 && label1);

  EXPECT_EQ(label3->text(), "Transformar datos desde Escolia hacia Horvana ");
  EXPECT_EQ(label4->text(), "Transformar datos desde Horvana hacia Escolia");
  EXPECT_EQ(label1->text(), "Enlacor para TZ09 V-1.0");
  for (QLabel* heading : {label3, label4}) {
    EXPECT_EQ(heading->font().pixelSize(), 16);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_TRUE(heading->wordWrap());
  }
  EXPECT_EQ(label1->font().pixelSize(), 11);
  EXPECT_TRUE(label1->font().bold());
  EXPECT_FALSE(label1->wordWrap());
  EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(0xFF0000));
  EXPECT_EQ(window.font().pixelSize(), 11);
}

// The footer text really paints red, and the headings fit their two lines.
TEST_F(MainWindowLook, FooterPaintsRedAndHeadingsFit) {
  TMForm window(MakeSetup());
  const QImage footer = window.findChild<QLabel*>("Label1")->grab().toImage();
  int red_pixels = 0;
  for (int y = 0; y < footer.height(); ++y)
    for (int x = 0; x < footer.width(); ++x) {
      const QColor pixel = footer.pixelColor(x, y);
      if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) ++red_pixels;
    }
  EXPECT_GT(red_pixels, 20);

  for (const char* name : {"Label3", "Label4"}) {
    auto* heading = window.findChild<QLabel*>(name);
    EXPECT_LE(heading->heightForWidth(heading->width()), heading->height()) << name;
  }
}

TEST_F(MainWindowLook, ButtonsHaveCaptionsGlyphsAndDefault) {
  TMForm window(MakeSetup());
  auto* close = Find<QPushButton>(window, "BClose");
  auto* help = Find<QPushButton>(window, "Button1");
  auto* run_export = Find<QPushButton>(window, "BExportar");
  auto* run_import = Find<QPushButton>(window, "BImportar");
  ASSERT_TRUE(close && help && run_export && run_import);

  EXPECT_EQ(close->text(), "&Salir");
  EXPECT_EQ(close->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
  EXPECT_EQ(help->text(), "F1 Ayuda");
  EXPECT_TRUE(help->icon().isNull());
  EXPECT_EQ(run_export->text(), "OK");
  EXPECT_EQ(run_import->text(), "OK");
  EXPECT_TRUE(run_export->isDefault());
  EXPECT_FALSE(run_import->isDefault());
  for (QPushButton* button : {close, help, run_export, run_import}) {
    EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(button->autoDefault()) << button->objectName().toStdString();
  }
}

TEST_F(MainWindowLook, FocusMovesThroughTheFourButtonsInOrder) {
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  const char* order[] = {"BClose", "Button1", "BExportar", "BImportar", "BClose"};
  window.findChild<QWidget*>(order[0])->setFocus();
  for (std::size_t i = 1; i < std::size(order); ++i) {
    testing::PressKey(window, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i]) << "after " << order[i - 1];
  }
  for (const char* name : {"Draw3D1", "Draw3D2", "Draw3D3", "Label1", "Label3", "Label4"})
    EXPECT_EQ(window.findChild<QWidget*>(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(MainWindowLook, FileDialogHasItsSettings) {
  TMForm window(MakeSetup());
  auto* dialog = Find<QFileDialog>(window, "OpenDialogXML");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Archivo XML");
  EXPECT_EQ(dialog->nameFilters(), QStringList{"*.xml (*.xml)"});
  EXPECT_EQ(dialog->defaultSuffix(), "xml");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), (WorkspaceDir() / "escolia").string());
}

}  // namespace
}  // namespace enlacor
