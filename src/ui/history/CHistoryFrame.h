#pragma once

#include "ui/shell/ChildFrame.h"

#include <QString>

#include <memory>

class QMenu;

namespace wattrix {

class CHistoryView;
class MenuBuilder;

// A history window: the child frame whose single pane is the history view.
// The main frame creates it, calls LoadHistory (and discards the window
// when that fails), titles it "%s, %s" of the path and ModelName(), and
// routes the history commands through OnCommand/UpdateCommand.
class CHistoryFrame final : public ChildFrame {
  Q_OBJECT

 public:
  explicit CHistoryFrame(QWidget* parent = nullptr);
  ~CHistoryFrame() override;

  ChildKind Kind() const override { return ChildKind::History; }

  // Opens a history file into the view; false when it cannot be read.
  bool LoadHistory(const QString& path);
  // Model name stored in the loaded file (e.g. "PX420A").
  QString ModelName() const;
  // "<path>, <model name>" of the loaded file.
  QString HistoryTitle() const;

  CHistoryView& View() const { return *m_view; }
  // The right-click menu (history pop-up), owned by the frame.
  QMenu* ContextMenu() const { return m_popup; }

  // The view first, then the frame (which handles nothing of its own).
  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

 private:
  CHistoryView* m_view;
  std::unique_ptr<MenuBuilder> m_menus;
  QMenu* m_popup = nullptr;
};

}  // namespace wattrix
