#include "ui/app/CWattrixApp.h"

#include "core/platform/TraceSink.h"
#include "core/device/SensorLink.h"
#include "core/platform/CanberraBeeper.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "ui/app/ChildWindows.h"
#include "ui/platform/WattrixStyle.h"
#include "ui/settings/SensorLinkDownloadActions.h"
#include "ui/settings/SensorLinkLoggingActions.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/CAboutDlg.h"
#include "ui/shell/CMainFrame.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>

namespace wattrix {

namespace {

constexpr const char* kMeasureStartupOption = "--measure-startup";

// Calls `done` once, at the first paint of the watched widget.
class FirstPaint final : public QObject {
 public:
  FirstPaint(QWidget* watched, std::function<void()> done) : QObject(watched), m_done(std::move(done)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && m_done) {
      watched->removeEventFilter(this);
      // After this paint has been handled.
      QTimer::singleShot(0, this, [done = std::move(m_done)] { done(); });
      m_done = nullptr;
    }
    return false;
  }

 private:
  std::function<void()> m_done;
};

}  // namespace

CWattrixApp::CWattrixApp(int& argc, char** argv, QElapsedTimer clock) : m_clock(clock) {
  if (!m_clock.isValid()) m_clock.start();
  // Step 1, registering the common-control classes, has no counterpart:
  // Qt's widgets need no registration.
  // Step 2: the framework's own initialisation.
  m_app = std::make_unique<QApplication>(argc, argv);
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String(kMeasureStartupOption)) {
      m_measureStartup = true;
    } else {
      m_fileArguments.append(arguments[i]);
    }
  }
}

CWattrixApp::~CWattrixApp() {
  // Shutdown: the sensor link stops its thread before the windows it
  // delivers to go; the frame writes the settings file of the current
  // model as its settings record is destroyed.
  SensorLink::Instance().Disconnect();
  m_frame.reset();
  SetBeeper(nullptr);
  m_beeper.reset();
  SetMessageBoxes(nullptr);
  // The trace sink is a process-wide object that ends with
  // the process; there is no graphics library to shut down (QPainter needs
  // no start-up token).
  m_app.reset();
}

bool CWattrixApp::InitInstance() {
  // Step 3: the process-wide trace sink.
  TraceSink::Instance();
  // Steps 4 and 5, the component library and control hosting, have no
  // counterpart here: nothing of the program is embedded or scripted.
  // Step 6: the user's settings live under "Kelvane".
  QCoreApplication::setOrganizationName(QStringLiteral("Kelvane"));
  QCoreApplication::setApplicationName(QStringLiteral("Wattrix"));
  QGuiApplication::setDesktopFileName(QStringLiteral("wattrix"));
  QApplication::setWindowIcon(AppIcon());
  QApplication::setStyle(new WattrixStyle);  // the application takes it over
  // Step 7, starting the anti-aliasing graphics library, is not needed:
  // QPainter draws anti-aliased paths as it is.
  // Step 8: the string table every lookup reads.
  strings::InitStringTablePath();
  // Message boxes and the desktop beep of this application.
  SetMessageBoxes(&m_boxes);
  m_beeper = std::make_unique<CanberraBeeper>(&m_fallbackBeeper);
  SetBeeper(m_beeper.get());

  // Step 9: the main frame.
  m_frame = std::make_unique<CMainFrame>(SensorLink::Instance());
  m_frame->Settings().SetSaveOnDestroy(true);
  m_frame->SetFallbackTarget(this);
  RegisterChildWindows(*m_frame);
  m_frame->SetSettingsDialog([](QWidget* owner, MeasurementSettings& settings, int tab, int subTab) {
    return RunSettingDialog(owner, SensorLink::Instance(), settings, tab, subTab);
  });
  m_frame->SetLoggingDialog([frame = m_frame.get()](QWidget* owner, MeasurementSettings& settings) {
    RunDownloadDialog(*frame, owner, SensorLink::Instance(), settings);
  });

  // Step 10: shown, updated and focused; then the command-line file.
  m_frame->show();
  m_frame->activateWindow();
  m_frame->setFocus();
  m_frame->OpenCommandLineFile(m_fileArguments);
  if (m_measureStartup) new FirstPaint(m_frame->MdiArea()->viewport(), [this] { ReportStartup(); });
  return true;
}

void CWattrixApp::ReportStartup() {
  // Runs once the document area has been painted for the first time.
  std::printf("startup_ms=%.1f\n", static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
  std::fflush(stdout);
  QCoreApplication::quit();
}

int CWattrixApp::Run() { return QApplication::exec(); }

void CWattrixApp::OnHelp(QWidget* owner) {
  const std::string path = HostPaths::DataFile("QLMXEnHlp.pdf");
  if (QFileInfo(QString::fromStdString(path)).isFile()) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    return;
  }
  // The text's one "%s" takes the path; the text itself is never used as a
  // format.
  std::string text = strings::GetString("S_ONAPPHELP");
  if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, path);
  strings::MessageBoxText(owner, text, mb::kIconWarning | mb::kOk);
}

void CWattrixApp::OnAbout(QWidget* owner) {
  CAboutDlg dialog(owner);
  dialog.exec();
}

bool CWattrixApp::OnCommand(int id) {
  switch (id) {
    case cmd::kHelp:
      OnHelp(m_frame.get());
      return true;
    case cmd::kAppAbout:
      OnAbout(m_frame.get());
      return true;
    default:
      return false;
  }
}

bool CWattrixApp::UpdateCommand(int id, CommandState& state) {
  if (id != cmd::kHelp && id != cmd::kAppAbout) return false;
  state = {true, false};
  return true;
}

}  // namespace wattrix
