#include "ui/ccdf/CCcdfSplitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSplitterHandle>

#include <algorithm>

namespace wattrix {

namespace {

// The bar between two panes: painted in the window's dark ground, and
// deaf to the mouse while its splitter is locked.
class LockableHandle final : public QSplitterHandle {
 public:
  LockableHandle(Qt::Orientation orientation, CCcdfSplitter* parent)
      : QSplitterHandle(orientation, parent), m_owner(*parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void Sync() { setCursor(m_owner.Locked() ? Qt::ArrowCursor : CursorOf(orientation())); }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (m_owner.Locked()) return event->ignore();
    QSplitterHandle::mousePressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (m_owner.Locked()) return event->ignore();
    QSplitterHandle::mouseMoveEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (m_owner.Locked()) return event->ignore();
    QSplitterHandle::mouseReleaseEvent(event);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(14, 30, 57));
  }

 private:
  static Qt::CursorShape CursorOf(Qt::Orientation o) {
    return o == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor;
  }
  CCcdfSplitter& m_owner;
};

}  // namespace

CCcdfSplitter::CCcdfSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
  setHandleWidth(kBarWidth);
  setChildrenCollapsible(true);
  setOpaqueResize(true);
}

void CCcdfSplitter::SetLocked(bool locked) {
  m_locked = locked;
  for (int i = 0; i < count(); ++i)
    if (auto* bar = dynamic_cast<LockableHandle*>(handle(i))) bar->Sync();
}

QSplitterHandle* CCcdfSplitter::createHandle() {
  auto* bar = new LockableHandle(orientation(), this);
  bar->Sync();
  return bar;
}

void CCcdfSplitter::SetLeadingSizes(const std::vector<int>& leading) {
  const int panes = count();
  if (panes == 0) return;
  const int extent = orientation() == Qt::Horizontal ? width() : height();
  int room = std::max(0, extent - (panes - 1) * handleWidth());
  QList<int> sizes;
  for (int i = 0; i < panes - 1; ++i) {
    const int size = std::clamp(i < static_cast<int>(leading.size()) ? leading[i] : 0, 0, room);
    sizes.append(size);
    room -= size;
  }
  sizes.append(room);
  setSizes(sizes);
}

}  // namespace wattrix
