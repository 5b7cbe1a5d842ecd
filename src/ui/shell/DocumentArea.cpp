#include "ui/shell/DocumentArea.h"

#include "core/strings/StringTable.h"
#include "ui/shell/AppIcon.h"

#include <QLinearGradient>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>

namespace wattrix {

DocumentArea::DocumentArea(QWidget* parent) : QMdiArea(parent) {
  setBackground(Qt::NoBrush);
  viewport()->setAutoFillBackground(false);
}

void DocumentArea::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect room = viewport()->rect();
  QLinearGradient gradient(room.topLeft(), room.bottomLeft());
  gradient.setColorAt(0, QColor(0x66, 0x78, 0x8A));
  gradient.setColorAt(1, QColor(0x46, 0x55, 0x64));
  painter.fillRect(event->rect(), gradient);

  bool anyShown = false;
  for (const QMdiSubWindow* window : subWindowList())
    if (window->isVisible()) anyShown = true;
  if (anyShown || room.height() < 200) return;

  // The emblem, faded into the background, with the product name below.
  const int side = qMin(160, room.height() / 4);
  const QRect emblem(room.center().x() - side / 2, room.center().y() - side * 3 / 4, side, side);
  painter.setOpacity(0.35);
  AppIcon().paint(&painter, emblem);
  painter.setOpacity(0.55);
  QFont font = painter.font();
  font.setPixelSize(qMax(14, side / 5));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(0xEC, 0xF1, 0xF5));
  const QRect nameBox(room.left(), emblem.bottom() + side / 8, room.width(), side / 3);
  painter.drawText(nameBox, Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(strings::GetText("IDD_ABOUTBOX", "IDC_STATIC_NAME")));
}

}  // namespace wattrix
