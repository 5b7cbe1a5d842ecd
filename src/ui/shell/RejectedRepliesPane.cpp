#include "ui/shell/RejectedRepliesPane.h"

#include "core/device/SensorLink.h"
#include "core/strings/StringTable.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"

#include <QTimer>

#include <string>

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
  // The text's one "%d" takes the count; the text itself is never a format.
  std::string text = strings::GetString("S_MEASUREVIEW_REJECTED");
  if (const auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, std::to_string(count));
  return QString::fromStdString(text);
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
