#include "core/device/DeliveryHandle.h"
#include "core/device/SensorLink.h"
#include "core/device/TestReadings.h"
#include "core/history/HistoryDocument.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CMeasurementView.h"
#include "ui/measure/CModeView.h"
#include "ui/measure/CPulsePowerFrame.h"
#include "ui/platform/FramePacer.h"
#include "ui/settings/SensorLinkDownloadActions.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/SimSensorProcess.h"

#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace wattrix {

namespace {

double NumberIn(const std::string& text) {
  const auto match = QRegularExpression(QStringLiteral("-?\\d+\\.\\d+")).match(QString::fromStdString(text));
  return match.hasMatch() ? match.captured().toDouble() : -1e9;
}

bool Shows(const CMeasurementCtrl& panel) { return !panel.isHidden() && !panel.geometry().isEmpty(); }

// The main frame with the real window classes, connected over USB to a
// simulated sensor; the settings dialog only records its pages and answers OK.
class Connected {
 public:
  explicit Connected(const std::string& settingsDir) {
    frame.Settings().SetSettingsDirectory(settingsDir);
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([this](QWidget*, MeasurementSettings& settings, int page, int) {
      pages.push_back(page);
      if (edit) edit(settings);
      return true;
    });
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
  }
  ~Connected() { SensorLink::Instance().Disconnect(); }

  test::RecordingMessageBoxes boxes;
  CMainFrame frame;
  std::vector<int> pages;
  // What the user changes in the dialog.
  std::function<void(MeasurementSettings&)> edit;
};

// Stands in front of a window's delivery handle and counts the answered
// requests the acquisition thread hands on (PX420B: average with reverse,
// and peak).
class AnswerCounter final : public ReadingSink {
 public:
  explicit AnswerCounter(CModeView& view)
      : m_view(view), m_inner(view.Addressee()), m_own(std::make_shared<DeliveryHandle>(*this)) {
    m_view.Session().SetAddressee(m_own);
  }
  ~AnswerCounter() override { Release(); }
  // Gives the requests back to the window's own handle.
  void Release() {
    if (!m_inner) return;
    m_view.Session().SetAddressee(m_inner);
    m_own->Revoke();
    m_inner = nullptr;
  }
  void OnReading(const Reading& reading) override {
    if (reading.Answered() && reading.kind == RequestKind::AverageReverse) ++averages;
    if (reading.Answered() && reading.kind == RequestKind::Peak) ++peaks;
    m_inner->Deliver(reading);
  }
  std::atomic<int> averages{0};
  std::atomic<int> peaks{0};

 private:
  CModeView& m_view;
  std::shared_ptr<DeliveryHandle> m_inner;
  std::shared_ptr<DeliveryHandle> m_own;
};

// Counts a widget's paint events.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
  int count = 0;
};

}  // namespace

