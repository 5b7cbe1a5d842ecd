#include "ui/shell/CMainFrame.h"

#include "core/platform/TraceSink.h"
#include "core/device/PortAccess.h"
#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/platform/MessageBoxes.h"
#include "core/platform/NumberText.h"
#include "core/settings/SettingsTabs.h"
#include "core/vocabulary/CommandIds.h"
#include "core/shell/WindowTitles.h"
#include "core/strings/StringTable.h"
#include "ui/platform/RecentFolder.h"
#include "ui/platform/UiThread.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/CConnectDlg.h"
#include "ui/shell/CloseQuestions.h"
#include "ui/shell/DocumentArea.h"
#include "ui/shell/FrameAccelerators.h"
#include "ui/shell/FrameToolBars.h"
#include "ui/shell/MdiArrange.h"
#include "ui/shell/StatusPanes.h"
#include "ui/shell/RejectedRepliesPane.h"
#include "ui/shell/SensorLossWatch.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>
#include <QTimer>

namespace wattrix {

namespace {

QString Str(const char* key) { return QString::fromStdString(strings::GetString(key)); }

int MenuIndex(menu::MenuKind kind) {
  switch (kind) {
    case menu::MenuKind::Measurement:
      return 1;
    case menu::MenuKind::History:
      return 2;
    default:
      return 0;
  }
}

menu::MenuKind MenuOf(const ChildFrame* child) {
  if (!child) return menu::MenuKind::Main;
  return child->Kind() == ChildKind::History ? menu::MenuKind::History : menu::MenuKind::Measurement;
}

menu::AcceleratorTable AcceleratorsOf(menu::MenuKind kind) {
  switch (kind) {
    case menu::MenuKind::Measurement:
      return menu::AcceleratorTable::Measurement;
    case menu::MenuKind::History:
      return menu::AcceleratorTable::History;
    default:
      return menu::AcceleratorTable::MainFrame;
  }
}

FrameToolBars::Bar ToolBarOf(const ChildFrame* child) {
  if (!child) return FrameToolBars::Bar::Main;
  return child->Kind() == ChildKind::History ? FrameToolBars::Bar::History : FrameToolBars::Bar::Measurement;
}

ChildFrame* ChildIn(QMdiSubWindow* window) {
  return window ? qobject_cast<ChildFrame*>(window->widget()) : nullptr;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent),
      m_menus([this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); }) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowTitle(QStringLiteral("Wattrix %1").arg(Str("S_VERSION")));
  setWindowIcon(AppIcon());

  m_mdi = new DocumentArea(this);
  m_mdi->setObjectName(QStringLiteral("DocumentArea"));
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdi);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { OnChildActivated(); });

  m_toolBars = new FrameToolBars(
      *this, [this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); });

  // Pane 0 takes two thirds of the width, pane 1 one third, unless a text
  // needs more to be read whole.
  statusBar()->setSizeGripEnabled(true);
  m_panes = new StatusPanes(*statusBar());
  statusBar()->addPermanentWidget(new RejectedRepliesPane(SensorLink::Instance(), *this));

  m_accelerators = new FrameAccelerators(
      *this, [this](int id) { PostCommand(id); }, [this](int id) { return CommandStateOf(id); });
  BuildMenus();

  // Tool buttons follow the state of their commands.
  m_stateTimer = new QTimer(this);
  m_stateTimer->setInterval(250);
  connect(m_stateTimer, &QTimer::timeout, this, [this] { m_toolBars->UpdateStates(); });
  m_stateTimer->start();

  m_lossWatch = new SensorLossWatch(SensorLink::Instance(), *this);
  resize(1180, 780);
  Trace("MainFrame Created");
}

CMainFrame::~CMainFrame() {
  m_stateTimer->stop();
  // The children go first: they may still reach the settings record.
  for (QMdiSubWindow* window : m_mdi->subWindowList()) delete window;
}

void CMainFrame::BuildMenus() {
  constexpr std::array<menu::MenuKind, 3> kinds = {menu::MenuKind::Main, menu::MenuKind::Measurement,
                                                   menu::MenuKind::History};
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (!m_menuSets[i]) {
      m_menuSets[i] = new QMenuBar(this);  // never shown: it only holds the set's menus
      m_menuSets[i]->hide();
    }
    m_menus.FillMenuBar(*m_menuSets[i], kinds[i]);
  }
  m_shownMenu = menu::MenuKind::Main;
  OnChildActivated();
}

