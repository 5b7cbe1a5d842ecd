#include "core/device/DeliveryHandle.h"
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/PanelLayout.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/SensorModel.h"
#include "support/Recorders.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/ccdf/CCcdfFrame.h"
#include "ui/ccdf/CCcdfGraphCtrl.h"
#include "ui/ccdf/CCcdfTextView.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CModeView.h"
#include "ui/platform/FramePacer.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/SimSensorProcess.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

namespace wattrix {

namespace {

std::string Str(const char* key) { return strings::GetString(key); }

// The main frame with the real window classes; the settings dialog only
// records its pages and answers OK after the test's edit.
class App {
 public:
  explicit App(const std::string& settingsDir) {
    frame.Settings().SetSettingsDirectory(settingsDir);
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([this](QWidget*, MeasurementSettings& settings, int page, int) {
      pages.push_back(page);
      if (edit) edit(settings);
      return true;
    });
  }
  ~App() { SensorLink::Instance().Disconnect(); }
  void Connect(int port) {
    test::AnswerConnectDialog(port);
    frame.RouteCommand(cmd::kConnectDevice);
  }
  CCcdfFrame* Ccdf() const { return qobject_cast<CCcdfFrame*>(frame.ChildOfKind(LiveWindowKind::Ccdf)); }

  test::RecordingMessageBoxes boxes;
  CMainFrame frame;
  std::vector<int> pages;
  std::function<void(MeasurementSettings&)> edit;
};

// The "name=value" lines of wattrix-cli's output.
std::map<std::string, double> CliValues(const std::string& output) {
  std::map<std::string, double> values;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos && line.rfind("point", 0) != 0)
      values[line.substr(0, eq)] = std::stod(line.substr(eq + 1));
  }
  return values;
}

// Stands in front of the CCDF window's addressee and counts the sweeps
// the acquisition thread hands on.
class SweepCounter final : public ReadingSink {
 public:
  explicit SweepCounter(CCcdfFrame& window) : m_window(&window), m_inner(window.Addressee()) {
    window.Session().SetAddressee(m_own);
  }
  ~SweepCounter() override { Release(); }
  // Gives the session its own addressee back.
  void Release() {
    if (!m_window) return;
    m_window->Session().SetAddressee(m_inner);
    m_own->Revoke();
    m_window = nullptr;
  }
  void OnReading(const Reading& reading) override {
    if (reading.Answered()) ++sweeps;
    m_inner->Deliver(reading);
  }
  std::atomic<int> sweeps{0};

 private:
  CCcdfFrame* m_window;
  std::shared_ptr<DeliveryHandle> m_inner;
  std::shared_ptr<DeliveryHandle> m_own = std::make_shared<DeliveryHandle>(*this);
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

// Every line of every panel lies inside its panel.
void VerifyNothingCut(const CCcdfFrame& frame) {
  for (int i = 0; i < kCcdfPanelCount; ++i) {
    const CCcdfTextView& panel = frame.Panel(static_cast<CcdfPanel>(i));
    const PanelFit& fit = panel.Fit();
    QVERIFY2(fit.fits,
             qPrintable(QStringLiteral("panel %1 at %2 x %3").arg(i).arg(panel.width()).arg(panel.height())));
    for (const auto& line : fit.lines) {
      QVERIFY(line.left + line.width <= panel.width());
      QVERIFY(line.top + line.height <= panel.height());
    }
  }
}

}  // namespace

