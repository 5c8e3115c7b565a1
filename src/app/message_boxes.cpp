#include "app/message_boxes.h"

#include <QMessageBox>
#include <QString>

#include "app/core/run_frame.h"

namespace enlacor {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void ShowPlainMessage(QWidget* parent, std::string_view text) {
  ShowBox(parent, QMessageBox::NoIcon, FromUtf8(text));
}

void ShowStandardError(QWidget* parent, std::string_view message) {
  ShowBox(parent, QMessageBox::Critical, FromUtf8(StandardErrorText(message)));
}

}  // namespace enlacor
