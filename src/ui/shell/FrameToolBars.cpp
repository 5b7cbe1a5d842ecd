#include "ui/shell/FrameToolBars.h"

#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QToolBar>

#include <span>

namespace wattrix {

namespace {

struct Button {
  int command;       // 0 is a separator
  const char* icon;  // file name in the "toolbar" resource folder
  const char* tip;   // menu key whose text is the tool tip
};

constexpr Button kSeparator{0, nullptr, nullptr};

constexpr Button kMainButtons[] = {
    {cmd::kConnectDevice, "connect", "MF_ID_DEVICE_CONNECT"},
    {cmd::kDisconnectDevice, "disconnect", "MF_ID_DEVICE_DISCONNECT"},
    kSeparator,
    {cmd::kFileOpen, "open", "MF_ID_FILE_OPEN"},
    kSeparator,
    {cmd::kModeAvgPeak, "mode-avgpeak", "MF_ID_MODE_AVGPEAK"},
    {cmd::kModeAvg, "mode-avg", "MF_ID_MODE_AVG"},
    {cmd::kModePeak, "mode-peak", "MF_ID_MODE_PEAK"},
    {cmd::kModePulse, "mode-pulse", "MF_ID_MODE_PULSE"},
    {cmd::kModeCcdf, "mode-ccdf", "MF_ID_MODE_CCDF"},
    kSeparator,
    {cmd::kDownloadLogging, "logging", "PU_ID_LOGGING"},
    {cmd::kDeviceSetting, "settings", "PU_ID_DEVICE_SETTING"},
    kSeparator,
    {cmd::kHelp, "help", "MF_ID_HELP"},
    {cmd::kAppAbout, "about", "MF_ID_APP_ABOUT"},
};

constexpr Button kHistoryButtons[] = {
    {cmd::kConnectDevice, "connect", "HT_ID_DEVICE_CONNECT"},
    {cmd::kDisconnectDevice, "disconnect", "MF_ID_DEVICE_DISCONNECT"},
    kSeparator,
    {cmd::kFileOpen, "open", "HT_ID_FILE_OPEN"},
    {cmd::kFileSave, "save", "HT_ID_FILE_SAVE"},
    {cmd::kFileSaveAs, "saveas", "HT_ID_FILE_SAVE_AS"},
    {cmd::kFileClose, "close", "HT_ID_FILE_CLOSE"},
    kSeparator,
    {cmd::kExportCsv, "export-csv", "HT_ID_EXPORT_CSV"},
    {cmd::kExportBitmap, "export-image", "HT_ID_EXPORT_JPG"},
    {cmd::kReport, "report", "HT_ID_FILE_REPORT"},
    kSeparator,
    {cmd::kChangeTitle, "title", "HT_ID_FILE_CHANGETITLE"},
    {cmd::kChangeScale, "scale", "PU_ID_FILE_CHANGESCALE"},
    kSeparator,
    {cmd::kModeAvgPeak, "mode-avgpeak", "MF_ID_MODE_AVGPEAK"},
    {cmd::kModeAvg, "mode-avg", "MF_ID_MODE_AVG"},
    {cmd::kModePeak, "mode-peak", "MF_ID_MODE_PEAK"},
    {cmd::kModePulse, "mode-pulse", "MF_ID_MODE_PULSE"},
    {cmd::kModeCcdf, "mode-ccdf", "MF_ID_MODE_CCDF"},
    kSeparator,
    {cmd::kHelp, "help", "HT_ID_HELP"},
};

constexpr Button kMeasurementButtons[] = {
    {cmd::kConnectDevice, "connect", "MS_ID_DEVICE_CONNECT"},
    {cmd::kDisconnectDevice, "disconnect", "MF_ID_DEVICE_DISCONNECT"},
    kSeparator,
    {cmd::kFileOpen, "open", "MS_ID_FILE_OPEN"},
    {cmd::kFileSave, "save", "MS_ID_FILE_SAVE"},
    kSeparator,
    {cmd::kMeasureStart, "start", "MS_ID_MEASURE_START"},
    {cmd::kMeasureStop, "stop", "MS_ID_MEASURE_STOP"},
    {cmd::kMeasureReset, "reset", "MS_ID_MEASURE_RESET"},
    kSeparator,
    {cmd::kViewFullScreen, "fullscreen", "MS_ID_VIEW_FULLSCREEN"},
    {cmd::kViewMultiScreen, "multiscreen", "MS_ID_VIEW_MULTISCREEN"},
    {cmd::kViewHistoryGraph, "graph", "MS_ID_VIEW_HISTORYGRAPH"},
    kSeparator,
    {cmd::kModeAvgPeak, "mode-avgpeak", "MF_ID_MODE_AVGPEAK"},
    {cmd::kModeAvg, "mode-avg", "MF_ID_MODE_AVG"},
    {cmd::kModePeak, "mode-peak", "MF_ID_MODE_PEAK"},
    {cmd::kModePulse, "mode-pulse", "MF_ID_MODE_PULSE"},
    {cmd::kModeCcdf, "mode-ccdf", "MF_ID_MODE_CCDF"},
    kSeparator,
    {cmd::kDeviceSetting, "settings", "MS_ID_DEVICE_SETTING"},
    {cmd::kHelp, "help", "MS_ID_HELP"},
};

std::span<const Button> ButtonsOf(FrameToolBars::Bar bar) {
  switch (bar) {
    case FrameToolBars::Bar::Main:
      return kMainButtons;
    case FrameToolBars::Bar::History:
      return kHistoryButtons;
    case FrameToolBars::Bar::Measurement:
      return kMeasurementButtons;
  }
  return {};
}

// A menu text as a tool tip: mnemonic marks and a trailing ellipsis go.
QString TipText(const char* key) {
  QString text = QString::fromStdString(strings::GetMenuText(key));
  QString tip;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') tip += u'&', ++i;
      continue;
    }
    tip += text[i];
  }
  if (tip.endsWith(QStringLiteral("..."))) tip.chop(3);
  return tip.trimmed();
}

