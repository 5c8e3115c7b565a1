#include "app/open_dialog_xml.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace enlacor {

QFileDialog* CreateOpenDialogXML(QWidget* parent, const std::filesystem::path& initial_folder) {
  auto* dialog = new QFileDialog(parent);
  dialog->setObjectName("OpenDialogXML");
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setWindowTitle(QString::fromUtf8(kOpenDialogTitle));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilter(QString::fromUtf8(kOpenDialogFilter));
  dialog->setDefaultSuffix("xml");
  dialog->setDirectory(QString::fromStdU16String(initial_folder.u16string()));
  dialog->setSizeGripEnabled(true);
  return dialog;
}

std::optional<std::filesystem::path> RunOpenDialogXML(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  const QString full_path = QDir::toNativeSeparators(QFileInfo(chosen.first()).absoluteFilePath());
  return std::filesystem::path(full_path.toStdU16String());
}

}  // namespace enlacor
