#include "ui/shell/CMainFrame.h"

#include "SimSensorProcess.h"
#include "TestChildren.h"
#include "core/device/SensorLink.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/SensorModel.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/shell/CConnectDlg.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include <memory>

namespace wattrix {

namespace {

std::vector<int> EnabledModes(CMainFrame& frame) {
  std::vector<int> enabled;
  for (int id : {cmd::kModeAvgPeak, cmd::kModeAvg, cmd::kModePeak, cmd::kModePulse, cmd::kModeCcdf,
                 cmd::kDownloadLogging})
    if (frame.CommandStateOf(id).enabled) enabled.push_back(id);
  return enabled;
}

}  // namespace

// Connect, mode switching, settings routing and disconnect against the
// simulated sensor, reached over the USB stand-in and a pseudo-terminal.
class SensorFlowsTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void cleanup() { SensorLink::Instance().Disconnect(); }

  void Px420bOverUsb() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim.WaitForPort(), -1);
    test::RecordingMessageBoxes boxes;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    frame.Settings().SetSettingsDirectory(m_dir.Path());
    test::RegisterTestChildren(
        frame, log,
        {LiveWindowKind::Measurement, LiveWindowKind::Pulse, LiveWindowKind::Ccdf, ChildKind::History});
    struct Opened {
      int page = -1;
      int subPage = -1;
    };
    auto opened = std::make_shared<std::vector<Opened>>();
    frame.SetSettingsDialog([opened](QWidget*, MeasurementSettings&, int page, int subPage) {
      opened->push_back({page, subPage});
      return false;
    });
    frame.SetLoggingDialog([](QWidget*, MeasurementSettings&) {});

    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_IDD_CONNECTED"));
    QCOMPARE(boxes.boxes[0].type, mb::kIconInformation | mb::kOk);
    QCOMPARE(frame.Settings().ModelCode(), model::kPX420B);
    QVERIFY(!frame.Settings().SerialNumber().empty());
    QCOMPARE(frame.ConnectionText(), QStringLiteral("USB"));
    QVERIFY(frame.StatusText(0).contains(QStringLiteral("PX420B")));
    QVERIFY(!frame.CommandStateOf(cmd::kConnectDevice).enabled);
    QVERIFY(frame.CommandStateOf(cmd::kDisconnectDevice).enabled);
    QVERIFY(frame.CommandStateOf(cmd::kDeviceSetting).enabled);
    QCOMPARE(EnabledModes(frame),
             (std::vector<int>{cmd::kModeAvgPeak, cmd::kModePulse, cmd::kModeCcdf, cmd::kDownloadLogging}));

    // AVG & Peak, then Pulse: the measurement window stops and closes.
    frame.RouteCommand(cmd::kModeAvgPeak);
    QCOMPARE(frame.ActiveChild()->Kind(), LiveWindowKind::Measurement);
    QCOMPARE(frame.ActiveChild()->windowTitle(), QStringLiteral("USB, PX420B - Power"));
    QVERIFY(log->Saw(LiveWindowKind::Measurement, "prepare 5"));
    QCOMPARE(frame.ShownMenu(), menu::MenuKind::Measurement);
    frame.RouteCommand(cmd::kDeviceSetting);
    frame.RouteCommand(cmd::kModePulse);
    QVERIFY(log->Saw(LiveWindowKind::Measurement, "command 32808"));
    QVERIFY(log->Saw(LiveWindowKind::Measurement, "destroyed"));
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.ActiveChild()->Kind(), LiveWindowKind::Pulse);
    QCOMPARE(frame.CurrentMode(), LiveWindowKind::Pulse);
    frame.RouteCommand(cmd::kDeviceSetting);

    // The mode whose window is there only brings it up.
    frame.RouteCommand(cmd::kModePulse);
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
    QVERIFY(!log->Saw(LiveWindowKind::Pulse, "destroyed"));

    // A history window opened meanwhile leaves the pulse window running;
    // a mode chosen from it closes the history window only.
    const std::string path = m_dir.Path() + "/run.psh";
    {
      MeasurementSettings settings;
      settings.AddReading(kAvg, 41.0f);
      QVERIFY(WriteHistoryFile(path, settings, QuantityMask{0x01}, "run"));
    }
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
    QVERIFY(!log->Saw(LiveWindowKind::Pulse, "command 32808"));
    frame.RouteCommand(cmd::kModeCcdf);
    QVERIFY(log->Saw(ChildKind::History, "destroyed"));
    QVERIFY(!log->Saw(LiveWindowKind::Pulse, "destroyed"));
    QCOMPARE(frame.ActiveChild()->Kind(), LiveWindowKind::Ccdf);
    // The CCDF window opens its settings at once.
    QTRY_COMPARE(opened->size(), std::size_t{3});
    QCOMPARE(opened->at(0).page, 0);
    QCOMPARE(opened->at(0).subPage, 0);
    QCOMPARE(opened->at(1).page, 2);
    QCOMPARE(opened->at(2).page, 1);

    boxes.boxes.clear();
    frame.RouteCommand(cmd::kDisconnectDevice);
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_IDD_DISCONNECTED"));
    QCOMPARE(boxes.boxes[0].type, mb::kIconInformation | mb::kOk);
    QVERIFY(EnabledModes(frame).empty());
    QVERIFY(frame.CommandStateOf(cmd::kConnectDevice).enabled);
    QVERIFY(frame.StatusText(0).isEmpty());
  }

  void Px430aOverSerialAndAFailedConnect() {
    test::SimSensorProcess sim({"--model", "PX430A", "--transport", "serial", "--com", "12"});
    QCOMPARE(sim.WaitForPort(), 12);
    test::RecordingMessageBoxes boxes;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    frame.Settings().SetSettingsDirectory(m_dir.Path());
    test::RegisterTestChildren(frame, log,
                               {LiveWindowKind::Measurement, LiveWindowKind::Pulse, LiveWindowKind::Ccdf});
    frame.SetLoggingDialog([](QWidget*, MeasurementSettings&) {});

    // The enumeration lists the simulated port.
    const auto ports = CConnectDlg::EnumeratePorts();
    QVERIFY(std::any_of(ports.begin(), ports.end(), [](const auto& p) { return p.port == 12; }));

    test::AnswerConnectDialog(12);
    frame.RouteCommand(cmd::kConnectDevice);
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_IDD_CONNECTED"));
    QCOMPARE(frame.Settings().ModelCode(), model::kPX430A);
    QCOMPARE(frame.ConnectionText(), QStringLiteral("COM12"));
    QCOMPARE(EnabledModes(frame), std::vector<int>{cmd::kModeAvg});
    frame.RouteCommand(cmd::kModeAvg);
    QCOMPARE(frame.ActiveChild()->windowTitle(), QStringLiteral("COM12, PX430A - Power"));
    frame.RouteCommand(cmd::kDisconnectDevice);

    // No USB sensor: the error box, and still disconnected.
    boxes.boxes.clear();
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_MAINFRAME_ONDEVICECONNECT"));
    QCOMPARE(boxes.boxes[0].type, mb::kIconError | mb::kOk);
    QVERIFY(!frame.IsConnected());
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::SensorFlowsTest)
#include "SensorFlowsTest.moc"
