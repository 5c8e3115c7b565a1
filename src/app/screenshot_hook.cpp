#include "app/screenshot_hook.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "app/main_window.h"

namespace enlacor {
namespace {

constexpr int kSettleMs = 300;  // time for a window to paint before its picture
constexpr int kPollMs = 100;

class ScreenshotHook : public QObject {
 public:
  ScreenshotHook(TMForm& window, QString folder, QString document)
      : QObject(&window), window_(window), folder_(std::move(folder)),
        document_(std::move(document)) {}

  void Start() {
    QTimer::singleShot(kSettleMs, this, [this] {
      Save(&window_, "main-window.png");
      auto* poll = new QTimer(this);
      connect(poll, &QTimer::timeout, this, &ScreenshotHook::AnswerModal);
      poll->start(kPollMs);
      window_.findChild<QPushButton*>("BExportar")->click();
      window_.close();  // after the run: the program ends
    });
  }

 private:
  void Save(QWidget* widget, const char* name) {
    widget->grab().save(QDir(folder_).filePath(name));
  }

  void AnswerModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == answered_) return;
    answered_ = modal;
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      // Typed as a person would: selectFile leaves a focused name field alone.
      files->findChild<QLineEdit*>("fileNameEdit")->setText(document_);
      static_cast<QDialog*>(files)->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QTimer::singleShot(kSettleMs, box, [this, box] {
        Save(box, "message.png");
        box->accept();
      });
    } else if (auto* frames = modal->findChild<QListWidget*>("ListBox2")) {
      QTimer::singleShot(kSettleMs, modal, [this, modal, frames] {
        Save(modal, "frame-dialog.png");
        frames->setCurrentRow(0);
        modal->close();
      });
    }
  }

  TMForm& window_;
  QString folder_;
  QString document_;
  QWidget* answered_ = nullptr;
};

}  // namespace

void InstallScreenshotHook(TMForm& window) {
  const QString folder = qEnvironmentVariable("ENLACOR_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  auto* hook = new ScreenshotHook(window, folder, qEnvironmentVariable("ENLACOR_SCREENSHOT_DOCUMENT"));
  hook->Start();
}

}  // namespace enlacor
