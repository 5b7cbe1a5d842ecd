#include "ui/platform/RecentFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace wattrix {

namespace {

constexpr const char* kKey = "Files/LastFolder";

}  // namespace

QString RecentFolder::Get() {
  const QString folder = QSettings().value(kKey).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QDir::homePath();
}

void RecentFolder::RememberFile(const QString& filePath) {
  if (filePath.isEmpty()) return;
  const QFileInfo info(filePath);
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  QSettings().setValue(kKey, folder);
}

QString RecentFolder::OpenFile(QWidget* parent, const QString& caption, const QString& filter) {
  const QString path = QFileDialog::getOpenFileName(parent, caption, Get(), filter);
  RememberFile(path);
  return path;
}

QString RecentFolder::SaveFile(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& suggestedName) {
  const QString start =
      suggestedName.isEmpty() ? Get() : QDir(Get()).filePath(QFileInfo(suggestedName).fileName());
  const QString path = QFileDialog::getSaveFileName(parent, caption, start, filter);
  RememberFile(path);
  return path;
}

}  // namespace wattrix
