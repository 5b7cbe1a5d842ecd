#include "ui/shell/CloseQuestions.h"

#include "ui/shell/ChildFrame.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <vector>

namespace wattrix {

bool CloseQuestions::AllAgree(const QList<QMdiSubWindow*>& windows) {
  // A question runs a modal box; a window may go meanwhile.
  std::vector<QPointer<ChildFrame>> agreed;
  std::vector<QPointer<ChildFrame>> children;
  for (QMdiSubWindow* window : windows)
    if (auto* child = qobject_cast<ChildFrame*>(window->widget())) children.emplace_back(child);
  for (const QPointer<ChildFrame>& child : children) {
    if (!child) continue;
    if (!child->QueryClose()) {
      for (const QPointer<ChildFrame>& other : agreed)
        if (other) other->CloseCancelled();
      return false;
    }
    agreed.push_back(child);
  }
  return true;
}

}  // namespace wattrix
