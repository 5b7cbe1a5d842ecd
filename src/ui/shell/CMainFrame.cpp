#include "ui/shell/CMainFrame.h"

#include "core/device/SensorLink.h"
#include "core/platform/TraceSink.h"
#include "core/shell/ShellController.h"
#include "core/strings/StringTable.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/ChildFrame.h"
#include "ui/shell/CloseQuestions.h"
#include "ui/shell/DocumentArea.h"
#include "ui/shell/FrameAccelerators.h"
#include "ui/shell/FrameMenuSets.h"
#include "ui/shell/FrameToolBars.h"
#include "ui/shell/RejectedRepliesPane.h"
#include "ui/shell/SensorLossWatch.h"
#include "ui/shell/StatusPanes.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>

namespace wattrix {

CMainFrame::CMainFrame() : CMainFrame(SensorLink::Instance()) {}

CMainFrame::CMainFrame(SensorLink& link, QWidget* parent)
    : QMainWindow(parent),
      m_menus([this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); }),
      m_sensor(link),
      m_link(link) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowTitle(QStringLiteral("Wattrix %1").arg(QString::fromStdString(strings::GetString("S_VERSION"))));
  setWindowIcon(AppIcon());

  m_mdi = new DocumentArea(this);
  m_mdi->setObjectName(QStringLiteral("DocumentArea"));
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdi);

  m_windows = std::make_unique<FrameWindows>(*this, *m_mdi, m_registry, m_sensor);
  m_shell = std::make_unique<ShellController>(m_link, m_settings, *m_windows, *this, this);
  // A window class registered later enables its commands.
  m_registry.SetChangeHandler([this] { m_shell->CapabilitiesChanged(); });

  m_toolBars = new FrameToolBars(
      *this, [this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); });

  // Pane 0 takes two thirds of the width, pane 1 one third, unless a text
  // needs more to be read whole.
  statusBar()->setSizeGripEnabled(true);
  m_panes = new StatusPanes(*statusBar());
  statusBar()->addPermanentWidget(new RejectedRepliesPane(m_sensor, *this));

  m_accelerators = new FrameAccelerators(
      *this, [this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); });
  m_menuSets = std::make_unique<FrameMenuSets>(*this, m_menus, *m_accelerators);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { ChildrenChanged(); });
  ChildrenChanged();

  new SensorLossWatch(m_sensor, *this, [this] { m_shell->LineLost(); });
  resize(1180, 780);
  Trace("MainFrame Created");
}

CMainFrame::~CMainFrame() {
  m_mdi->disconnect(this);
  // The children go first: they may still reach the settings record.
  for (QMdiSubWindow* window : m_mdi->subWindowList()) delete window;
  m_registry.SetChangeHandler({});
}

void CMainFrame::SetSettingsDialog(SettingsDialog dialog) {
  m_windows->SetSettingsDialog(std::move(dialog));
  m_shell->CapabilitiesChanged();
}

void CMainFrame::SetLoggingDialog(LoggingDialog dialog) {
  m_windows->SetLoggingDialog(std::move(dialog));
  m_shell->CapabilitiesChanged();
}

void CMainFrame::SetStatusText(const QString& text, int pane) { m_panes->SetText(pane, text); }

QString CMainFrame::StatusText(int pane) const { return m_panes->Text(pane); }

QMenu* CMainFrame::BuildPopup(menu::MenuKind kind, QWidget* parent) {
  return m_menus.BuildPopup(kind, parent);
}

QString CMainFrame::ConnectionText() const { return QString::fromStdString(m_shell->ConnectionText()); }

bool CMainFrame::SerialLink() const { return m_shell->SerialLink(); }

LiveWindowKind CMainFrame::CurrentMode() const { return m_shell->CurrentMode(); }

bool CMainFrame::IsConnected() const { return m_shell->IsConnected(); }

menu::MenuKind CMainFrame::ShownMenu() const { return m_shell->ShownMenu(); }

void CMainFrame::RunExchange(const std::function<void()>& exchange) { m_shell->RunExchange(exchange); }

void CMainFrame::ChildrenChanged() { m_shell->ChildrenChanged(); }

void CMainFrame::RouteCommand(int id) {
  if (ChildFrame* child = ActiveChild(); child && child->OnCommand(id)) {
  } else if (OnCommand(id)) {
  } else if (m_fallback) {
    m_fallback->OnCommand(id);
  }
  // A command is what changes most states.
  RefreshCommandStates();
}

void CMainFrame::PostCommand(int id) {
  QMetaObject::invokeMethod(
      this, [this, id] { RouteCommand(id); }, Qt::QueuedConnection);
}

CommandState CMainFrame::CommandStateOf(int id) {
  CommandState state;
  if (ChildFrame* child = ActiveChild(); child && child->UpdateCommand(id, state)) return state;
  state = {};
  if (UpdateCommand(id, state)) return state;
  state = {};
  if (m_fallback && m_fallback->UpdateCommand(id, state)) return state;
  return {};
}

bool CMainFrame::OnCommand(int id) { return m_shell->OnCommand(id); }

bool CMainFrame::UpdateCommand(int id, CommandState& state) { return m_shell->UpdateCommand(id, state); }

void CMainFrame::CommandStatesChanged() {
  if (m_refreshPending) return;
  m_refreshPending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_refreshPending = false;
        RefreshCommandStates();
      },
      Qt::QueuedConnection);
}

void CMainFrame::RefreshCommandStates() { m_toolBars->UpdateStates(); }

void CMainFrame::StatusTextChanged(int pane, const std::string& text) {
  SetStatusText(QString::fromStdString(text), pane);
}

void CMainFrame::MenuSetChanged(menu::MenuKind kind) {
  m_menuSets->Show(kind);
  if (m_shell->ToolBarsShown()) m_toolBars->Show(FrameToolBars::BarOf(kind));
}

void CMainFrame::ToolBarsShown(bool shown) {
  if (shown) {
    m_toolBars->Show(FrameToolBars::BarOf(ShellController::MenuFor(m_windows->ActiveChild())));
  } else {
    m_toolBars->HideAll();
  }
}

void CMainFrame::StatusBarShown(bool shown) { statusBar()->setVisible(shown); }

QString CMainFrame::CommandLineFile(const QStringList& arguments) {
  QString line = arguments.join(u' ');
  line.remove(u'"');
  return line.trimmed();
}

void CMainFrame::OpenCommandLineFile(const QStringList& arguments) {
  const QString path = CommandLineFile(arguments);
  if (!path.isEmpty()) OpenHistoryFile(path);
}

bool CMainFrame::OpenHistoryFile(const QString& path) { return m_windows->OpenHistoryFile(path); }

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!CloseQuestions::AllAgree(m_mdi->subWindowList())) {
    event->ignore();
    return;
  }
  for (QMdiSubWindow* window : m_mdi->subWindowList())
    if (auto* child = qobject_cast<ChildFrame*>(window->widget())) child->StopForClose();
  QMainWindow::closeEvent(event);
}

}  // namespace wattrix
