#include "ui/shell/FrameWindows.h"

#include "core/device/SensorLink.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "ui/platform/RecentFolder.h"
#include "ui/platform/UiThread.h"
#include "ui/shell/CConnectDlg.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"
#include "ui/shell/ChildWindowRegistry.h"
#include "ui/shell/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace wattrix {

namespace {

ChildFrame* ChildIn(QMdiSubWindow* window) {
  return window ? qobject_cast<ChildFrame*>(window->widget()) : nullptr;
}

}  // namespace

FrameWindows::FrameWindows(CMainFrame& frame, QMdiArea& area, ChildWindowRegistry& registry, SensorLink& link)
    : m_frame(frame), m_area(area), m_registry(registry), m_link(link) {}

ChildFrame* FrameWindows::ActiveChildFrame() const { return ChildIn(m_area.currentSubWindow()); }

QMdiSubWindow* FrameWindows::SubWindowOf(ChildKind kind) const {
  for (QMdiSubWindow* window : m_area.subWindowList()) {
    const ChildFrame* child = ChildIn(window);
    if (child && child->Kind() == kind) return window;
  }
  return nullptr;
}

ChildFrame* FrameWindows::ChildOfKind(ChildKind kind) const { return ChildIn(SubWindowOf(kind)); }

bool FrameWindows::CanCreate(ChildKind kind) const { return m_registry.Has(kind); }

bool FrameWindows::CanOpenHistory() const { return m_registry.CanOpenHistory(); }

std::optional<ChildKind> FrameWindows::ActiveChild() const {
  if (const ChildFrame* child = ActiveChildFrame()) return child->Kind();
  return std::nullopt;
}

bool FrameWindows::HasChildren() const { return !m_area.subWindowList().isEmpty(); }

Quantity FrameWindows::CurrentQuantity(LiveWindowKind kind) const {
  const ChildFrame* child = ChildOfKind(kind);
  return child ? child->CurrentQuantity() : kAvg;
}

std::optional<int> FrameWindows::ChoosePort() {
  CConnectDlg dialog(&m_frame);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenPort();
}

void FrameWindows::RunAndWait(const std::function<void()>& exchange) { UiThread::RunAndWait(exchange); }

void FrameWindows::StopLiveWindows() {
  for (QMdiSubWindow* window : m_area.subWindowList())
    if (ChildFrame* child = ChildIn(window); child && !child->Kind().IsHistory())
      child->OnCommand(cmd::kMeasureStop);
}

void FrameWindows::TellSensorLost(bool lost) {
  for (QMdiSubWindow* window : m_area.subWindowList())
    if (ChildFrame* child = ChildIn(window)) child->SensorLineLost(lost);
}

void FrameWindows::OpenHistoryByDialog() {
  const QString path =
      RecentFolder::OpenFile(&m_frame, QString(), QStringLiteral("PSH files (*.psh);;All files (*.*)"));
  if (!path.isEmpty()) OpenHistoryFile(path);
}

bool FrameWindows::OpenHistoryFile(const QString& path) {
  auto created = m_registry.Create(ChildKind::History, m_frame);
  if (!created) return false;
  ChildFrame* child = created.get();
  QMdiSubWindow* window = AddChild(std::move(created));
  std::string modelName;
  if (!m_registry.LoadHistory(*child, path.toStdString(), modelName)) {
    strings::MessageBoxKey(&m_frame, "S_MAINFRAME_ONFILEOPEN", mb::kIconError | mb::kOk);
    CloseChild(window, true);
    return false;
  }
  child->setWindowTitle(MdiArrange::UniqueTitle(
      m_area, QStringLiteral("%1, %2").arg(path, QString::fromStdString(modelName)), window));
  child->InitialUpdate();
  ShowChild(window);
  return true;
}

bool FrameWindows::ActiveChildAgreesToClose() {
  ChildFrame* child = ActiveChildFrame();
  return !child || child->QueryClose();
}

void FrameWindows::CloseActiveChild() { CloseChild(m_area.currentSubWindow(), false); }

