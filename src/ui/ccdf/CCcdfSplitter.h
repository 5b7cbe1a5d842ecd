#pragma once

#include <QSplitter>

#include <vector>

namespace wattrix {

// A splitter of the CCDF window. Its sizes follow the window's size rule
// (CcdfFrameLayout); once locked, its bars cannot be grabbed: they take no
// mouse button (the press goes on to the window around it, which shows its
// context menu on a right click) and show the arrow cursor.
class CCcdfSplitter final : public QSplitter {
  Q_OBJECT

 public:
  static constexpr int kBarWidth = 5;

  explicit CCcdfSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

  void SetLocked(bool locked);
  bool Locked() const { return m_locked; }

  // The leading panes get the given sizes (clamped to the room there is);
  // the last pane takes the rest.
  void SetLeadingSizes(const std::vector<int>& leading);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  bool m_locked = false;
};

}  // namespace wattrix