void CMainFrame::OnChildActivated() {
  const ChildFrame* child = ActiveChild();
  m_shownMenu = MenuOf(child);
  QMenuBar* shown = menuBar();
  shown->clear();
  for (QAction* popup : m_menuSets[MenuIndex(m_shownMenu)]->actions()) shown->addAction(popup);
  m_accelerators->Activate(AcceleratorsOf(m_shownMenu));
  m_accelerators->LabelMenus(*m_menuSets[MenuIndex(m_shownMenu)]);
  SwitchToolBar();
}

void CMainFrame::SwitchToolBar() {
  // When the user hid the bars they stay hidden.
  if (!m_toolBars->AnyVisible()) return;
  m_toolBars->Show(ToolBarOf(ActiveChild()));
}

void CMainFrame::ToggleToolBars() {
  if (m_toolBars->AnyVisible()) {
    m_toolBars->HideAll();
  } else {
    m_toolBars->Show(ToolBarOf(ActiveChild()));
  }
}

void CMainFrame::SetStatusText(const QString& text, int pane) { m_panes->SetText(pane, text); }

QString CMainFrame::StatusText(int pane) const { return m_panes->Text(pane); }

QMenu* CMainFrame::BuildPopup(menu::MenuKind kind, QWidget* parent) {
  return m_menus.BuildPopup(kind, parent);
}

ChildFrame* CMainFrame::ActiveChild() const { return ChildIn(m_mdi->currentSubWindow()); }

QMdiSubWindow* CMainFrame::SubWindowOf(ChildKind kind) const {
  for (QMdiSubWindow* window : m_mdi->subWindowList()) {
    const ChildFrame* child = ChildIn(window);
    if (child && child->Kind() == kind) return window;
  }
  return nullptr;
}

ChildFrame* CMainFrame::ChildOfKind(ChildKind kind) const { return ChildIn(SubWindowOf(kind)); }

bool CMainFrame::IsConnected() const {
  // While connect or disconnect runs the link is busy; the state from
  // before stands, so that painting and state updates never wait for it.
  if (!m_exchangeRunning) m_connected = SensorLink::Instance().IsConnected();
  return m_connected;
}

void CMainFrame::RunExchange(const std::function<void()>& exchange) {
  m_exchangeRunning = true;
  UiThread::RunAndWait(exchange);
  m_exchangeRunning = false;
}

