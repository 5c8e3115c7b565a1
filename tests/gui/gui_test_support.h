// Helpers for the main window's tests under Qt's offscreen platform: the
// application object, a script that answers the modal dialogs a run opens,
// and keys delivered as the window system would (so shortcuts fire).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

// Qt's own entry for synthetic key events from the window system, the one
// QTest uses; exported by QtGui.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key,
                                    Qt::KeyboardModifiers modifiers, const QString& text,
                                    bool autorep, ushort count);

namespace enlacor::testing {

inline void EnsureGuiApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// Lets events run until `done` holds, for at most five seconds.
template <typename Condition>
void ProcessEventsUntil(Condition done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Shows `window`, makes it the active window and lets it settle.
inline void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ProcessEventsUntil([&window] { return QApplication::activeWindow() == &window; });
  QApplication::processEvents();
}

// A key press and release on the window, through the shortcut map.
inline void PressKey(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = {}) {
  qt_handleKeyEvent(window.windowHandle(), QEvent::KeyPress, key, modifiers, text, false, 1);
  qt_handleKeyEvent(window.windowHandle(), QEvent::KeyRelease, key, modifiers, text, false, 1);
  QApplication::processEvents();
}

// Answers, in order, the modal dialogs that open while it lives: each
// answer gets the dialog. What each message box said is kept in
// `messages`. A dialog beyond the script is recorded in `unexpected` and
// closed; after many of them the program stops rather than hang.
class ModalScript {
 public:
  using Answer = std::function<void(QWidget* modal)>;

  explicit ModalScript(std::vector<Answer> answers) : answers_(std::move(answers)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(20);
  }

  bool AllAnswered() const { return next_ == answers_.size(); }

  std::vector<std::string> messages;
  std::vector<QMessageBox::Icon> icons;
  std::vector<std::string> captions;
  std::vector<std::string> unexpected;

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != last_) last_ = nullptr;
    if (!modal || modal == last_) return;
    last_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      messages.push_back(box->text().toStdString());
      icons.push_back(box->icon());
      captions.push_back(box->windowTitle().toStdString());
    }
    if (next_ < answers_.size()) {
      answers_[next_++](modal);
      return;
    }
    unexpected.push_back(modal->metaObject()->className());
    if (unexpected.size() > 20) {
      std::cerr << "ModalScript: too many unexpected dialogs\n";
      std::abort();
    }
    modal->close();
  }

  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  QPointer<QWidget> last_;
  QTimer timer_;
};

// Types `path` into the file dialog's name field and confirms it.
inline ModalScript::Answer ChooseFile(const std::filesystem::path& path) {
  return [path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << "expected the file dialog, got " << modal->metaObject()->className();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path.string()));
    static_cast<QDialog*>(dialog)->accept();
  };
}

inline ModalScript::Answer CancelFile() {
  return [](QWidget* modal) {
    ASSERT_NE(qobject_cast<QFileDialog*>(modal), nullptr);
    static_cast<QDialog*>(modal)->reject();
  };
}

// Presses OK on a message box.
inline ModalScript::Answer PressOk() {
  return [](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << "expected a message box, got " << modal->metaObject()->className();
    box->button(QMessageBox::Ok)->click();
  };
}

// Selects the frames at `rows` in the frame dialog and presses "Continuar".
inline ModalScript::Answer ChooseFrameRows(std::vector<int> rows) {
  return [rows](QWidget* modal) {
    auto* frames = modal->findChild<QListWidget*>("ListBox2");
    ASSERT_NE(frames, nullptr) << "expected the frame dialog, got " << modal->metaObject()->className();
    for (int row : rows) frames->item(row)->setSelected(true);
    modal->findChild<QPushButton*>("BitBtnContinuar")->click();
  };
}

}  // namespace enlacor::testing
