#include "ui/measure/MouseForwarding.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace wattrix {

bool ForwardMouseToParent(QWidget& child, const QMouseEvent& event) {
  const bool left = event.button() == Qt::LeftButton &&
                    (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick);
  const bool right = event.button() == Qt::RightButton && event.type() == QEvent::MouseButtonPress;
  QWidget* parent = child.parentWidget();
  if (!(left || right) || parent == nullptr) return false;
  // The button state names only the button of the event.
  QMouseEvent forwarded(event.type(), child.mapToParent(event.position()), event.scenePosition(),
                        event.globalPosition(), event.button(), Qt::MouseButtons(event.button()),
                        event.modifiers(), event.pointingDevice());
  // The copy updates the device's press record; without the original time
  // the next real press would never count as the second click of a double
  // click.
  forwarded.setTimestamp(event.timestamp());
  QCoreApplication::sendEvent(parent, &forwarded);
  return true;
}

}  // namespace wattrix
