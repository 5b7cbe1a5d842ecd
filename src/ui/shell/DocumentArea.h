#pragma once

#include <QMdiArea>

namespace wattrix {

// The main frame's document area: a calm slate gradient behind the child
// windows and, while none is open, the application's emblem and name.
class DocumentArea final : public QMdiArea {
  Q_OBJECT

 public:
  explicit DocumentArea(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace wattrix
