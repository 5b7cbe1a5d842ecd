#include "ui/shell/CMainFrame.h"

#include "SimSensorProcess.h"
#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CModeView.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace wattrix {

namespace {

// The main frame with the real window classes; the settings dialog answers
// OK at once.
class Rig {
 public:
  explicit Rig(const std::string& settingsDir) {
    frame.Settings().SetSettingsDirectory(settingsDir);
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([](QWidget*, MeasurementSettings&, int, int) { return true; });
  }
  ~Rig() { SensorLink::Instance().Disconnect(); }

  // Connect over USB or COM `port` (the dialog answered); true when it was
  // confirmed.
  bool Connect(int port = -1) {
    boxes.boxes.clear();
    test::AnswerConnectDialog(port);
    frame.RouteCommand(cmd::kConnectDevice);
    return !boxes.boxes.empty() && boxes.boxes.back().text == strings::GetString("S_IDD_CONNECTED");
  }
  CModeView* View() const {
    auto* window = qobject_cast<CMeasurementFrame*>(frame.ChildOfKind(LiveWindowKind::Measurement));
    return window ? &window->View() : nullptr;
  }

  test::RecordingMessageBoxes boxes;
  CMainFrame frame;
};

// Runs on the user-interface thread every 50 ms while it lives: asks for
// the state of a live window's command (what a tool button does), repaints
// the frame, and notes whether the sensor was still being identified when
// all that had been done.
class UiProbe {
 public:
  explicit UiProbe(CMainFrame& frame) {
    m_timer.setInterval(50);
    QObject::connect(&m_timer, &QTimer::timeout, [this, &frame] {
      frame.CommandStateOf(cmd::kMeasureStart);
      frame.repaint();
      const qint64 now = m_clock.elapsed();
      if (m_last >= 0) longestGapMs = std::max(longestGapMs, now - m_last);
      m_last = now;
      // Identify starts from 0 and ends with the serial number set.
      if (SensorLink::Instance().SerialNumber() == 0) {
        ++ticksWhileIdentifying;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (cursor && cursor->shape() == Qt::WaitCursor) ++waitCursorTicks;
      }
    });
    m_clock.start();
    m_timer.start();
  }

  int ticksWhileIdentifying = 0;
  int waitCursorTicks = 0;
  qint64 longestGapMs = 0;

 private:
  QTimer m_timer;
  QElapsedTimer m_clock;
  qint64 m_last = -1;
};

}  // namespace

