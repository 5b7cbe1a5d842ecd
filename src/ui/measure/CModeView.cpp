#include "ui/measure/CModeView.h"

#include "core/device/SensorLink.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/history/WaitCursor.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/measure/QueuedReadingSink.h"
#include "ui/platform/FramePacer.h"
#include "ui/platform/UiThread.h"
#include "ui/shell/CMainFrame.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace wattrix {

namespace {

QRect ToQRect(const ModeArrangement::Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

void Place(QWidget& child, const ModeArrangement::Rect& r) {
  if (!r.Visible()) {
    child.hide();
    return;
  }
  child.setGeometry(ToQRect(r));
  child.show();
}

}  // namespace

CModeView::CModeView(LiveWindowKind view, MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
                     QWidget* parent)
    : QWidget(parent), m_frame(frame), m_choosePath(&file_dialog::AskSavePath) {
  // Every pixel is painted: black ground, children on top.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(120, 90);
  // Readings may come faster than the screen refreshes: the children's
  // repaints wait for the next frame, and several readings share it.
  m_pacer = new FramePacer(this);
  std::array<MeasurementPanel*, mode_view::kPanelCount> panels{};
  for (std::size_t i = 0; i < m_panels.size(); ++i) {
    m_panels[i] = new CMeasurementCtrl(this);
    m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
    m_panels[i]->SetSettings(&settings);
    m_panels[i]->SetFramePacer(m_pacer);
    panels[i] = m_panels[i];
  }
  m_graph = new CGraphCtrl(this);
  m_graph->setObjectName(QStringLiteral("Graph"));
  m_graph->SetFramePacer(m_pacer);
  m_graph->AttachLive(&settings);
  m_graph->hide();
  connect(m_graph, &CGraphCtrl::Pressed, this, [this](Qt::MouseButton button, QPoint pos) {
    // A click on the graph selects nothing; a right click still opens the menu.
    if (button == Qt::RightButton) ShowContextMenu(pos);
  });

  // Shown over the panels while the sensor does not answer.
  m_lostBanner = new QLabel(QString::fromStdString(strings::GetString("S_MEASUREVIEW_SENSORLOST")), this);
  m_lostBanner->setObjectName(QStringLiteral("SensorLostBanner"));
  m_lostBanner->setAlignment(Qt::AlignCenter);
  m_lostBanner->setStyleSheet(
      QStringLiteral("QLabel { color: #ff3030; background: rgba(0, 0, 0, 200); border: 2px solid #ff3030;"
                     " font-weight: bold; font-size: 16pt; padding: 8px 16px; }"));
  m_lostBanner->hide();

  m_session = std::make_unique<ModeSession>(view, settings, link, *this);
  m_session->SetPanels(panels);
  if (m_frame) m_contextMenu = m_frame->BuildPopup(menu::MenuKind::MeasurementPopup, this);

  m_sink = std::make_unique<QueuedReadingSink>(*this, *m_session);
  m_handle = std::make_shared<DeliveryHandle>(*m_sink);
  m_session->SetAddressee(m_handle);
  m_registered = true;

  m_timer = new QTimer(this);
  m_timer->setInterval(ModeSession::kTimerIntervalMs);
  connect(m_timer, &QTimer::timeout, this, [this] { m_session->Tick(); });
  m_timer->start();
}

CModeView::~CModeView() {
  // No delivery may reach the session once destruction has begun.
  StopForClose();
}

void CModeView::Reinitialise() {
  m_session->Reinitialise();
  SyncSelection();
  if (m_frame) m_frame->PostCommand(cmd::kDeviceSetting);
}

void CModeView::ApplySettings() {
  m_session->SettingsChanged();
  for (CMeasurementCtrl* panel : m_panels) panel->Relayout();
}

void CModeView::StopForClose() {
  if (!m_registered) return;
  m_timer->stop();
  m_session->Close();
  // Waits for a delivery under way; none reaches the sink afterwards.
  m_handle->Revoke();
  m_registered = false;
}

bool CModeView::OnCommand(int id) {
  // Setting is left to the main frame, which opens the dialog on this
  // window's page; the session does not take it.
  if (!m_session->OnCommand(id)) return false;
  SyncSelection();
  return true;
}

bool CModeView::UpdateCommand(int id, CommandState& state) { return m_session->UpdateCommand(id, state); }

bool CModeView::AskYesNo(const char* key) {
  return strings::MessageBoxKey(static_cast<QWidget*>(this), key, mb::kIconQuestion | mb::kYesNo) ==
         mb::kIdYes;
}

int CModeView::AskYesNoCancel(const char* key) {
  return strings::MessageBoxKey(static_cast<QWidget*>(this), key, mb::kIconQuestion | mb::kYesNoCancel);
}

void CModeView::ShowWarning(const char* key) {
  strings::MessageBoxKey(static_cast<QWidget*>(this), key, mb::kIconWarning | mb::kOk);
}

void CModeView::ShowSensorLost(bool lost) {
  if (lost) {
    m_session->SensorLost();
  } else {
    m_session->SensorBack();
  }
  m_lostBanner->setVisible(lost);
  Relayout();
}

void CModeView::RunExchange(const std::function<void()>& exchange) {
  if (m_frame) {
    m_frame->RunExchange(exchange);
  } else {
    UiThread::RunAndWait(exchange);
  }
}

void CModeView::SetWarningText(const std::string& text) {
  if (m_frame) m_frame->SetStatusText(QString::fromStdString(text), 1);
}

void CModeView::CommandStatesChanged() {
  if (m_frame) m_frame->CommandStatesChanged();
}

void CModeView::GraphShowQuantity(int modelCode, Quantity quantity) {
  m_graph->ShowQuantity(modelCode, quantity, false);
}

void CModeView::GraphUpdate(bool reset) { m_graph->UpdateLive(reset); }

void CModeView::Relayout() {
  m_arrangement = m_session->Arrangement(width(), height());
  for (std::size_t i = 0; i < m_panels.size(); ++i) Place(*m_panels[i], m_arrangement.panels[i]);
  Place(*m_graph, m_arrangement.graph);
  if (m_lostBanner->isVisibleTo(this)) {
    // Centred, over whatever panel is below.
    const QSize size = m_lostBanner->sizeHint().boundedTo(this->size());
    m_lostBanner->setGeometry(
        QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
    m_lostBanner->raise();
  }
  SyncSelection();
  update();
}

void CModeView::SyncSelection() {
  const int selected = m_session->SelectedPanel();
  for (std::size_t i = 0; i < m_panels.size(); ++i) m_panels[i]->SetSelected(static_cast<int>(i) == selected);
}

void CModeView::Save() {
  const QString path =
      m_choosePath
          ? m_choosePath(this, SavePathRequest{file_dialog::kPshFilter, QStringLiteral("psh"), QString()})
          : QString();
  if (path.isEmpty()) return;
  bool saved = false;
  {
    WaitCursor wait;
    // File names are bytes here; Qt decoded them with this encoding.
    saved = m_session->SaveTo(QFile::encodeName(path).toStdString());
  }
  if (!saved) {
    strings::MessageBoxKey(static_cast<QWidget*>(this), "S_MEASUREVIEW_ONFILESAVE", mb::kIconError | mb::kOk);
  }
}

int CModeView::PanelAt(QPoint pos) const {
  for (std::size_t i = 0; i < m_panels.size(); ++i) {
    const auto& r = m_arrangement.panels[i];
    if (r.Visible() && ToQRect(r).contains(pos)) return static_cast<int>(i);
  }
  return -1;
}

void CModeView::ShowContextMenu(QPoint pos) {
  if (m_contextMenu) m_contextMenu->popup(mapToGlobal(pos));
}

void CModeView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::black);
}

void CModeView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void CModeView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  if (const int panel = PanelAt(pos); panel >= 0 && m_session->SelectPanel(panel)) SyncSelection();
  if (button == Qt::RightButton) ShowContextMenu(pos);
  event->accept();
}

void CModeView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const int panel = PanelAt(event->position().toPoint()); panel >= 0) {
    m_session->DoubleClickPanel(panel);
    SyncSelection();
  }
  event->accept();
}

}  // namespace wattrix
