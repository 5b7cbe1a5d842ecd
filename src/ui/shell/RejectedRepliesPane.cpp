#include "ui/shell/RejectedRepliesPane.h"

#include "core/device/SensorLink.h"
#include "core/strings/StringTable.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"

#include <QTimer>

namespace wattrix {

RejectedRepliesPane::RejectedRepliesPane(SensorLink& link, CMainFrame& frame)
    : QLabel(&frame), m_link(link), m_frame(frame) {
  setObjectName(QStringLiteral("RejectedRepliesPane"));
  setContentsMargins(4, 0, 4, 0);
  hide();
  // The count changes on the acquisition thread; the pane looks now and then.
  m_timer = new QTimer(this);
  m_timer->setInterval(250);
  connect(m_timer, &QTimer::timeout, this, &RejectedRepliesPane::Refresh);
  m_timer->start();
}

QString RejectedRepliesPane::Text(std::uint64_t count) {
  // A label followed by the value, as the other status texts.
  return QStringLiteral("%1 %2").arg(QString::fromStdString(strings::GetString("S_MEASUREVIEW_REJECTED")),
                                     QString::number(count));
}

void RejectedRepliesPane::Refresh() {
  const ChildFrame* child = m_frame.ActiveChild();
  const bool live = child && child->Kind() != ChildKind::History && m_link.IsConnected();
  if (live) {
    const QString text = Text(m_link.RejectedReplies());
    if (text != this->text()) setText(text);
  }
  setVisible(live);
}

}  // namespace wattrix