constexpr const char* kNames[] = {"MainToolBar", "HistoryToolBar", "MeasurementToolBar"};

}  // namespace

FrameToolBars::FrameToolBars(QMainWindow& window, Router route, StateQuery query)
    : QObject(&window), m_window(window), m_route(std::move(route)), m_query(std::move(query)) {
  for (int i = 0; i < 3; ++i) {
    auto* bar = new QToolBar(&window);  // owned by the window
    bar->setObjectName(QString::fromLatin1(kNames[i]));
    bar->setIconSize(QSize(32, 32));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->toggleViewAction()->setVisible(false);
    window.addToolBar(Qt::TopToolBarArea, bar);
    m_bars[i] = bar;
    Fill(static_cast<Bar>(i));
  }
  Show(Bar::Main);
}

void FrameToolBars::Fill(Bar bar) {
  QToolBar* toolBar = ToolBar(bar);
  for (const Button& button : ButtonsOf(bar)) {
    if (button.command == 0) {
      toolBar->addSeparator();
      continue;
    }
    const QIcon icon(QStringLiteral(":/icons/toolbar/%1.png").arg(QString::fromLatin1(button.icon)));
    QAction* action = toolBar->addAction(icon, TipText(button.tip));
    const int id = button.command;
    action->setData(id);
    action->setProperty("tipKey", QString::fromLatin1(button.tip));
    connect(action, &QAction::triggered, this, [this, id] { m_route(id); });
  }
}

FrameToolBars::Bar FrameToolBars::BarOf(menu::MenuKind kind) {
  switch (kind) {
    case menu::MenuKind::Measurement:
      return Bar::Measurement;
    case menu::MenuKind::History:
      return Bar::History;
    default:
      return Bar::Main;
  }
}

bool FrameToolBars::AnyVisible() const {
  for (QToolBar* bar : m_bars)
    if (!bar->isHidden()) return true;
  return false;
}

void FrameToolBars::HideAll() {
  for (QToolBar* bar : m_bars) bar->hide();
}

void FrameToolBars::Show(Bar bar) {
  for (int i = 0; i < 3; ++i) m_bars[i]->setVisible(i == static_cast<int>(bar));
  UpdateStates();
}

void FrameToolBars::UpdateStates() {
  for (QToolBar* bar : m_bars) {
    if (bar->isHidden()) continue;
    for (QAction* action : bar->actions()) {
      if (action->isSeparator()) continue;
      const CommandState state = m_query(action->data().toInt());
      action->setEnabled(state.enabled);
    }
  }
}

void FrameToolBars::RetranslateTips() {
  for (QToolBar* bar : m_bars)
    for (QAction* action : bar->actions())
      if (!action->isSeparator())
        action->setText(TipText(action->property("tipKey").toString().toLatin1().constData()));
}

}  // namespace wattrix