void CMainFrame::RouteCommand(int id) {
  if (ChildFrame* child = ActiveChild(); child && child->OnCommand(id)) {
  } else if (OnCommand(id)) {
  } else if (m_fallback) {
    m_fallback->OnCommand(id);
  }
  m_toolBars->UpdateStates();
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

CommandState CMainFrame::ModeCommandState(int id) {
  const int code = m_settings.ModelCode();
  ModeCommand command{};
  switch (id) {
    case cmd::kModeAvg:
      command = ModeCommand::Avg;
      break;
    case cmd::kModePeak:
      command = ModeCommand::Peak;
      break;
    case cmd::kModeAvgPeak:
      command = ModeCommand::AvgPeak;
      break;
    case cmd::kModePulse:
      command = ModeCommand::Pulse;
      break;
    case cmd::kModeCcdf:
      command = ModeCommand::Ccdf;
      break;
    default:
      command = ModeCommand::DownloadLog;
      break;
  }
  bool offered = false;
  if (FindModelByCode(code)) {
    offered = IsConnected() && ModelOffers(code, command);
    m_modeStates[id] = offered;
  } else {
    offered = m_modeStates[id];  // a code outside the table keeps the previous state
  }
  // A mode whose window class is not there, or a dialog not yet provided,
  // stays disabled.
  bool available = false;
  switch (id) {
    case cmd::kModePulse:
      available = m_registry.Has(ChildKind::Pulse);
      break;
    case cmd::kModeCcdf:
      available = m_registry.Has(ChildKind::Ccdf);
      break;
    case cmd::kDownloadLogging:
      available = static_cast<bool>(m_loggingDialog);
      break;
    default:
      available = m_registry.Has(ChildKind::Measurement);
      break;
  }
  return {offered && available, false};
}

bool CMainFrame::UpdateCommand(int id, CommandState& state) {
  switch (id) {
    case cmd::kConnectDevice:
      state = {!IsConnected(), false};
      return true;
    case cmd::kDisconnectDevice:
      state = {IsConnected(), false};
      return true;
    case cmd::kFileOpen:
      state = {m_registry.CanOpenHistory(), false};
      return true;
    case cmd::kFileClose:
      state = {ActiveChild() != nullptr, false};
      return true;
    case cmd::kModeAvg:
    case cmd::kModePeak:
    case cmd::kModeAvgPeak:
    case cmd::kModePulse:
    case cmd::kModeCcdf:
    case cmd::kDownloadLogging:
      state = ModeCommandState(id);
      return true;
    case cmd::kDeviceSetting:
      state = {IsConnected() && m_settingsDialog, false};
      return true;
    case cmd::kViewToolBar:
      state = {true, m_toolBars->AnyVisible()};
      return true;
    case cmd::kViewStatusBar:
      state = {true, !statusBar()->isHidden()};
      return true;
    case cmd::kWindowCascade:
    case cmd::kWindowTileHorizontal:
    case cmd::kWindowTileVertical:
      state = {!m_mdi->subWindowList().isEmpty(), false};
      return true;
    case cmd::kAppExit:
    case cmd::kSwitchToolBar:
      state = {true, false};
      return true;
    default:
      return false;
  }
}

bool CMainFrame::OnCommand(int id) {
  switch (id) {
    case cmd::kConnectDevice:
      OnConnect();
      return true;
    case cmd::kDisconnectDevice:
      OnDisconnect();
      return true;
    case cmd::kFileOpen:
      OnOpen();
      return true;
    case cmd::kFileClose:
      if (QMdiSubWindow* window = m_mdi->currentSubWindow()) {
        if (ChildFrame* child = ChildIn(window); child && !child->QueryClose()) return true;
        CloseChild(window, false);
      }
      return true;
    case cmd::kModeAvg:
    case cmd::kModePeak:
    case cmd::kModeAvgPeak:
    case cmd::kModePulse:
    case cmd::kModeCcdf:
      if (ModeCommandState(id).enabled) OnModeCommand(id);
      return true;
    case cmd::kDownloadLogging:
      OnDownloadLogging();
      return true;
    case cmd::kDeviceSetting:
      OnSetting();
      return true;
    case cmd::kViewToolBar:
      ToggleToolBars();
      return true;
    case cmd::kViewStatusBar:
      statusBar()->setVisible(statusBar()->isHidden());
      return true;
    case cmd::kWindowCascade:
      MdiArrange::Cascade(*m_mdi);
      return true;
    case cmd::kWindowTileHorizontal:
      MdiArrange::TileHorizontally(*m_mdi);
      return true;
    case cmd::kWindowTileVertical:
      MdiArrange::TileVertically(*m_mdi);
      return true;
    case cmd::kSwitchToolBar:
      SwitchToolBar();
      return true;
    case cmd::kAppExit:
      close();
      return true;
    default:
      return false;
  }
}

QString CMainFrame::CommandLineFile(const QStringList& arguments) {
  QString line = arguments.join(u' ');
  line.remove(u'"');
  return line.trimmed();
}

void CMainFrame::OpenCommandLineFile(const QStringList& arguments) {
  const QString path = CommandLineFile(arguments);
  if (!path.isEmpty()) OpenHistoryFile(path);
}

void CMainFrame::OnOpen() {
  if (!m_registry.CanOpenHistory()) return;
  const QString path =
      RecentFolder::OpenFile(this, QString(), QStringLiteral("PSH files (*.psh);;All files (*.*)"));
  if (!path.isEmpty()) OpenHistoryFile(path);
}

bool CMainFrame::OpenHistoryFile(const QString& path) {
  auto created = m_registry.Create(ChildKind::History, *this);
  if (!created) return false;
  ChildFrame* child = created.get();
  QMdiSubWindow* window = AddChild(std::move(created));
  std::string modelName;
  if (!m_registry.LoadHistory(*child, path.toStdString(), modelName)) {
    strings::MessageBoxKey(this, "S_MAINFRAME_ONFILEOPEN", mb::kIconError | mb::kOk);
    CloseChild(window, true);
    return false;
  }
  child->setWindowTitle(MdiArrange::UniqueTitle(
      *m_mdi, QStringLiteral("%1, %2").arg(path, QString::fromStdString(modelName)), window));
  child->InitialUpdate();
  ShowChild(window);
  return true;
}

QMdiSubWindow* CMainFrame::AddChild(std::unique_ptr<ChildFrame> child) {
  auto* window = new QMdiSubWindow;  // owned by the document area
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWidget(child.release());
  window->setWindowIcon(windowIcon());
  m_mdi->addSubWindow(window);
  window->hide();
  // A closed child leaves the tool bar, menu and keys of the next one.
  connect(window, &QObject::destroyed, this,
          [this] { QTimer::singleShot(0, this, [this] { OnChildActivated(); }); });
  return window;
}

void CMainFrame::ShowChild(QMdiSubWindow* window) {
  // The first window fills the area, and so does one opened while another
  // is maximised; later ones open beside it. Each gets a place on screen
  // first, which is where it returns to when restored.
  bool alone = true;
  bool maximised = false;
  for (QMdiSubWindow* other : m_mdi->subWindowList()) {
    if (other == window || !other->isVisible()) continue;
    alone = false;
    maximised = maximised || other->isMaximized();
  }
  MdiArrange::PlaceNew(*m_mdi, *window);
  if (alone || maximised) {
    window->showMaximized();
  } else {
    window->show();
  }
  m_mdi->setActiveSubWindow(window);
  OnChildActivated();
}

void CMainFrame::CloseChild(QMdiSubWindow* window, bool immediately) {
  if (!window) return;
  if (ChildFrame* child = ChildIn(window)) child->StopForClose();
  if (immediately) {
    // Gone before the caller goes on: no window is left behind.
    m_mdi->removeSubWindow(window);
    delete window;
    OnChildActivated();
  } else {
    window->close();
  }
}

void CMainFrame::UpdateConnectionStatus() {
  if (!IsConnected()) {
    SetStatusText(QString(), 0);
    return;
  }
  // "Model: PX420B   S/N: 123456   USB", from the panels' labels.
  const QString text =
      QStringLiteral("%1 %2   %3 %4   %5")
          .arg(Str("S_MEASUREVIEW_MODEL"), QString::fromStdString(m_settings.ModelName()),
               Str("S_MEASUREVIEW_SN"), QString::fromStdString(m_settings.SerialNumber()), m_connectionText);
  SetStatusText(text.trimmed(), 0);
}

void CMainFrame::OnConnect() {
  Trace("MainFrame OnDeviceConnect start");
  if (IsConnected()) return;
  CConnectDlg dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  const int port = dialog.ChosenPort();

  SensorLink& link = SensorLink::Instance();
  int result = -2;
  // Identification takes up to a few seconds on a silent port: keep painting.
  RunExchange([&link, &result, port] { result = link.Connect(port); });
  if (result != 0) {
    // A port this user may not open says so, and what to do about it.
    if (const std::string denied = PortPermissionProblem(port); !denied.empty()) {
      strings::MessageBoxText(this, denied, mb::kIconError | mb::kOk);
    } else {
      strings::MessageBoxKey(this, "S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
    }
    return;
  }
  const SensorModel* row = FindModelByDeviceCode(link.DeviceCode());
  m_settings.SetDevice(row ? row->modelCode : -1, link.SerialNumber(), link.FirmwareVersion());
  m_connectionText = port < 1 ? QStringLiteral("USB") : QString::fromStdString(FormatC("COM%d", port));
  m_serialLink = port >= 1;
  UpdateConnectionStatus();
  m_lossWatch->SensorConnected();
  m_toolBars->UpdateStates();
  strings::MessageBoxKey(this, "S_IDD_CONNECTED", mb::kIconInformation | mb::kOk);
}

void CMainFrame::OnDisconnect() {
  // The live windows stop first: without a sensor they must not go on
  // showing a running measurement.
  for (QMdiSubWindow* window : m_mdi->subWindowList())
    if (ChildFrame* child = ChildIn(window); child && child->Kind() != ChildKind::History)
      child->OnCommand(cmd::kMeasureStop);
  SensorLink& link = SensorLink::Instance();
  RunExchange([&link] { link.Disconnect(); });
  m_lossWatch->SensorDisconnected();
  UpdateConnectionStatus();
  m_toolBars->UpdateStates();
  strings::MessageBoxKey(this, "S_IDD_DISCONNECTED", mb::kIconInformation | mb::kOk);
}

void CMainFrame::OnModeCommand(int id) {
  ChildKind kind = ChildKind::Measurement;
  const int modeBefore = m_currentMode;
  m_currentMode = kModeMeasurement;
  if (id == cmd::kModePulse) {
    kind = ChildKind::Pulse;
    m_currentMode = kModePulse;
  } else if (id == cmd::kModeCcdf) {
    kind = ChildKind::Ccdf;
    m_currentMode = kModeCcdf;
  }

  // A window of that kind already there is set up for the connected
  // sensor again (it may have measured another model before a reconnect).
  if (QMdiSubWindow* existing = SubWindowOf(kind)) {
    if (!IsConnected()) {
      strings::MessageBoxKeyNoOwner("S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
      return;
    }
    OpenModeWindow(existing, kind);
    return;
  }

  QMdiSubWindow* previous = m_mdi->currentSubWindow();
  // The window that would close may keep itself (an unsaved run).
  if (ChildFrame* before = ChildIn(previous); before && !before->QueryClose()) {
    m_currentMode = modeBefore;
    return;
  }
  auto created = m_registry.Create(kind, *this);
  if (!created) return;
  QMdiSubWindow* window = AddChild(std::move(created));

  // The window that was active, of whatever kind, stops and closes.
  if (ChildFrame* before = ChildIn(previous)) {
    SensorLink::Instance().SetBusyFlag(false);
    before->OnCommand(cmd::kMeasureStop);
    CloseChild(previous, true);
  }

  if (!IsConnected()) {
    strings::MessageBoxKeyNoOwner("S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
    CloseChild(window, true);
    return;
  }

  OpenModeWindow(window, kind);
}

void CMainFrame::OpenModeWindow(QMdiSubWindow* window, ChildKind kind) {
  ChildFrame* child = ChildIn(window);
  if (!child) return;
  child->PrepareForModel(m_settings.ModelCode());
  const auto titleKind = kind == ChildKind::Pulse  ? titles::ModeWindow::Pulse
                         : kind == ChildKind::Ccdf ? titles::ModeWindow::Ccdf
                                                   : titles::ModeWindow::Measurement;
  const std::string title =
      titles::ModeWindowTitle(m_connectionText.toStdString(), m_settings.ModelName(), titleKind);
  child->setWindowTitle(MdiArrange::UniqueTitle(*m_mdi, QString::fromStdString(title), window));
  child->InitialUpdate();
  if (window->isVisible()) {
    // Already placed by the user: only brought up.
    window->show();
    m_mdi->setActiveSubWindow(window);
    OnChildActivated();
  } else {
    ShowChild(window);
  }
  // The CCDF window opens its settings at once.
  if (kind == ChildKind::Ccdf) PostCommand(cmd::kDeviceSetting);
}

void CMainFrame::OnSetting() {
  if (!m_settingsDialog || !IsConnected()) return;
  int page = 0;
  int subPage = 0;
  ChildFrame* modeWindow = nullptr;
  switch (m_currentMode) {
    case kModePulse:
      modeWindow = ChildOfKind(ChildKind::Pulse);
      break;
    case kModeCcdf:
      modeWindow = ChildOfKind(ChildKind::Ccdf);
      break;
    default:
      modeWindow = ChildOfKind(ChildKind::Measurement);
      break;
  }
  if (modeWindow) {
    using settings_tabs::Opener;
    switch (modeWindow->Kind()) {
      case ChildKind::Pulse:
        page = settings_tabs::InitialTab(Opener::PulseWindow);
        break;
      case ChildKind::Ccdf:
        page = settings_tabs::InitialTab(Opener::CcdfWindow);
        break;
      default:
        page = settings_tabs::InitialTab(Opener::MeasurementWindow);
        subPage = settings_tabs::InitialSubTab(m_settings.ModelCode(), modeWindow->CurrentQuantity());
        break;
    }
  }
  const bool accepted = m_settingsDialog(this, m_settings, page, subPage);
  if (accepted && modeWindow) modeWindow->ApplySettings();
}

void CMainFrame::OnDownloadLogging() {
  if (!ModeCommandState(cmd::kDownloadLogging).enabled) return;
  SensorLink& link = SensorLink::Instance();
  bool read = false;
  RunExchange([&link, &read] { read = link.ReadLoggingStatus(); });
  if (!read) {
    strings::MessageBoxKey(this, "S_SETTING_WARNING_DN_FAIL", mb::kIconError | mb::kOk);
    return;
  }
  m_loggingDialog(this, m_settings);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!CloseQuestions::AllAgree(m_mdi->subWindowList())) {
    event->ignore();
    return;
  }
  for (QMdiSubWindow* window : m_mdi->subWindowList())
    if (ChildFrame* child = ChildIn(window)) child->StopForClose();
  QMainWindow::closeEvent(event);
}

}  // namespace wattrix
