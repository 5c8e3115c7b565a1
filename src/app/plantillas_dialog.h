// TPlantillas: the modal dialog in which the person chooses the one or two
// time frames ("Marcos Horarios") that the timetable will use.
//
// The frame list ListBox2 takes several items (Ctrl-click, Shift-click);
// clicking or moving to an item shows that frame's name, date and periods.
// The dialog computes everything through FrameDialogLogic: it reloads the
// exchange document at each activation (so a selection made before the
// dialog lost and regained the focus is cleared), and at every closing (the
// button "Continuar", the close box, Escape) it sets Accepted and Selection,
// showing a message when too many or no frames are selected. It never
// refuses to close; the caller shows a new dialog until one is accepted.
#pragma once

#include <exception>
#include <filesystem>
#include <string>

#include <QDialog>

#include "app/core/run_host.h"
#include "export/frame_dialog_logic.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace enlacor {

class TDraw3D;

class TPlantillas : public QDialog {
  Q_OBJECT

 public:
  TPlantillas(const std::filesystem::path& xml_file_name, QWidget* owner = nullptr);

  // Read after the dialog has closed.
  bool Accepted() const { return logic_.Accepted(); }
  const std::string& Selection() const { return logic_.Selection(); }

  // Raises again the failure that stopped an activation (the document could
  // not be loaded); such a dialog closes at once without a choice.
  void RethrowLoadFailure() const;

  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void FormActivate();
  void ListBox2Click();
  void ShowCurrentFrame();  // the outcome of ComboBoxPlantillaChange

  FrameDialogLogic logic_;
  std::exception_ptr load_failure_;
  bool closing_ = false;

  TDraw3D* Draw3D4 = nullptr;
  QLabel* LabelPlantillas = nullptr;
  QLabel* LabelSelec = nullptr;
  QLabel* LabelMarcos = nullptr;
  QLabel* Label1 = nullptr;
  QListWidget* ListBox2 = nullptr;
  QListWidget* ListBox1 = nullptr;
  QLabel* LabelNombre = nullptr;
  QLabel* LabelPlanFec1 = nullptr;
  QLabel* LabelPlanFec2 = nullptr;
  QComboBox* ComboBoxPlantilla = nullptr;
  QPushButton* BitBtnContinuar = nullptr;
};

// Shows one TPlantillas for the document at `xml_file_name`, modally over
// `owner`, and returns what it left when it closed. Raises DocumentError
// when the document cannot be loaded.
FrameDialogResult ShowFrameDialog(QWidget* owner, const std::filesystem::path& xml_file_name);

}  // namespace enlacor
