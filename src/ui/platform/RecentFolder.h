#pragma once

#include <QString>

class QWidget;

namespace wattrix {

// The folder every file dialog starts in: the one last used in any of them,
// kept in the user's settings ("Kelvane"/"Wattrix", key "Files/LastFolder"),
// the home folder before the first use.
class RecentFolder final {
 public:
  static QString Get();
  // Remembers the folder of `filePath` (or `filePath` itself when it is a
  // folder).
  static void RememberFile(const QString& filePath);

  // File dialogs that start in the folder last used and remember the
  // folder of the chosen file. Empty text when cancelled. Filters in Qt's
  // form, e.g. "PSH files (*.psh);;All files (*.*)".
  static QString OpenFile(QWidget* parent, const QString& caption, const QString& filter);
  static QString SaveFile(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& suggestedName = QString());
};

}  // namespace wattrix
