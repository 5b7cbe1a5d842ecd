#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace wattrix {

// A save-file question: Qt filter ("CSV files (*.csv);;All files (*)"),
// the suffix added to a name without one, and the name proposed.
struct SavePathRequest {
  QString filter;
  QString suffix;
  QString proposedName;
};

// Asks for a path to write; empty when the user cancelled.
using SavePathChooser = std::function<QString(QWidget* parent, const SavePathRequest& request)>;

namespace file_dialog {

inline const QString kPshFilter = QStringLiteral("PSH files (*.psh);;All files (*)");
inline const QString kCsvFilter = QStringLiteral("CSV files (*.csv);;All files (*)");
inline const QString kBitmapFilter = QStringLiteral("Bitmap files (*.bmp);;All files (*)");

// The save-file dialog, opened in the folder last used; an existing file
// is replaced without asking. The chosen folder is remembered.
QString AskSavePath(QWidget* parent, const SavePathRequest& request);

// The folder the file dialogs start in: the one last used (kept in the
// "Kelvane" settings), or the home folder.
QString LastFolder();
// Remembers the folder of filePath.
void RememberFolder(const QString& filePath);

}  // namespace file_dialog
}  // namespace wattrix