// The CCDF window and the reused mode windows against the simulated sensor
// (wattrix-sim over the USB stand-in), driven through the main frame.
class CcdfSensorTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void cleanup() { SensorLink::Instance().Disconnect(); }

  void MeasuresAsTheCommandLineToolDoes() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--seed", "11"});
    QCOMPARE(sim.WaitForPort(), -1);
    App app(m_dir.Path());
    app.edit = [](MeasurementSettings& s) {
      s.SetCcdfRate(0);
      s.SetTechnology(2);
      s.SetSingleSweep(false);
    };
    app.Connect(-1);
    QVERIFY(app.frame.CommandStateOf(cmd::kModeCcdf).enabled);

    app.frame.RouteCommand(cmd::kModeCcdf);
    CCcdfFrame* window = app.Ccdf();
    QVERIFY(window);
    QCOMPARE(app.frame.ActiveChild(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("USB, PX420B - CCDF"));
    QVERIFY(window->Registered() && !window->Addressee()->Revoked());
    // The settings open on the CCDF page at once.
    QTRY_COMPARE(app.pages.size(), std::size_t{1});
    QCOMPARE(app.pages[0], 1);
    QCOMPARE(window->Panel(CcdfPanel::L2).Texts().at(3), Str("S_CCDF_FRAME_SAMPLE") + "0 / 100,000");
    QCOMPARE(window->Panel(CcdfPanel::L1).Texts().at(1), Str("S_CCDF_FRAME_MODEL") + "PX420B");
    QVERIFY(window->Panel(CcdfPanel::L2).Texts().at(5).starts_with(Str("S_CCDF_FRAME_TECH")));

    app.frame.RouteCommand(cmd::kMeasureStart);
    QVERIFY(window->Session().Running());
    QVERIFY(app.frame.CommandStateOf(cmd::kMeasureStart).checked);
    QVERIFY(!app.frame.CommandStateOf(cmd::kMeasureStop).checked);
    // The curve builds up while the moving window fills.
    QTRY_VERIFY_WITH_TIMEOUT(window->Session().SweepsProcessed() >= 3, 20000);
    QVERIFY(!window->Graph().Graph().MarkerText().empty());
    QTRY_VERIFY_WITH_TIMEOUT(window->Session().SweepsProcessed() >= 14, 30000);
    app.frame.RouteCommand(cmd::kMeasureStop);
    QVERIFY(!window->Session().Running());
    QVERIFY(app.frame.CommandStateOf(cmd::kMeasureStop).checked);
    QTest::qWait(600);  // the last request's answer is still processed
    const CcdfStatistics stats = window->Session().Statistics();
    QCOMPARE(window->Panel(CcdfPanel::L2).Texts().at(3), Str("S_CCDF_FRAME_SAMPLE") + "100,000 / 100,000");
    QCOMPARE(window->Panel(CcdfPanel::RB1).Texts().at(0),
             Str("S_CCDF_FRAME_AVG_PWR") +
                 QString::asprintf("%.2f", double(float(stats.AveragePower))).toStdString() + " dBm");

    // The marker follows a drag along the curve.
    CCcdfGraphCtrl& graph = window->Graph();
    graph.grab();  // painted: the marker box is known
    const PixelRect box = graph.Graph().MarkerBox();
    QVERIFY(box.width > 0);
    const std::string first = graph.Graph().MarkerText();
    // The first point is the curve's highest level, at its right end.
    const QPoint grip(box.left + 4, box.top + 4);
    QTest::mousePress(&graph, Qt::LeftButton, {}, grip);
    QVERIFY(graph.Dragging());
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(-60, 0)),
                     graph.mapToGlobal(QPointF(grip + QPoint(-60, 0))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&graph, &move);
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, grip + QPoint(-60, 0));
    QVERIFY(!graph.Dragging());
    QVERIFY(graph.Graph().MarkerIndex() > 0);
    QVERIFY(graph.Graph().MarkerText() != first);

    // A right click on a panel opens the measurement menu.
    QTest::mouseClick(&window->Panel(CcdfPanel::RB2), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(window->ContextMenu() && window->ContextMenu()->isVisible());
    window->ContextMenu()->hide();

    // Reset answered No keeps everything; Yes empties it.
    const auto curve = window->Session().Data().CcdfCurve();
    const auto texts = window->Panel(CcdfPanel::RB2).Texts();
    app.boxes.QueueAnswer(mb::kIdNo);
    app.frame.RouteCommand(cmd::kMeasureReset);
    QCOMPARE(app.boxes.boxes.back().text, Str("S_MEASUREVIEW_ONMEASURERESET"));
    QCOMPARE(app.boxes.boxes.back().type, mb::kIconQuestion | mb::kYesNo);
    QCOMPARE(window->Session().Data().StoredSweeps(), 10);
    QVERIFY(window->Session().Data().CcdfCurve() == curve);
    QCOMPARE(window->Session().Statistics().AveragePower, stats.AveragePower);
    QCOMPARE(window->Panel(CcdfPanel::RB2).Texts(), texts);
    QCOMPARE(graph.Graph().MarkerText().empty(), false);

    // The command-line tool on the same simulated signal finds the same
    // distribution within the noise of ten sweeps.
    app.frame.RouteCommand(cmd::kDisconnectDevice);
    test::SimProcess cli(HostPaths::ExecutableDir() + "/wattrix-cli",
                         {"ccdf", "--port", "-1", "--sweeps", "10", "--rate", "0", "--tech", "2"});
    const std::string output = cli.Output();
    QCOMPARE(cli.Wait(), 0);
    const auto values = CliValues(output);
    QVERIFY2(values.count("average_power"), output.c_str());
    QCOMPARE(values.at("samples"), double(stats.SampleTotal));
    QVERIFY(std::abs(values.at("average_power") - stats.AveragePower) < 0.2);
    QVERIFY(std::abs(values.at("crest_factor") - stats.CrestFactor) < 1.0);
    QVERIFY(std::abs(values.at("level_10") - stats.LevelAt[0]) < 0.3);
    QVERIFY(std::abs(values.at("level_1") - stats.LevelAt[1]) < 0.5);
    QVERIFY(std::abs(values.at("probability_4") - stats.ProbabilityAt[0]) < 2.0);
  }

  // At full rate every answered request is processed, and processed
  // before the next request goes out, while the paints wait for frames.
  void EverySweepIsProcessedWhilePaintsWaitForFrames() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim.WaitForPort(), -1);
    App app(m_dir.Path());
    app.edit = [](MeasurementSettings& s) {
      s.SetCcdfRate(0);
      s.SetSingleSweep(false);
    };
    app.Connect(-1);
    app.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.frame));
    app.frame.RouteCommand(cmd::kModeCcdf);
    CCcdfFrame* window = app.Ccdf();
    QVERIFY(window);
    QTRY_COMPARE(app.pages.size(), std::size_t{1});

    SweepCounter counter(*window);
    PaintCounter paints(window->Graph());
    // Sampled on the window's thread: with no request in flight, every
    // answer is already processed (none waits for a frame).
    int samples = 0;
    bool behind = false;
    QTimer sampler;
    sampler.setInterval(1);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
      if (SensorLink::Instance().BusyFlag()) return;
      ++samples;
      if (window->Session().SweepsProcessed() != counter.sweeps) behind = true;
    });
    app.frame.RouteCommand(cmd::kMeasureStart);
    sampler.start();
    QTRY_VERIFY_WITH_TIMEOUT(counter.sweeps >= 40, 30000);
    app.frame.RouteCommand(cmd::kMeasureStop);
    QTRY_VERIFY(!SensorLink::Instance().BusyFlag());
    QCoreApplication::processEvents();
    sampler.stop();

    QVERIFY(samples > 0);
    QVERIFY(!behind);
    QCOMPARE(window->Session().SweepsProcessed(), int(counter.sweeps));
    QCOMPARE(window->Session().Data().StoredSweeps(), 10);
    // The graph shows the last curve; it was painted, but not more often
    // than sweeps came.
    QTRY_VERIFY(!window->Pacer().Pending());
    QCOMPARE(window->Graph().Graph().DrawnPoints().empty(), window->Session().Data().CcdfCurve().empty());
    QVERIFY(paints.count > 0);
    QVERIFY2(paints.count <= counter.sweeps + 2, qPrintable(QString::number(paints.count)));
    counter.Release();
  }

  void NothingCutAtTheDefaultSizeAndAt800x600() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim.WaitForPort(), -1);
    App app(m_dir.Path());
    app.Connect(-1);
    app.frame.show();
    app.frame.RouteCommand(cmd::kModeCcdf);
    CCcdfFrame* window = app.Ccdf();
    QVERIFY(window);
    app.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY_WITH_TIMEOUT(window->Session().SweepsProcessed() >= 2, 20000);
    app.frame.RouteCommand(cmd::kMeasureStop);
    for (const QSize size : {QSize(1180, 780), QSize(800, 600)}) {
      app.frame.resize(size);
      QTRY_VERIFY(window->width() > size.width() - 40);
      QCoreApplication::processEvents();
      VerifyNothingCut(*window);
    }
  }

  void ModeWindowsFollowAReconnectToAnotherModel() {
    App app(m_dir.Path());
    app.edit = [](MeasurementSettings& s) { s.SetSingleSweep(false); };
    auto sim = std::make_unique<test::SimSensorProcess>(
        QStringList{"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim->WaitForPort(), -1);
    app.Connect(-1);
    app.frame.RouteCommand(cmd::kModeCcdf);
    QPointer<CCcdfFrame> window = app.Ccdf();
    QVERIFY(window);
    app.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY_WITH_TIMEOUT(window->Session().SweepsProcessed() >= 2, 20000);
    // Disconnect: the window stays, but not as a running measurement.
    app.frame.RouteCommand(cmd::kDisconnectDevice);
    QVERIFY(!window->Session().Running());
    QVERIFY(!app.frame.CommandStateOf(cmd::kMeasureStart).checked);
    QVERIFY(!app.frame.CommandStateOf(cmd::kMeasureStart).enabled);
    QVERIFY(window->Session().Data().StoredSweeps() > 0);

    sim = std::make_unique<test::SimSensorProcess>(
        QStringList{"--model", "PX470B", "--transport", "usb-vista"});
    QCOMPARE(sim->WaitForPort(), -1);
    app.Connect(-1);
    QCOMPARE(app.frame.Settings().ModelCode(), model::kPX470B);
    const std::size_t pagesBefore = app.pages.size();
    app.frame.RouteCommand(cmd::kModeCcdf);
    // The same window, set up for the PX470B: title, panels, empty data,
    // its settings opened again.
    QCOMPARE(app.Ccdf(), window.data());
    QCOMPARE(app.frame.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("USB, PX470B - CCDF"));
    QCOMPARE(window->Session().Data().StoredSweeps(), 0);
    QVERIFY(window->Session().Data().CcdfCurve().empty());
    QCOMPARE(window->Panel(CcdfPanel::L1).Texts().at(1), Str("S_CCDF_FRAME_MODEL") + "PX470B");
    QCOMPARE(window->Panel(CcdfPanel::L2).Texts().at(5), std::string());
    QTRY_COMPARE(app.pages.size(), pagesBefore + 1);
    QCOMPARE(app.pages.back(), 1);
    QVERIFY(app.frame.CommandStateOf(cmd::kMeasureStart).enabled);

    // The PX470B (DeviceCode 14) reports its average 35 dB high; the crest
    // factor is shown as computed.
    app.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY_WITH_TIMEOUT(window->Session().SweepsProcessed() >= 2, 20000);
    app.frame.RouteCommand(cmd::kMeasureStop);
    QTest::qWait(600);
    const CcdfStatistics& s = window->Session().Statistics();
    QCOMPARE(window->Panel(CcdfPanel::RB1).Texts().at(0),
             Str("S_CCDF_FRAME_AVG_PWR") +
                 QString::asprintf("%.2f", double(float(s.AveragePower - 35))).toStdString() + " dBm");
    QCOMPARE(window->Panel(CcdfPanel::RB1).Texts().at(1),
             Str("S_CCDF_FRAME_CREST") +
                 QString::asprintf("%.2f", double(float(s.CrestFactor))).toStdString() + " dB");

    // The measurement window in turn: it replaces the CCDF window, measures,
    // and after a reconnect to the PX420B is set up for it.
    app.frame.RouteCommand(cmd::kModeAvgPeak);
    QVERIFY(window.isNull());
    QPointer<CMeasurementFrame> live = qobject_cast<CMeasurementFrame*>(app.frame.ActiveChild());
    QVERIFY(live);
    QCOMPARE(live->windowTitle(), QStringLiteral("USB, PX470B - Power"));
    QVERIFY(QString::fromStdString(live->View().Panel(3).ItemText(panel_item::kQuantityName))
                .contains(QStringLiteral("PAR")));
    app.frame.RouteCommand(cmd::kMeasureStart);
    QTRY_VERIFY(app.frame.Settings().Count(kAvg) > 0);
    app.frame.RouteCommand(cmd::kDisconnectDevice);
    QVERIFY(!live->View().Session().Measuring());
    QVERIFY(!app.frame.CommandStateOf(cmd::kMeasureStart).checked);

    sim = std::make_unique<test::SimSensorProcess>(
        QStringList{"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim->WaitForPort(), -1);
    app.Connect(-1);
    const std::size_t pagesThen = app.pages.size();
    app.frame.RouteCommand(cmd::kModeAvgPeak);
    QCOMPARE(app.frame.ActiveChild(), live.data());
    QCOMPARE(live->windowTitle(), QStringLiteral("USB, PX420B - Power"));
    QVERIFY(QString::fromStdString(live->View().Panel(3).ItemText(panel_item::kQuantityName))
                .contains(QStringLiteral("VSWR")));
    QTRY_COMPARE(app.pages.size(), pagesThen + 1);
    QCOMPARE(app.pages.back(), 0);
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::CcdfSensorTest)
#include "CcdfSensorTest.moc"
