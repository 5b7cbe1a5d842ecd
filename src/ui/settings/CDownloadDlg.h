#pragma once

#include "ui/history/SavePathDialog.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace wattrix {

class DownloadActions;
class MeasurementSettings;

// What the download dialog asks of the windows around it.
struct DownloadHooks {
  // Before the live histories are replaced: the live windows give up their
  // runs (an unsaved one after the user's answer); false stops the
  // download with nothing changed.
  std::function<bool()> releaseRun;
  // After the histories were replaced with a downloaded log.
  std::function<void()> historiesReplaced;
  // Opens a history file in a new history window; true when one shows it.
  std::function<bool(const QString& path)> openHistory;
};

// The logging download dialog (PX420B): the connected sensor, the items it
// has logged, and the download: Save to File, Show in Window (a temporary
// history file opened in a history window) and Clear Sensor Memory. A
// download runs off the user-interface thread with its progress shown and
// can be cancelled; only a complete log replaces the live histories.
class CDownloadDlg final : public QDialog {
  Q_OBJECT

 public:
  CDownloadDlg(MeasurementSettings& settings, DownloadActions& actions, DownloadHooks hooks,
               QWidget* parent = nullptr);

  // Who asks for Save to File's path (the file dialog by default).
  void SetSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }
  // Folder of Show in Window's temporary files (the system's by default).
  void SetTemporaryFolder(const QString& folder) { m_tempFolder = folder; }

  // The three buttons' work, also reachable by clicking them.
  void OnSaveFile();
  void OnLoadScreen();
  void OnReset();

  QCheckBox* ItemCheck(int bitIndex) const { return m_items.at(static_cast<std::size_t>(bitIndex)); }
  QLineEdit* TitleEdit() const { return m_title; }
  QPushButton* LoadButton() const { return m_load; }
  QPushButton* ResetButton() const { return m_reset; }
  QPushButton* SaveButton() const { return m_save; }
  // The path Show in Window wrote last (empty before).
  const QString& LastTemporaryFile() const { return m_lastTemporary; }

 private:
  QWidget* MakeItemsGroup();
  QWidget* MakeDownloadGroup();
  // Item boxes and the two download buttons from the logging status.
  void ShowStatus();
  // The fetch both download buttons share: the live runs released, the
  // transfer with its progress, the histories replaced. False (its box
  // shown, nothing changed) when there is no complete log.
  bool Fetch();
  // Writes the fetched histories with the logged items' mask and the title.
  bool WriteFetched(const QString& path);

  MeasurementSettings& m_settings;
  DownloadActions& m_actions;
  DownloadHooks m_hooks;
  SavePathChooser m_choosePath;
  QString m_tempFolder;
  QString m_lastTemporary;
  // Forward AVG, PEAK, REV, PULSE: bits 0x01, 0x02, 0x04, 0x08.
  std::array<QCheckBox*, 4> m_items{};
  QLineEdit* m_title = nullptr;
  QPushButton* m_load = nullptr;
  QPushButton* m_reset = nullptr;
  QPushButton* m_save = nullptr;
};

}  // namespace wattrix