// The live windows against the simulated sensor: readings stored and shown,
// limits, commands, layouts, saving and closing.
class ModeWindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }

  void MeasuresLiveWithLimitsAndCommands() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--forward", "40", "--vswr",
                                "1.5", "--noise", "0"});
    QCOMPARE(sim.WaitForPort(), -1);
    test::RecordingBeeper beeper;
    Connected c(m_dir.Path());
    QCOMPARE(c.frame.Settings().ModelCode(), model::kPX420B);
    MeasurementSettings& settings = c.frame.Settings();

    c.frame.RouteCommand(cmd::kModeAvgPeak);
    auto* window = qobject_cast<CMeasurementFrame*>(c.frame.ActiveChild());
    QVERIFY(window);
    CModeView& view = window->View();
    QVERIFY(view.Registered() && !view.Addressee()->Revoked());
    const std::shared_ptr<DeliveryHandle> handle = view.Addressee();
    // Reinitialise opens the settings dialog on the measurement page.
    QTRY_COMPARE(c.pages.size(), std::size_t{1});
    QCOMPARE(c.pages[0], 0);
    // PX420B: AVG selected, graph hidden, four panels in the grid.
    QCOMPARE(view.Session().SelectedPanel(), 1);
    QVERIFY(view.Panel(1).Selected());
    QVERIFY(view.Graph().isHidden());
    for (int i = 0; i < 4; ++i) QVERIFY(Shows(view.Panel(i)));
    QCOMPARE(view.Panel(0).geometry().topLeft(), QPoint(1, 1));
    // The one-pixel gaps show the view's black ground.
    const QImage shot = view.grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(view.Panel(1).geometry().left() - 1, 5), QColor(Qt::black));

    // AVG limits 0..10 with check and alarm: every 40 dBm reading breaks them.
    settings.SetLimits(kAvg, 0, 10);
    c.frame.RouteCommand(cmd::kLimitCheckEnable);
    c.frame.RouteCommand(cmd::kAlarmOn);
    QVERIFY(settings.LimitCheck(kAvg) && settings.BeepAlarm(kAvg));
    QVERIFY(c.frame.CommandStateOf(cmd::kLimitCheckEnable).checked);

    c.frame.RouteCommand(cmd::kMeasureStart);
    QVERIFY(view.Session().Measuring());
    QVERIFY(c.frame.CommandStateOf(cmd::kMeasureStart).checked);
    QTRY_VERIFY(settings.Count(kAvg) >= 5 && settings.Count(kPeak) >= 5);
    QCOMPARE(settings.LastReading(kAvg), 40.0f);
    QVERIFY(std::abs(settings.LastReading(kVswr) - 1.5f) < 0.02f);
    QCOMPARE(NumberIn(view.Panel(0).ItemText(panel_item::kValue)), 40.0);
    QCOMPARE(NumberIn(view.Panel(1).ItemText(panel_item::kValue)), 40.0);
    QVERIFY(std::abs(NumberIn(view.Panel(3).ItemText(panel_item::kValue)) - 1.5) < 0.02);
    QCOMPARE(view.Panel(0).ItemColour(panel_item::kValue), panel_colour::kAlarm);
    QCOMPARE(view.Panel(1).ItemColour(panel_item::kValue), panel_colour::kAlarm);
    QVERIFY(view.Panel(2).ItemColour(panel_item::kValue) != panel_colour::kAlarm);
    QVERIFY(!beeper.Beeps().empty());
    QVERIFY(static_cast<int>(beeper.Beeps().size()) <= settings.Count(kAvg));
    // Limits wide enough: the next readings turn the value back and stay quiet.
    settings.SetLimits(kAvg, 0, 50);
    beeper.Clear();
    const int before = settings.Count(kAvg);
    QTRY_VERIFY(settings.Count(kAvg) > before + 2);
    QVERIFY(beeper.Beeps().empty());
    QVERIFY(view.Panel(0).ItemColour(panel_item::kValue) != panel_colour::kAlarm);

    // A click on the PEAK panel (forwarded by the panel) selects it; Set as
    // default moves PEAK into the main panel.
    QTest::mouseClick(&view.Panel(2), Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(view.Session().SelectedPanel(), 2);
    QVERIFY(view.Panel(2).Selected() && !view.Panel(1).Selected());
    QCOMPARE(window->CurrentQuantity(), kPeak);
    c.frame.RouteCommand(cmd::kSetAsDefault);
    QCOMPARE(view.Panel(0).Quantity(), kPeak);
    // Main PEAK: the PEAK panel sits top-right.
    QCOMPARE(view.Panel(2).geometry().top(), 1);

    // Relative display.
    c.frame.RouteCommand(cmd::kModeRelative);
    QVERIFY(settings.Relative());
    QVERIFY(c.frame.CommandStateOf(cmd::kModeRelative).checked);
    c.frame.RouteCommand(cmd::kModeAbsolute);
    QVERIFY(!settings.Relative());

    // Full screen and back; a double click does the same.
    c.frame.RouteCommand(cmd::kViewFullScreen);
    QCOMPARE(view.Panel(2).geometry(), view.rect());
    QVERIFY(!Shows(view.Panel(0)) && !Shows(view.Panel(1)) && !Shows(view.Panel(3)));
    QVERIFY(view.Graph().isHidden());
    QTest::mouseDClick(&view.Panel(2), Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(view.Session().FullScreenPanel(), -1);
    for (int i = 0; i < 4; ++i) QVERIFY(Shows(view.Panel(i)));

    // The history graph takes the bottom row and draws the run.
    c.frame.RouteCommand(cmd::kViewHistoryGraph);
    QVERIFY(c.frame.CommandStateOf(cmd::kViewHistoryGraph).checked);
    QVERIFY(!view.Graph().isHidden());
    QCOMPARE(view.Graph().geometry().width(), view.width() - 2);
    QCOMPARE(view.Graph().geometry().bottom(), view.height() - 2);
    QCOMPARE(int(!Shows(view.Panel(1))) + int(!Shows(view.Panel(2))) + int(!Shows(view.Panel(3))), 2);
    QTRY_VERIFY(!view.Graph().Feeder().Points().empty());
    c.frame.RouteCommand(cmd::kViewHistoryGraph);
    QVERIFY(view.Graph().isHidden());

    // A right click selects and opens the measurement menu.
    QTest::mouseClick(&view.Panel(3), Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(view.Session().SelectedPanel(), 3);
    QVERIFY(view.ContextMenu() && view.ContextMenu()->isVisible());
    view.ContextMenu()->hide();

    // Save: not while measuring; a failed write shows the error and keeps
    // the run unsaved; a good one clears it.
    QVERIFY(!c.frame.CommandStateOf(cmd::kFileSave).enabled);
    c.frame.RouteCommand(cmd::kMeasureStop);
    QVERIFY(!view.Session().Measuring());
    QVERIFY(c.frame.CommandStateOf(cmd::kFileSave).enabled);
    QString path = QString::fromStdString(m_dir.Path() + "/missing/run.psh");
    view.SetSavePathChooser([&path](QWidget*, const SavePathRequest& request) {
      return request.suffix == QStringLiteral("psh") ? path : QString();
    });
    c.boxes.boxes.clear();
    c.frame.RouteCommand(cmd::kFileSave);
    QCOMPARE(c.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(c.boxes.boxes[0].text, strings::GetString("S_MEASUREVIEW_ONFILESAVE"));
    QCOMPARE(c.boxes.boxes[0].type, mb::kIconError | mb::kOk);
    QVERIFY(view.Session().Unsaved());
    path = QString::fromStdString(m_dir.Path() + "/run.psh");
    c.frame.RouteCommand(cmd::kFileSave);
    QCOMPARE(c.boxes.boxes.size(), std::size_t{1});
    QVERIFY(!view.Session().Unsaved());
    HistoryDocument saved;
    QVERIFY(saved.Load(path.toStdString()));
    QVERIFY(!c.frame.CommandStateOf(cmd::kFileSave).enabled);

    // The measurement window's keys reach it: Ctrl+R asks before it resets,
    // Ctrl+T opens the settings.
    c.frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&c.frame));
    c.boxes.QueueAnswer(mb::kIdYes);
    QTest::keyClick(&c.frame, Qt::Key_R, Qt::ControlModifier);
    QTRY_COMPARE(settings.Count(kAvg), 0);
    QCOMPARE(c.boxes.boxes.back().text, strings::GetString("S_MEASUREVIEW_ONMEASURERESET"));
    QCOMPARE(c.boxes.boxes.back().type & mb::kButtonMask, mb::kYesNo);
    // The limit check switched on in the dialog shows the limits at once.
    const auto limitShown = [&view] {
      return !view.Panel(0).Geometry().items[panel_item::kLowLimit].rect.IsEmpty() &&
             !view.Panel(0).ItemText(panel_item::kLowLimit).empty();
    };
    QCOMPARE(view.Panel(0).Quantity(), kPeak);
    QVERIFY(!limitShown());
    c.edit = [](MeasurementSettings& s) { s.SetLimitCheck(kPeak, true); };
    QTest::keyClick(&c.frame, Qt::Key_T, Qt::ControlModifier);
    QTRY_COMPARE(c.pages.size(), std::size_t{2});
    QVERIFY(limitShown());

    // Closing while measuring stops and unregisters; readings still on the
    // way are dropped with the window.
    // Starting over an unsaved run offers to save it first.
    c.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(settings.Count(kAvg) > 0);
    c.frame.RouteCommand(cmd::kMeasureStop);
    path = QString::fromStdString(m_dir.Path() + "/run2.psh");
    c.boxes.QueueAnswer(mb::kIdYes);
    c.frame.RouteCommand(cmd::kMeasureStart);
    QCOMPARE(c.boxes.boxes.back().text, strings::GetString("S_MEASUREVIEW_ONMEASURESTART"));
    QVERIFY(saved.Load(path.toStdString()));
    QVERIFY(view.Session().Measuring());
    QTRY_VERIFY(settings.Count(kAvg) > 0);
    // The run is unsaved: closing asks, and no drops it.
    QPointer<CMeasurementFrame> gone(window);
    c.boxes.QueueAnswer(mb::kIdNo);
    c.frame.RouteCommand(cmd::kFileClose);
    QCOMPARE(c.boxes.boxes.back().text, strings::GetString("S_MEASUREVIEW_ONCLOSEUNSAVED"));
    QTRY_VERIFY(gone.isNull());
    QVERIFY(handle->Revoked());
    QVERIFY(!SensorLink::Instance().BusyFlag());
    const int stored = settings.Count(kAvg);
    QTest::qWait(150);
    QCOMPARE(settings.Count(kAvg), stored);
  }

  void ADownloadAsksBeforeItReplacesALiveRun() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--noise", "0"});
    QCOMPARE(sim.WaitForPort(), -1);
    Connected c(m_dir.Path());
    MeasurementSettings& settings = c.frame.Settings();
    // The command reads the logging status first, then shows the dialog.
    int dialogs = 0;
    c.frame.SetLoggingDialog([&dialogs](QWidget*, MeasurementSettings&) { ++dialogs; });
    c.frame.RouteCommand(cmd::kModeAvgPeak);
    auto* window = qobject_cast<CMeasurementFrame*>(c.frame.ActiveChild());
    QVERIFY(window);
    ModeSession& session = window->View().Session();
    c.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(settings.Count(kAvg) >= 3);
    c.frame.RouteCommand(cmd::kDownloadLogging);
    QCOMPARE(dialogs, 1);

    DownloadHooks hooks = FrameDownloadHooks(c.frame);
    c.boxes.boxes.clear();
    c.boxes.QueueAnswer(mb::kIdCancel);
    QVERIFY(!hooks.releaseRun());
    QCOMPARE(c.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(c.boxes.boxes[0].text, strings::GetString("S_SETTING_WARNING_DN_UNSAVED"));
    QCOMPARE(c.boxes.boxes[0].type, mb::kIconQuestion | mb::kYesNoCancel);
    QVERIFY(session.Measuring());

    c.boxes.QueueAnswer(mb::kIdNo);
    QVERIFY(hooks.releaseRun());
    QVERIFY(!session.Measuring());
    const int kept = settings.Count(kAvg);
    QTest::qWait(100);
    QCOMPARE(settings.Count(kAvg), kept);  // no reading runs on into the log
    hooks.historiesReplaced();
    QVERIFY(!session.HasUnsavedRun());
    QVERIFY(!c.frame.CommandStateOf(cmd::kFileSave).enabled);
  }

  // At full rate every answered request is stored, and stored before the
  // next request goes out, while the panels' paints wait for the frames.
  void EveryAnswerIsStoredWhilePaintsWaitForFrames() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--forward", "40", "--vswr",
                                "1.5", "--noise", "0.3"});
    QCOMPARE(sim.WaitForPort(), -1);
    test::RecordingBeeper beeper;
    Connected c(m_dir.Path());
    MeasurementSettings& settings = c.frame.Settings();
    c.frame.RouteCommand(cmd::kModeAvgPeak);
    auto* window = qobject_cast<CMeasurementFrame*>(c.frame.ActiveChild());
    QVERIFY(window);
    CModeView& view = window->View();
    QTRY_COMPARE(c.pages.size(), std::size_t{1});
    // Every AVG reading is out of limit: one beep each.
    settings.SetLimits(kAvg, 0, 10);
    c.frame.RouteCommand(cmd::kLimitCheckEnable);
    c.frame.RouteCommand(cmd::kAlarmOn);
    c.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c.frame));

    AnswerCounter counter(view);
    PaintCounter paints(view.Panel(0));
    // Sampled on the window's thread: with no request in flight, every
    // answer is already stored (none waits for a frame).
    int samples = 0;
    bool behind = false;
    QTimer sampler;
    sampler.setInterval(1);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
      if (SensorLink::Instance().BusyFlag()) return;
      ++samples;
      if (settings.Count(kAvg) != counter.averages || settings.Count(kPeak) != counter.peaks) behind = true;
    });
    sampler.start();
    c.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY_WITH_TIMEOUT(counter.peaks >= 60, 20000);
    c.frame.RouteCommand(cmd::kMeasureStop);
    QTRY_VERIFY(!SensorLink::Instance().BusyFlag());
    QCoreApplication::processEvents();
    sampler.stop();

    QVERIFY(samples > 0);
    QVERIFY(!behind);
    QCOMPARE(settings.Count(kAvg), int(counter.averages));
    QCOMPARE(settings.Count(kRev), int(counter.averages));
    QCOMPARE(settings.Count(kVswr), int(counter.averages));
    QCOMPARE(settings.Count(kPeak), int(counter.peaks));
    QCOMPARE(int(beeper.Beeps().size()), settings.Count(kAvg));
    // The main panel shows the newest AVG reading; it was painted, but not
    // more often than readings came.
    QTRY_VERIFY(!view.Pacer().Pending());
    QCOMPARE(NumberIn(view.Panel(0).ItemText(panel_item::kValue)),
             std::round(settings.LastReading(kAvg) * 100.0) / 100.0);
    QVERIFY(paints.count > 0);
    QVERIFY2(paints.count <= settings.Count(kAvg) + 2, qPrintable(QString::number(paints.count)));
    counter.Release();
  }

  void DeliveriesHopToTheWindowAndDieWithIt() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    auto view = std::make_unique<CMeasurementView>(settings, SensorLink::Instance(), nullptr);
    view->Reinitialise();
    const std::shared_ptr<DeliveryHandle> handle = view->Addressee();
    const auto deliverFromWorker = [&handle](std::int32_t power) {
      SensorLink::Instance().SetBusyFlag(true);
      std::thread worker([&handle, power] { handle->Deliver(test::AverageReading(1, power)); });
      worker.join();
    };
    // The worker only queues the reading; the window's thread stores it.
    deliverFromWorker(1234);
    QCOMPARE(settings.Count(kAvg), 0);
    QTRY_COMPARE(settings.Count(kAvg), 1);
    QCOMPARE(settings.LastReading(kAvg), 12.34f);
    QVERIFY(!SensorLink::Instance().BusyFlag());
    // A reading still queued when the window goes is dropped with it.
    deliverFromWorker(2000);
    view.reset();
    QVERIFY(handle->Revoked());
    QCoreApplication::processEvents();
    QCOMPARE(settings.Count(kAvg), 1);
    SensorLink::Instance().SetBusyFlag(false);
  }

  void PulseWindowShowsDutyCycleAndBurstWidth() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--pulse-power", "30",
                                "--pulse-duty", "25", "--pulse-width", "577", "--noise", "0"});
    QCOMPARE(sim.WaitForPort(), -1);
    Connected c(m_dir.Path());
    MeasurementSettings& settings = c.frame.Settings();

    c.frame.RouteCommand(cmd::kModePulse);
    auto* window = qobject_cast<CPulsePowerFrame*>(c.frame.ActiveChild());
    QVERIFY(window);
    CModeView& view = window->View();
    const std::shared_ptr<DeliveryHandle> handle = view.Addressee();
    QTRY_COMPARE(c.pages.size(), std::size_t{1});
    QCOMPARE(c.pages[0], 2);
    // The pulse window always shows its graph.
    QVERIFY(!view.Graph().isHidden());
    QCOMPARE(view.Panel(0).Quantity(), kPulse);

    c.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(settings.Count(kPulse) >= 3);
    QCOMPARE(settings.LastReading(kPulse), 30.0f);
    const std::string duty = view.Panel(0).ItemText(panel_item::kDutyCycle);
    const std::string burst = view.Panel(0).ItemText(panel_item::kBurstWidth);
    QVERIFY2(QString::fromStdString(duty).startsWith(QStringLiteral("Duty Cycle [A] ")), duty.c_str());
    QVERIFY2(std::abs(NumberIn(duty) - 25.0) < 0.5, duty.c_str());
    QVERIFY2(QString::fromStdString(burst).startsWith(QStringLiteral("Burst Width ")), burst.c_str());
    QVERIFY2(std::abs(NumberIn(burst) - 577.0) < 6.0, burst.c_str());
    QTRY_VERIFY(!view.Graph().Feeder().Points().empty());

    // Choosing AVG & Peak stops and closes the pulse window.
    QPointer<CPulsePowerFrame> gone(window);
    c.boxes.QueueAnswer(mb::kIdNo);
    c.frame.RouteCommand(cmd::kModeAvgPeak);
    QVERIFY(gone.isNull());
    QVERIFY(handle->Revoked());
    auto* next = qobject_cast<CMeasurementFrame*>(c.frame.ActiveChild());
    QVERIFY(next && next->View().Registered() && !next->View().Addressee()->Revoked());
    QCOMPARE(c.frame.ActiveChild()->Kind(), LiveWindowKind::Measurement);
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::ModeWindowTest)
#include "ModeWindowTest.moc"
