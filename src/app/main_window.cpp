#include "app/main_window.h"

#include <exception>
#include <iostream>

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

#include "app/core/command_line.h"
#include "app/core/status_file.h"
#include "app/draw3d.h"
#include "app/message_boxes.h"
#include "app/open_dialog_xml.h"
#include "app/plantillas_dialog.h"
#include "app/window_embedding.h"
#include "export/export_run.h"
#include "import/import_run.h"

namespace enlacor {
namespace {

// The design's fonts, with metric-compatible faces where they are missing.
QFont SansSerif(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({"MS Sans Serif", "Liberation Sans", "Arial"});
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

QFont Arial(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({"Arial", "Liberation Sans"});
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

TDraw3D* MakePanel(QWidget* parent, const char* name, QRect geometry, QRgb start, QRgb middle,
                   QRgb end, QRgb base) {
  auto* panel = new TDraw3D(QColor(start), QColor(middle), QColor(end), QColor(base), parent);
  panel->setObjectName(name);
  panel->setGeometry(geometry);
  return panel;
}

QLabel* MakeLabel(QWidget* panel, const char* name, QRect geometry, const char* caption,
                  const QFont& font) {
  auto* label = new QLabel(QString::fromUtf8(caption), panel);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QPushButton* MakeButton(QWidget* panel, const char* name, QRect geometry, const char* caption,
                        const QIcon& glyph) {
  auto* button = new QPushButton(glyph, QString::fromUtf8(caption), panel);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(true);  // Enter clicks the focused button
  return button;
}

std::filesystem::path OrDefault(const std::filesystem::path& path,
                                std::filesystem::path (*fallback)()) {
  return path.empty() ? fallback() : path;
}

}  // namespace

TMForm::TMForm(Setup setup) : setup_(std::move(setup)) {
  if (!setup_.help_viewer) setup_.help_viewer = MakePlatformHelpViewer();
  setup_.status_file = OrDefault(setup_.status_file, [] { return StatusFilePath(); });
  setup_.help_file = OrDefault(setup_.help_file, HelpFileBesideExecutable);

  setObjectName("MForm");
  setWindowTitle(QString::fromUtf8(kMainWindowCaption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kMainWindowWidth, kMainWindowHeight);
  setFont(SansSerif(11, false));
  // Button face behind everything; the colour, not the role, so that the
  // labels keep the window-text colour as their foreground.
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);
  setSizeGripEnabled(false);

  BuildPanels();
  BuildLabels();
  BuildButtons();
  SetTabOrder();
  OpenDialogXML = CreateOpenDialogXML(this, setup_.workspace.EscoliaFolder());

  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help_key->setContext(Qt::WindowShortcut);
  connect(help_key, &QShortcut::activated, this, &TMForm::HelpTopicClick);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  FormCreate();
}

TMForm::~TMForm() { ReleaseForeignWindow(*this, foreign_window_); }

void TMForm::BuildPanels() {
  Draw3D1 = MakePanel(this, "Draw3D1", {0, 168, 633, 97}, 0xC2CDFE, 0xCFF2FE, 0xCCD8E6, 0xCCD8E6);
  Draw3D2 = MakePanel(this, "Draw3D2", {1, 0, 315, 169}, 0xF9D37D, 0xFFFFFF, 0xFFEEDD, 0x00FF00);
  Draw3D3 = MakePanel(this, "Draw3D3", {316, 0, 317, 169}, 0xF9D37D, 0xFFFFFF, 0xFFEEDD, 0x00FF00);
}

void TMForm::BuildLabels() {
  Label3 = MakeLabel(Draw3D2, "Label3", {24, 24, 265, 57},
                     "Transformar datos desde Escolia hacia Horvana ", Arial(16, true));
  Label4 = MakeLabel(Draw3D3, "Label4", {8, 24, 305, 57},
                     "Transformar datos desde Horvana hacia Escolia", Arial(16, true));
  Label3->setWordWrap(true);
  Label4->setWordWrap(true);

  Label1 = MakeLabel(Draw3D1, "Label1", {8, 72, 220, 13}, "Enlacor para TZ09 V-1.0",
                     SansSerif(11, true));
  QPalette red = Label1->palette();
  red.setColor(QPalette::WindowText, QColor(0xFF0000));
  Label1->setPalette(red);
}

void TMForm::BuildButtons() {
  const QIcon close_glyph = style()->standardIcon(QStyle::SP_DialogCloseButton);
  const QIcon check_glyph = style()->standardIcon(QStyle::SP_DialogApplyButton);
  BClose = MakeButton(Draw3D1, "BClose", {256, 32, 89, 25}, "&Salir", close_glyph);
  Button1 = MakeButton(Draw3D1, "Button1", {512, 56, 75, 25}, "F1 Ayuda", QIcon());
  BExportar = MakeButton(Draw3D2, "BExportar", {96, 120, 89, 25}, "OK", check_glyph);
  BImportar = MakeButton(Draw3D3, "BImportar", {96, 120, 89, 25}, "OK", check_glyph);
  BExportar->setDefault(true);

  connect(BClose, &QPushButton::clicked, this, &TMForm::close);
  connect(Button1, &QPushButton::clicked, this, &TMForm::Button1Click);
  connect(BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
  connect(BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
}

void TMForm::SetTabOrder() {
  setTabOrder(BClose, Button1);
  setTabOrder(Button1, BExportar);
  setTabOrder(BExportar, BImportar);
}

// Shared state, then the embedding of automation mode.
void TMForm::FormCreate() {
  state_ = SharedState{};  // RunStatus 0, StartParamCount 0
  if (!HasAutomationParameters(setup_.params)) return;

  WId handle = 0;
  try {
    handle = static_cast<WId>(ParseWindowHandle(setup_.params[1]));
  } catch (const ConversionError& error) {
    ShowStandardError(nullptr, error.what());
    return;
  }
  foreign_window_ = EmbedInForeignWindow(*this, handle);
  state_.StartParamCount = static_cast<int>(setup_.params.size());
}

// The run parameter 1 names, once the window is on screen.
void TMForm::FormShow() {
  switch (DirectionOf(setup_.params)) {
    case RunDirection::kImport:
      BImportarClick();
      break;
    case RunDirection::kExport:
      BExportarClick();
      break;
    case RunDirection::kNone:
      break;
  }
}

// In automation mode the run status goes to the status file. A file that
// cannot be written is reported on stderr and never keeps the window open.
void TMForm::FormClose() {
  if (!state_.IsAutomation()) return;
  std::string error;
  if (!WriteRunStatus(setup_.status_file, state_.RunStatus, error))
    std::cerr << "enlacor: " << error << '\n';
}

void TMForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  QTimer::singleShot(0, this, &TMForm::FormShow);
}

void TMForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  emit WindowClosed();
}

// Escape does not close the main window; Enter clicks the focused button.
void TMForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

template <typename Handler>
void TMForm::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    // A run stopped by a failure may have left the busy cursor set.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    ShowStandardError(this, failure.what());
  }
}

void TMForm::BExportarClick() {
  Guarded([this] { ExportRun(*this, state_, setup_.workspace).BExportarClick(); });
}

void TMForm::BImportarClick() {
  Guarded([this] { ImportRun(*this, state_, setup_.workspace).BImportarClick(); });
}

void TMForm::Button1Click() { ShowHelp(false); }

void TMForm::HelpTopicClick() { ShowHelp(true); }

void TMForm::ShowHelp(bool topic) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(setup_.help_file, ec)) {
    ShowPlainMessage(this, "No se encuentra el archivo de ayuda " + setup_.help_file.string() + ".");
    return;
  }
  std::string error;
  const bool shown = topic ? setup_.help_viewer->ShowTopic(setup_.help_file, kHelpContext, error)
                           : setup_.help_viewer->ShowContents(setup_.help_file, error);
  if (!shown) ShowPlainMessage(this, error);
}

std::optional<std::filesystem::path> TMForm::ChooseExchangeDocument() {
  return RunOpenDialogXML(*OpenDialogXML);
}

void TMForm::ShowMessage(const std::string& text) { ShowPlainMessage(this, text); }

FrameDialogResult TMForm::ChooseFrames(const std::filesystem::path& xml_file_name) {
  return ShowFrameDialog(this, xml_file_name);
}

void TMForm::SetBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void TMForm::RestoreCursor() { QApplication::restoreOverrideCursor(); }

void TMForm::DisableRunButtons() {
  BExportar->setEnabled(false);
  BImportar->setEnabled(false);
}

void TMForm::CloseMainWindow() { close(); }

}  // namespace enlacor
