#include "core/device/SensorLink.h"
#include "core/history/HistoryDocument.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CModeView.h"
#include "ui/measure/CPulsePowerFrame.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/CloseQuestions.h"
#include "ui/shell/SimSensorProcess.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace wattrix {

namespace {

// The main frame with the real window classes, connected over USB to a
// simulated sensor, with an AVG & PEAK window measuring.
class Measuring {
 public:
  explicit Measuring(const std::string& dir) : m_dir(dir) {
    frame.Settings().SetSettingsDirectory(dir);
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([](QWidget*, MeasurementSettings&, int, int) { return true; });
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    frame.RouteCommand(cmd::kModeAvgPeak);
    window = qobject_cast<CMeasurementFrame*>(frame.ActiveChild());
    if (!window) return;
    window->View().SetSavePathChooser([this](QWidget*, const SavePathRequest&) {
      ++pathQuestions;
      return savePath;
    });
    frame.RouteCommand(cmd::kMeasureStart);
    boxes.boxes.clear();
  }
  ~Measuring() { SensorLink::Instance().Disconnect(); }

  bool HasReadings() { return frame.Settings().Count(kAvg) > 0; }
  // The last box was the close question with save / discard / cancel.
  bool AskedToClose() const {
    return !boxes.boxes.empty() &&
           boxes.boxes.back().text == strings::GetString("S_MEASUREVIEW_ONCLOSEUNSAVED") &&
           (boxes.boxes.back().type & mb::kButtonMask) == mb::kYesNoCancel;
  }

  test::RecordingMessageBoxes boxes;
  CMainFrame frame;
  QPointer<CMeasurementFrame> window;
  QString savePath;
  int pathQuestions = 0;

 private:
  std::string m_dir;
};

// A child window that answers the close question from a script.
class ScriptedChild final : public ChildFrame {
 public:
  explicit ScriptedChild(bool agrees) : m_agrees(agrees) {}
  ChildKind Kind() const override { return ChildKind::History; }
  bool OnCommand(int) override { return false; }
  bool UpdateCommand(int, CommandState&) override { return false; }
  bool QueryClose() override {
    ++asked;
    return m_agrees;
  }
  void CloseCancelled() override { ++cancelled; }
  int asked = 0;
  int cancelled = 0;

 private:
  bool m_agrees;
};

}  // namespace