// The connection as the main frame and the live windows see it: a slow
// sensor identifying while the windows keep painting.
class LinkStateTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void cleanup() { SensorLink::Instance().Disconnect(); }

  void ConnectToASlowSensorKeepsPainting() {
    Rig rig(m_dir.Path());
    {
      // A live window that stays open over a disconnect polls the link
      // while the next connect identifies the sensor.
      test::SimSensorProcess fast({"--model", "PX420B", "--transport", "usb-vista"});
      QCOMPARE(fast.WaitForPort(), -1);
      QVERIFY(rig.Connect());
      rig.frame.RouteCommand(cmd::kModeAvgPeak);
      QVERIFY(rig.View());
      rig.frame.RouteCommand(cmd::kDisconnectDevice);
    }
    // Every reply takes 1.5 s: the three identification queries 4.5 s.
    test::SimSensorProcess slow({"--model", "PX420B", "--transport", "usb-vista", "--delay", "1500"});
    QCOMPARE(slow.WaitForPort(), -1);
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    UiProbe probe(rig.frame);
    QVERIFY(rig.Connect());
    QCOMPARE(rig.frame.Settings().ModelCode(), model::kPX420B);
    QVERIFY(probe.ticksWhileIdentifying >= 3);
    QVERIFY(probe.waitCursorTicks >= 3);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    qInfo("longest pause of the user-interface thread during the slow connect: %lld ms",
          static_cast<long long>(probe.longestGapMs));
    QVERIFY(rig.frame.CommandStateOf(cmd::kMeasureStart).enabled);
  }

  void LostSensorOverUsbAndItsReturn() { LoseAndGetBack({"--transport", "usb-vista"}, -1); }
  void LostSensorOverSerialAndItsReturn() { LoseAndGetBack({"--transport", "serial", "--com", "14"}, 14); }

 private:
  // A live window measures; the simulated sensor goes away; the window and
  // the frame show it, Start is refused; the sensor comes back on the same
  // port and Connect and Start work again.
  void LoseAndGetBack(const QStringList& transport, int port) {
    const QString lostText = QString::fromStdString(strings::GetString("S_MEASUREVIEW_SENSORLOST"));
    const QStringList arguments = QStringList{"--model", "PX420B", "--noise", "0"} + transport;
    Rig rig(m_dir.Path());
    auto sim = std::make_unique<test::SimSensorProcess>(arguments);
    QCOMPARE(sim->WaitForPort(), port);
    QVERIFY(rig.Connect(port));
    rig.frame.RouteCommand(cmd::kModeAvgPeak);
    CModeView* view = rig.View();
    QVERIFY(view);
    MeasurementSettings& settings = rig.frame.Settings();
    rig.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(settings.Count(kAvg) > 2);
    QVERIFY(!view->SensorLostBanner().isVisibleTo(view));
    // The refused replies are counted in the status bar while the window
    // is active (a clean line refuses none).
    auto* rejected = rig.frame.findChild<QLabel*>(QStringLiteral("RejectedRepliesPane"));
    QVERIFY(rejected);
    QTRY_VERIFY(rejected->isVisibleTo(&rig.frame));
    QCOMPARE(rejected->text(), QStringLiteral("Rejected: 0"));
    SensorLink::Instance().NoteRejected();
    SensorLink::Instance().NoteRejected();
    QTRY_COMPARE(rejected->text(), QStringLiteral("Rejected: 2"));

    QElapsedTimer clock;
    clock.start();
    sim.reset();  // ends the process: its end of the line closes
    const qint64 exited = clock.elapsed();
    // Looked at every millisecond (not QTRY's 50 ms steps) for the figure.
    while (!view->SensorLostBanner().isVisibleTo(view) && clock.elapsed() < 10000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      QThread::msleep(1);
    }
    QVERIFY(view->SensorLostBanner().isVisibleTo(view));
    qInfo("%s: sensor stopped at 0 ms, its process gone at %lld ms, the window showed it at %lld ms",
          qPrintable(transport.at(1)), static_cast<long long>(exited),
          static_cast<long long>(clock.elapsed()));
    QCOMPARE(view->SensorLostBanner().text(), lostText);
    QVERIFY(!view->Session().Measuring());
    // The run up to the loss is kept, unsaved.
    const int kept = settings.Count(kAvg);
    QVERIFY(kept > 2);
    QVERIFY(view->Session().HasUnsavedRun());

    // The frame is disconnected: status bar and commands.
    QVERIFY(!rig.frame.IsConnected());
    QCOMPARE(rig.frame.StatusText(0), lostText);
    QVERIFY(rig.frame.CommandStateOf(cmd::kConnectDevice).enabled);
    QTRY_VERIFY(!rejected->isVisibleTo(&rig.frame));
    for (int id : {cmd::kDisconnectDevice, cmd::kModeAvgPeak, cmd::kModePulse, cmd::kDeviceSetting,
                   cmd::kMeasureStart, cmd::kMeasureReset})
      QVERIFY2(!rig.frame.CommandStateOf(id).enabled, qPrintable(QString::number(id)));

    // Start (as a key or a stale tool button would send it) is refused.
    rig.boxes.boxes.clear();
    rig.frame.RouteCommand(cmd::kMeasureStart);
    QCOMPARE(rig.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(rig.boxes.boxes[0].text, strings::GetString("S_MEASUREVIEW_ONSTARTSENSORLOST"));
    QCOMPARE(rig.boxes.boxes[0].type, mb::kIconWarning | mb::kOk);
    QVERIFY(!view->Session().Measuring());
    QCOMPARE(settings.Count(kAvg), kept);

    // The same sensor back on the same port: Connect works again.
    sim = std::make_unique<test::SimSensorProcess>(arguments);
    QCOMPARE(sim->WaitForPort(), port);
    QVERIFY(rig.Connect(port));
    QVERIFY(rig.frame.IsConnected());
    QVERIFY(rig.frame.StatusText(0).contains(QStringLiteral("PX420B")));
    QVERIFY(!view->SensorLostBanner().isVisibleTo(view));
    rig.frame.RouteCommand(cmd::kModeAvgPeak);  // brings the same window up
    QCOMPARE(rig.View(), view);
    QVERIFY(rig.frame.CommandStateOf(cmd::kMeasureStart).enabled);
    rig.boxes.QueueAnswer(mb::kIdNo);  // the run before the loss: not saved
    rig.frame.RouteCommand(cmd::kMeasureStart);
    QCOMPARE(rig.boxes.boxes.back().text, strings::GetString("S_MEASUREVIEW_ONMEASURESTART"));
    QVERIFY(view->Session().Measuring());
    QTRY_VERIFY(settings.Count(kAvg) > 2);
  }

  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::LinkStateTest)
#include "LinkStateTest.moc"
