#include "ui/shell/CMainFrame.h"

#include "SimSensorProcess.h"
#include "TestChildren.h"
#include "core/device/SensorLink.h"
#include "core/history/HistoryFile.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CModeView.h"
#include "ui/shell/FrameToolBars.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace wattrix {

namespace {

// Whether the button of command `id` on `bar` is enabled; the bar must
// have that button.
bool ButtonEnabled(CMainFrame& frame, FrameToolBars::Bar bar, int id) {
  for (QAction* action : frame.ToolBars().ToolBar(bar)->actions())
    if (!action->isSeparator() && action->data().toInt() == id) return action->isEnabled();
  qFatal("no button %d", id);
}

// The events already posted are handled, and no more: a refresh that
// waited for a timer would not have run yet.
void HandlePostedEvents() { QCoreApplication::processEvents(); }

}  // namespace

// The tool buttons take their states from the events that change them;
// nothing polls.
class ToolBarStatesTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void cleanup() { SensorLink::Instance().Disconnect(); }

  // Registered window classes and the active child.
  void ButtonsFollowRegistrationsAndChildren() {
    using Bar = FrameToolBars::Bar;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    HandlePostedEvents();
    QVERIFY(!ButtonEnabled(frame, Bar::Main, cmd::kFileOpen));
    QVERIFY(ButtonEnabled(frame, Bar::Main, cmd::kConnectDevice));
    QVERIFY(!ButtonEnabled(frame, Bar::Main, cmd::kDisconnectDevice));
    test::RegisterTestChildren(frame, log, {ChildKind::History});
    HandlePostedEvents();
    QVERIFY(ButtonEnabled(frame, Bar::Main, cmd::kFileOpen));

    const std::string path = m_dir.Path() + "/run.psh";
    MeasurementSettings settings;
    settings.AddReading(kAvg, 40.0f);
    QVERIFY(WriteHistoryFile(path, settings, mask::kAvg, "run"));
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    HandlePostedEvents();
    for (int id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kFileClose, cmd::kFileOpen})
      QVERIFY2(ButtonEnabled(frame, Bar::History, id), qPrintable(QString::number(id)));
    QVERIFY(!ButtonEnabled(frame, Bar::History, cmd::kModeAvgPeak));
  }

  // Connect, a single measurement that ends with a reading, a lost line.
  void ButtonsFollowTheSensor() {
    using Bar = FrameToolBars::Bar;
    auto sim = std::make_unique<test::SimSensorProcess>(
        QStringList{"--model", "PX420B", "--transport", "usb-vista", "--noise", "0"});
    QCOMPARE(sim->WaitForPort(), -1);
    test::RecordingMessageBoxes boxes;
    CMainFrame frame;
    frame.Settings().SetSettingsDirectory(m_dir.Path());
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([](QWidget*, MeasurementSettings&, int, int) { return true; });
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    QVERIFY(frame.IsConnected());
    HandlePostedEvents();
    QVERIFY(!ButtonEnabled(frame, Bar::Main, cmd::kConnectDevice));
    QVERIFY(ButtonEnabled(frame, Bar::Main, cmd::kDisconnectDevice));
    QVERIFY(ButtonEnabled(frame, Bar::Main, cmd::kModeAvgPeak));
    QVERIFY(!ButtonEnabled(frame, Bar::Main, cmd::kModeAvg));

    frame.RouteCommand(cmd::kModeAvgPeak);
    auto* window = qobject_cast<CMeasurementFrame*>(frame.ChildOfKind(LiveWindowKind::Measurement));
    QVERIFY(window);
    HandlePostedEvents();
    QVERIFY(ButtonEnabled(frame, Bar::Measurement, cmd::kMeasureStart));
    QVERIFY(!ButtonEnabled(frame, Bar::Measurement, cmd::kFileSave));

    // Save is offered once the single measurement has its reading.
    frame.Settings().SetSingleSweep(true);
    frame.RouteCommand(cmd::kMeasureStart);
    QVERIFY(window->View().Session().Measuring());
    QVERIFY(!ButtonEnabled(frame, Bar::Measurement, cmd::kFileSave));
    QTRY_VERIFY(!window->View().Session().Measuring());
    HandlePostedEvents();
    QVERIFY(ButtonEnabled(frame, Bar::Measurement, cmd::kFileSave));

    // The sensor goes while the window measures: Connect is offered again,
    // the live commands are not.
    frame.Settings().SetSingleSweep(false);
    boxes.QueueAnswer(mb::kIdNo);  // the single run is not saved first
    frame.RouteCommand(cmd::kMeasureStart);
    QVERIFY(window->View().Session().Measuring());
    sim.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!frame.IsConnected(), 10000);
    HandlePostedEvents();
    QVERIFY(ButtonEnabled(frame, Bar::Measurement, cmd::kConnectDevice));
    for (int id : {cmd::kDisconnectDevice, cmd::kMeasureStart, cmd::kMeasureReset, cmd::kModeAvgPeak,
                   cmd::kDeviceSetting})
      QVERIFY2(!ButtonEnabled(frame, Bar::Measurement, id), qPrintable(QString::number(id)));
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::ToolBarStatesTest)
#include "ToolBarStatesTest.moc"
