#include "ui/history/SavePathDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace wattrix::file_dialog {

namespace {

const QString kLastFolderKey = QStringLiteral("Files/LastFolder");

QSettings Settings() { return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Wattrix")); }

}  // namespace

QString LastFolder() {
  const QString folder = Settings().value(kLastFolderKey).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void RememberFolder(const QString& filePath) {
  const QString folder = QFileInfo(filePath).absolutePath();
  if (!folder.isEmpty()) Settings().setValue(kLastFolderKey, folder);
}

QString AskSavePath(QWidget* parent, const SavePathRequest& request) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(request.suffix);
  dialog.setDirectory(LastFolder());
  if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return {};
  RememberFolder(chosen.first());
  return chosen.first();
}

}  // namespace wattrix::file_dialog