// No unsaved run is dropped without a question: the close command and
// button, a mode switch and exit ask save / discard / cancel.
class UnsavedRunTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void init() {
    m_sim = std::make_unique<test::SimSensorProcess>(
        QStringList{"--model", "PX420B", "--transport", "usb-vista", "--noise", "0"});
    QCOMPARE(m_sim->WaitForPort(), -1);
  }
  void cleanup() {
    SensorLink::Instance().Disconnect();
    m_sim.reset();
  }

  void CloseCommandAndButtonAsk() {
    Measuring m(m_dir.Path());
    QVERIFY(m.window);
    QTRY_VERIFY(m.HasReadings());

    // Cancel: the window stays and keeps measuring.
    m.boxes.QueueAnswer(mb::kIdCancel);
    m.frame.RouteCommand(cmd::kFileClose);
    QVERIFY(m.AskedToClose());
    QCoreApplication::processEvents();
    QVERIFY(m.window);
    QVERIFY(m.window->View().Session().Measuring());
    QVERIFY(m.window->View().Registered());
    const int before = m.frame.Settings().Count(kAvg);
    QTRY_VERIFY(m.frame.Settings().Count(kAvg) > before);

    // The window's own close button asks the same; cancel keeps it.
    m.boxes.QueueAnswer(mb::kIdCancel);
    QMdiSubWindow* sub = m.frame.SubWindowOf(LiveWindowKind::Measurement);
    QVERIFY(!sub->close());
    QCOMPARE(m.boxes.boxes.size(), std::size_t{2});
    QVERIFY(m.AskedToClose());
    QVERIFY(m.window && m.window->View().Session().Measuring());

    // Yes with the file dialog cancelled: the run is stopped but kept, and
    // the window stays.
    m.boxes.QueueAnswer(mb::kIdYes);
    m.frame.RouteCommand(cmd::kFileClose);
    QCOMPARE(m.pathQuestions, 1);
    QCoreApplication::processEvents();
    QVERIFY(m.window);
    QVERIFY(!m.window->View().Session().Measuring());
    QVERIFY(m.window->View().Session().HasUnsavedRun());

    // Yes with a path: saved, then closed; asked once only.
    // A record holds AVG, VSWR and PEAK of one cycle.
    MeasurementSettings& settings = m.frame.Settings();
    const int stored = std::min({settings.Count(kAvg), settings.Count(kVswr), settings.Count(kPeak)});
    m.savePath = QString::fromStdString(m_dir.File("closed.psh"));
    m.boxes.QueueAnswer(mb::kIdYes);
    const std::size_t asked = m.boxes.boxes.size();
    const std::shared_ptr<DeliveryHandle> handle = m.window->View().Addressee();
    m.frame.RouteCommand(cmd::kFileClose);
    QTRY_VERIFY(m.window.isNull());
    QCOMPARE(m.boxes.boxes.size(), asked + 1);
    HistoryDocument saved;
    QVERIFY(saved.Load(m.savePath.toStdString()));
    QCOMPARE(static_cast<int>(saved.Count()), stored);
    QVERIFY(handle->Revoked());
  }

  void ModeSwitchAsks() {
    Measuring m(m_dir.Path());
    QVERIFY(m.window);
    QTRY_VERIFY(m.HasReadings());

    // Cancel: no pulse window, the measurement window goes on as it was.
    m.boxes.QueueAnswer(mb::kIdCancel);
    m.frame.RouteCommand(cmd::kModePulse);
    QVERIFY(m.AskedToClose());
    QVERIFY(m.window);
    QCOMPARE(m.frame.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(m.frame.ActiveChild(), m.window.data());
    QCOMPARE(m.frame.CurrentMode(), LiveWindowKind::Measurement);
    QVERIFY(m.window->View().Session().Measuring());

    // No: the run is dropped as asked and the pulse window opens.
    m.boxes.QueueAnswer(mb::kIdNo);
    m.frame.RouteCommand(cmd::kModePulse);
    QVERIFY(m.window.isNull());
    QVERIFY(qobject_cast<CPulsePowerFrame*>(m.frame.ActiveChild()));
    QCOMPARE(m.frame.CurrentMode(), LiveWindowKind::Pulse);
    QCOMPARE(m.pathQuestions, 0);

    // A run that is saved is not asked about.
    auto* pulse = qobject_cast<CPulsePowerFrame*>(m.frame.ActiveChild());
    pulse->View().SetSavePathChooser(
        [this](QWidget*, const SavePathRequest&) { return QString::fromStdString(m_dir.File("pulse.psh")); });
    m.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(m.frame.Settings().Count(kPulse) > 0);
    m.frame.RouteCommand(cmd::kMeasureStop);
    m.frame.RouteCommand(cmd::kFileSave);
    QVERIFY(!pulse->View().Session().Unsaved());
    m.boxes.boxes.clear();
    m.frame.RouteCommand(cmd::kModeAvgPeak);
    QVERIFY(m.boxes.boxes.empty());
    QVERIFY(qobject_cast<CMeasurementFrame*>(m.frame.ActiveChild()));
  }

  void ExitAsks() {
    Measuring m(m_dir.Path());
    QVERIFY(m.window);
    m.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m.frame));
    QTRY_VERIFY(m.HasReadings());

    // Cancel: the application stays, the window measures on.
    m.boxes.QueueAnswer(mb::kIdCancel);
    m.frame.RouteCommand(cmd::kAppExit);
    QVERIFY(m.AskedToClose());
    QVERIFY(m.frame.isVisible());
    QVERIFY(m.window && m.window->View().Session().Measuring());

    // No: the frame closes.
    m.boxes.QueueAnswer(mb::kIdNo);
    m.frame.RouteCommand(cmd::kAppExit);
    QVERIFY(m.AskedToClose());
    QVERIFY(!m.frame.isVisible());
  }

  void ExitCancelledByOneWindowUndoesTheOthersAnswers() {
    test::RecordingMessageBoxes boxes;
    CMainFrame frame;
    auto* first = new ScriptedChild(true);
    auto* second = new ScriptedChild(false);
    frame.MdiArea()->addSubWindow(first);
    frame.MdiArea()->addSubWindow(second);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(!frame.close());
    QCOMPARE(first->asked, 1);
    QCOMPARE(second->asked, 1);
    QCOMPARE(first->cancelled, 1);
    QCOMPARE(second->cancelled, 0);
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
    // Without a refusal nothing is undone.
    QVERIFY(CloseQuestions::AllAgree({frame.MdiArea()->subWindowList().first()}));
    QCOMPARE(first->cancelled, 1);
  }

 private:
  test::TempDir m_dir;
  std::unique_ptr<test::SimSensorProcess> m_sim;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::UnsavedRunTest)
#include "UnsavedRunTest.moc"
