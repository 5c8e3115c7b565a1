// TMForm: the program's main window, MForm.
//
// It offers the two runs side by side (export on the left, import on the
// right, each under a heading that names its direction), a close button
// "&Salir", a help button "F1 Ayuda" and a footer with the program's name
// and version, on three gradient panels. It owns what the runs share: the
// shared state, the file dialog OpenDialogXML and the workspace.
//
// The window is the runs' RunHost. A run starts from BExportar or BImportar
// or, in automation mode, at the window's first showing; it runs to its end
// inside that handler. A failure that ends a handler is shown in the
// standard error box and leaves the window open with its buttons as they
// were.
//
// Automation mode: with exactly two command-line parameters the window
// embeds itself, borderless, in the foreign window whose handle parameter 2
// gives in hexadecimal, runs the direction parameter 1 names at its first
// showing, and on closing writes the run status to the status file. An
// unreadable handle is reported and leaves the window unembedded and the
// program in interactive mode.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "app/core/run_host.h"
#include "app/core/shared_state.h"
#include "app/help_viewer.h"
#include "exchange/timetable_tables.h"

class QFileDialog;
class QLabel;
class QPushButton;
class QWindow;

namespace enlacor {

class TDraw3D;

inline constexpr char kMainWindowCaption[] = "Exportar e importar datos entre Horvana y Escolia ";
inline constexpr int kMainWindowWidth = 632;
inline constexpr int kMainWindowHeight = 266;

class TMForm : public QDialog, public RunHost {
  Q_OBJECT

 public:
  // What the window is started with. The defaults are those of a normal
  // start; tests put their own workspace, files and help viewer in.
  struct Setup {
    std::vector<std::string> params;  // command-line parameters, program name excluded
    Workspace workspace = Workspace::Default();
    std::filesystem::path status_file;  // empty: Horvana.ini beside the executable
    std::filesystem::path help_file;    // empty: ESCOLIA.chm beside the executable
    std::unique_ptr<HelpViewer> help_viewer;  // null: the platform's viewer
  };

  // Builds the window and runs FormCreate (which may show the error box of
  // an unreadable handle before returning).
  explicit TMForm(Setup setup);
  ~TMForm() override;

  SharedState& State() { return state_; }
  const SharedState& State() const { return state_; }
  bool IsEmbedded() const { return foreign_window_ != nullptr; }

  // Event handlers.
  void BExportarClick();  // export run
  void BImportarClick();  // import run
  void Button1Click();    // help contents
  void HelpTopicClick();  // F1: help topic 3

  // RunHost.
  std::optional<std::filesystem::path> ChooseExchangeDocument() override;
  void ShowMessage(const std::string& text) override;
  FrameDialogResult ChooseFrames(const std::filesystem::path& xml_file_name) override;
  void SetBusyCursor() override;
  void RestoreCursor() override;
  bool IsAutomation() const override { return state_.IsAutomation(); }
  void DisableRunButtons() override;
  void CloseMainWindow() override;

 signals:
  // The window has closed (after FormClose); the program ends.
  void WindowClosed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildPanels();
  void BuildLabels();
  void BuildButtons();
  void SetTabOrder();

  void FormCreate();
  void FormShow();
  void FormClose();

  // Runs one handler; a failure is shown in the standard error box.
  template <typename Handler>
  void Guarded(Handler&& handler);
  void ShowHelp(bool topic);

  Setup setup_;
  SharedState state_;
  bool shown_once_ = false;
  QWindow* foreign_window_ = nullptr;

  // The controls, named as in the window's design; their object names are
  // the same, so tests find them with findChild.
  TDraw3D* Draw3D1 = nullptr;  // footer band
  TDraw3D* Draw3D2 = nullptr;  // export side
  TDraw3D* Draw3D3 = nullptr;  // import side
  QLabel* Label1 = nullptr;    // "Enlacor para TZ09 V-1.0"
  QLabel* Label3 = nullptr;    // export heading
  QLabel* Label4 = nullptr;    // import heading
  QPushButton* BClose = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* BExportar = nullptr;
  QPushButton* BImportar = nullptr;
  QFileDialog* OpenDialogXML = nullptr;
};

}  // namespace enlacor
