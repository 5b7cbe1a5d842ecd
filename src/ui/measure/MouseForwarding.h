#pragma once

class QMouseEvent;
class QWidget;

namespace wattrix {

// Passes a left press, left double click or right press on `child` to its
// parent as the same event at the parent's coordinates, so that a click
// anywhere on a panel (its gauge included) reaches the view. Returns false
// for every other event, and when there is no parent.
bool ForwardMouseToParent(QWidget& child, const QMouseEvent& event);

}  // namespace wattrix
