#include "ui/ccdf/CCcdfFrame.h"

#include "core/ccdf/CcdfFrameLayout.h"
#include "core/device/DeliveryHandle.h"
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "ui/ccdf/CCcdfGraphCtrl.h"
#include "ui/ccdf/CCcdfSplitter.h"
#include "ui/ccdf/CCcdfTextView.h"
#include "ui/measure/QueuedReadingSink.h"
#include "ui/platform/FramePacer.h"
#include "ui/platform/UiThread.h"
#include "ui/shell/CMainFrame.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace wattrix {

CCcdfFrame::CCcdfFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
                       QWidget* parent)
    : ChildFrame(parent), m_settings(settings), m_mainFrame(mainFrame) {
  setObjectName(QStringLiteral("CCcdfFrame"));
  // The splitters cover the whole client area.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  setMinimumSize(120, 90);

  m_session = std::make_unique<CcdfSession>(settings, link, *this);
  BuildPanes();
  if (m_mainFrame) m_contextMenu = m_mainFrame->BuildPopup(menu::MenuKind::MeasurementPopup, this);
  m_dataModel = settings.ModelCode();
  m_dataSerial = settings.SerialNumber();

  m_sink = std::make_unique<QueuedReadingSink>(*this, *m_session);
  m_handle = std::make_shared<DeliveryHandle>(*m_sink);
  m_session->SetAddressee(m_handle);
  m_registered = true;

  m_timer = new QTimer(this);
  m_timer->setInterval(CcdfSession::kTimerIntervalMs);
  connect(m_timer, &QTimer::timeout, this, [this] { m_session->Tick(); });
  m_timer->start();
}

CCcdfFrame::~CCcdfFrame() {
  // No delivery may reach the session once destruction has begun.
  StopForClose();
}

void CCcdfFrame::BuildPanes() {
  // Sweeps may come faster than the screen refreshes: every one is
  // processed at once, but the repaints wait for the next frame and
  // several sweeps share it.
  m_pacer = new FramePacer(this);
  auto* outer = new CCcdfSplitter(Qt::Horizontal, this);
  auto* left = new CCcdfSplitter(Qt::Vertical, outer);
  auto* right = new CCcdfSplitter(Qt::Vertical, outer);
  m_graph = new CCcdfGraphCtrl(right);
  auto* lower = new CCcdfSplitter(Qt::Horizontal, right);
  m_splitters = {outer, left, right, lower};
  outer->addWidget(left);
  outer->addWidget(right);
  right->addWidget(m_graph);
  right->addWidget(lower);
  m_graph->setObjectName(QStringLiteral("CcdfGraph"));
  m_graph->SetFramePacer(m_pacer);
  connect(m_graph, &CCcdfGraphCtrl::ContextMenuRequested, this, &CCcdfFrame::ShowContextMenu);

  const auto context = [this] { return m_session->PanelContext(); };
  for (int i = 0; i < kCcdfPanelCount; ++i) {
    const auto panel = static_cast<CcdfPanel>(i);
    CCcdfSplitter* holder = i < 3 ? left : lower;
    auto* view = new CCcdfTextView(panel, m_session->Panels()[static_cast<std::size_t>(i)], context, holder);
    view->setObjectName(QStringLiteral("CcdfPanel%1").arg(i));
    view->SetFramePacer(m_pacer);
    holder->addWidget(view);
    connect(view, &CCcdfTextView::ContextMenuRequested, this, &CCcdfFrame::ShowContextMenu);
    connect(view, &CCcdfTextView::NeedChanged, this, &CCcdfFrame::EqualisePanelFonts);
    m_panels[static_cast<std::size_t>(i)] = view;
  }
  ApplySizeRule();
  for (CCcdfSplitter* splitter : m_splitters) splitter->SetLocked(true);
}

void CCcdfFrame::ApplySizeRule() {
  const int cx = width();
  const int cy = height();
  const CcdfFrameLayout layout = CcdfFrameLayout::For(cx, cy);
  // Outside in, so that each splitter is already at its final size.
  m_splitters[kOuter]->setGeometry(0, 0, cx, cy);
  m_splitters[kOuter]->SetLeadingSizes({layout.outerColumn0.ideal});
  m_splitters[kLeft]->SetLeadingSizes({layout.leftRow0.ideal, layout.leftRow1.ideal});
  m_splitters[kRight]->SetLeadingSizes({layout.rightRow0.ideal});
  m_splitters[kLowerRight]->SetLeadingSizes({layout.lowerColumn0.ideal, layout.lowerColumn1.ideal});
}

void CCcdfFrame::resizeEvent(QResizeEvent* event) {
  ChildFrame::resizeEvent(event);
  ApplySizeRule();
  RefreshCcdfViews();
}

void CCcdfFrame::StopForClose() {
  if (!m_registered) return;
  m_timer->stop();
  m_session->Close();
  // Waits for a delivery under way; none reaches the sink afterwards.
  m_handle->Revoke();
  m_registered = false;
}

void CCcdfFrame::closeEvent(QCloseEvent* event) {
  StopForClose();
  ChildFrame::closeEvent(event);
}

void CCcdfFrame::PrepareForModel(int modelCode) {
  const std::string serial = m_settings.SerialNumber();
  if (modelCode != m_dataModel || serial != m_dataSerial) {
    // Sweeps of another sensor must not be shown as this one's.
    m_session->StopCcdf();
    m_session->ResetCcdf();
    m_dataModel = modelCode;
    m_dataSerial = serial;
  }
  RefreshCcdfViews();
}

bool CCcdfFrame::OnCommand(int id) {
  if (!m_session->OnCommand(id)) return false;
  // Start and Reset empty the data; the screen follows at once rather than
  // with the next sweep.
  if (id == cmd::kMeasureStart || id == cmd::kMeasureReset) RefreshCcdfViews();
  return true;
}

bool CCcdfFrame::UpdateCommand(int id, CommandState& state) { return m_session->UpdateCommand(id, state); }

void CCcdfFrame::RefreshCcdfViews() {
  m_graph->SetCurve(CcdfSession::kGraphXFrom, CcdfSession::kGraphXTo, CcdfSession::kGraphYFirst,
                    CcdfSession::kGraphYSecond, m_session->Data().CcdfCurve());
  for (CCcdfTextView* panel : m_panels) panel->Refresh();
}

void CCcdfFrame::EqualisePanelFonts() {
  for (std::size_t first : {std::size_t{0}, std::size_t{3}}) {
    int floor = 0;
    for (std::size_t i = first; i < first + 3; ++i) floor = std::max(floor, m_panels[i]->NeededShrink());
    for (std::size_t i = first; i < first + 3; ++i) m_panels[i]->SetShrinkFloor(floor);
  }
}

void CCcdfFrame::SetWarningText(const std::string& text) {
  if (m_mainFrame) m_mainFrame->SetStatusText(QString::fromStdString(text), 1);
}

bool CCcdfFrame::AskYesNo(const char* key) {
  return strings::MessageBoxKey(static_cast<QWidget*>(this), key, mb::kIconQuestion | mb::kYesNo) ==
         mb::kIdYes;
}

void CCcdfFrame::RunExchange(const std::function<void()>& exchange) {
  if (m_mainFrame) {
    m_mainFrame->RunExchange(exchange);
  } else {
    UiThread::RunAndWait(exchange);
  }
}

void CCcdfFrame::ShowContextMenu(QPoint globalPos) {
  if (m_contextMenu) m_contextMenu->popup(globalPos);
}

void CCcdfFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) ShowContextMenu(event->globalPosition().toPoint());
  event->accept();
}

}  // namespace wattrix