bool FrameWindows::ReplaceActiveChild(LiveWindowKind kind) {
  QMdiSubWindow* previous = m_area.currentSubWindow();
  auto created = m_registry.Create(kind, m_frame);
  if (!created) return false;
  AddChild(std::move(created));
  if (ChildFrame* before = ChildIn(previous)) {
    m_link.SetBusyFlag(false);
    before->OnCommand(cmd::kMeasureStop);
    CloseChild(previous, true);
  }
  return true;
}

void FrameWindows::DiscardLiveWindow(LiveWindowKind kind) { CloseChild(SubWindowOf(kind), true); }

void FrameWindows::PresentLiveWindow(LiveWindowKind kind, int modelCode, const std::string& title) {
  QMdiSubWindow* window = SubWindowOf(kind);
  ChildFrame* child = ChildIn(window);
  if (!child) return;
  child->PrepareForModel(modelCode);
  child->setWindowTitle(MdiArrange::UniqueTitle(m_area, QString::fromStdString(title), window));
  child->InitialUpdate();
  if (window->isVisible()) {
    // Already placed by the user: only brought up.
    window->show();
    m_area.setActiveSubWindow(window);
    m_frame.ChildrenChanged();
  } else {
    ShowChild(window);
  }
}

bool FrameWindows::OpenSettings(int page, int subPage) {
  return m_settingsDialog && m_settingsDialog(&m_frame, m_frame.Settings(), page, subPage);
}

void FrameWindows::ApplySettings(LiveWindowKind kind) {
  if (ChildFrame* child = ChildOfKind(kind)) child->ApplySettings();
}

void FrameWindows::DownloadLogging() {
  if (!m_loggingDialog) return;
  bool read = false;
  m_frame.RunExchange([this, &read] { read = m_link.ReadLoggingStatus(); });
  if (!read) {
    strings::MessageBoxKey(&m_frame, "S_SETTING_WARNING_DN_FAIL", mb::kIconError | mb::kOk);
    return;
  }
  m_loggingDialog(&m_frame, m_frame.Settings());
}

void FrameWindows::Arrange(Arrangement arrangement) {
  switch (arrangement) {
    case Arrangement::Cascade:
      MdiArrange::Cascade(m_area);
      break;
    case Arrangement::TileHorizontally:
      MdiArrange::TileHorizontally(m_area);
      break;
    case Arrangement::TileVertically:
      MdiArrange::TileVertically(m_area);
      break;
  }
}

void FrameWindows::PostCommand(int id) { m_frame.PostCommand(id); }

void FrameWindows::Exit() { m_frame.close(); }

QMdiSubWindow* FrameWindows::AddChild(std::unique_ptr<ChildFrame> child) {
  auto* window = new QMdiSubWindow;  // owned by the document area
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWidget(child.release());
  window->setWindowIcon(m_frame.windowIcon());
  m_area.addSubWindow(window);
  window->hide();
  // A closed child leaves the tool bar, menu and keys of the next one.
  QObject::connect(window, &QObject::destroyed, &m_frame, [frame = &m_frame] {
    QTimer::singleShot(0, frame, [frame] { frame->ChildrenChanged(); });
  });
  return window;
}

void FrameWindows::ShowChild(QMdiSubWindow* window) {
  // The first window fills the area, and so does one opened while another
  // is maximised; later ones open beside it. Each gets a place on screen
  // first, which is where it returns to when restored.
  bool alone = true;
  bool maximised = false;
  for (QMdiSubWindow* other : m_area.subWindowList()) {
    if (other == window || !other->isVisible()) continue;
    alone = false;
    maximised = maximised || other->isMaximized();
  }
  MdiArrange::PlaceNew(m_area, *window);
  if (alone || maximised) {
    window->showMaximized();
  } else {
    window->show();
  }
  m_area.setActiveSubWindow(window);
  m_frame.ChildrenChanged();
}

void FrameWindows::CloseChild(QMdiSubWindow* window, bool immediately) {
  if (!window) return;
  if (ChildFrame* child = ChildIn(window)) child->StopForClose();
  if (immediately) {
    m_area.removeSubWindow(window);
    delete window;
    m_frame.ChildrenChanged();
  } else {
    window->close();
  }
}

}  // namespace wattrix
