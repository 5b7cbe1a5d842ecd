#pragma once

#include "core/history/HistoryDocument.h"
#include "ui/history/SavePathDialog.h"
#include "ui/shell/CommandTarget.h"

#include <QFrame>
#include <QString>

class QMenu;

namespace wattrix {

class CGraphCtrl;

// The client of a history window: holds the opened history and fills its
// whole area with the graph control. Handles the history commands (save,
// exports, title, scale, quantity shown) and shows the right-click menu
// it is given.
class CHistoryView final : public QFrame, public CommandTarget {
  Q_OBJECT

 public:
  explicit CHistoryView(QWidget* parent = nullptr);
  ~CHistoryView() override;

  // Opens a history file of either layout and draws it; false (and the
  // view unchanged) when the file cannot be read.
  bool LoadHistory(const QString& path);
  // The path given to the last successful LoadHistory.
  const QString& LoadedPath() const { return m_loadedPath; }
  const HistoryDocument& Document() const { return m_document; }
  CGraphCtrl& Graph() const { return *m_graph; }

  // The menu shown on a right click (not owned).
  void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }
  QMenu* ContextMenu() const { return m_contextMenu; }
  // Who asks for the paths of Save As and the exports (the file dialog by
  // default).
  void SetSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

 private:
  void Save();
  void SaveAs();
  void ExportCsv();
  void ExportBitmap();
  void ChangeTitle();
  void ChangeScale();
  void ShowQuantity(HistoryCommand command);
  void ShowDocument();
  QString AskPath(const QString& filter, const QString& suffix);
  void ShowError(const char* key);
  void OnGraphPressed(Qt::MouseButton button, QPoint pos);

  HistoryDocument m_document;
  QString m_loadedPath;
  CGraphCtrl* m_graph;
  QMenu* m_contextMenu = nullptr;
  SavePathChooser m_choosePath;
};

}  // namespace wattrix
