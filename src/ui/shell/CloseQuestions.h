#pragma once

#include <QList>

class QMdiSubWindow;

namespace wattrix {

// The questions asked before windows close together (the application
// exits): every child window in turn may keep itself open.
class CloseQuestions final {
 public:
  // Asks each child of `windows` (ChildFrame::QueryClose). True when all
  // agreed; on the first refusal the ones that had agreed are told the
  // exit was cancelled and false is returned, so nothing changes.
  static bool AllAgree(const QList<QMdiSubWindow*>& windows);
};

}  // namespace wattrix
