#include "core/device/LogTransfer.h"
#include "core/device/SensorLink.h"
#include "core/history/HistoryFile.h"
#include "core/history/HistoryHeader.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"
#include "support/TempDir.h"
#include "ui/settings/CDownloadDlg.h"
#include "ui/settings/CSettingDlg.h"
#include "ui/settings/CSettingDlg_Logging.h"
#include "ui/settings/DownloadActions.h"
#include "ui/settings/SensorLinkDownloadActions.h"
#include "ui/settings/SensorLinkLoggingActions.h"
#include "ui/settings/SettingsTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace wattrix {

using logging_download::FetchOutcome;
using test::Child;

namespace {

std::vector<std::uint16_t> Ramp(int n, int start = 4000) {
  std::vector<std::uint16_t> out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint16_t>(start + i));
  return out;
}

// Stands in for the sensor: a status, a scripted fetch and clear, and
// where they ran.
class FakeDownload final : public DownloadActions {
 public:
  int LoggingStatus(int index) const override { return status.at(static_cast<std::size_t>(index)); }
  FetchOutcome Fetch(std::vector<std::uint16_t>& values, LogTransferControl& control) override {
    ++fetches;
    fetchThread = std::this_thread::get_id();
    if (waitForCancel) {
      // A slow line: a part arrives, then the rest never does.
      control.Begin(2560, nullptr);
      control.Advance(1024);
      while (!control.Cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      control.End();
      return FetchOutcome::Cancelled;
    }
    if (outcome == FetchOutcome::Fetched) values = logged;
    return outcome;
  }
  bool ClearMemory() override {
    clearThread = std::this_thread::get_id();
    if (cleared) status[6] = 0;
    return cleared;
  }

  std::array<int, 11> status{0x05, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0};
  std::vector<std::uint16_t> logged = Ramp(6);
  FetchOutcome outcome = FetchOutcome::Fetched;
  bool waitForCancel = false;
  bool cleared = true;
  int fetches = 0;
  std::thread::id fetchThread;
  std::thread::id clearThread;
};

std::vector<float> Readings(MeasurementSettings& settings, Quantity q) {
  int count = 0;
  const float* data = settings.GetReadings(q, count);
  return std::vector<float>(data, data + count);
}

}  // namespace

// The download dialog: its states from the sensor's logging status, the
// three buttons with their boxes, the unsaved-run hand-over, cancel, and
// the whole journey against the simulated PX420B.
class DownloadDlgTest final : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    std::unique_ptr<MeasurementSettings> settings = test::SettingsFor(model::kPX420B);
    FakeDownload sensor;
    test::RecordingMessageBoxes boxes;
    test::TempDir dir;
    std::vector<std::string> calls;
    QString chosenPath;
    std::vector<QString> opened;
    bool releases = true;

    std::unique_ptr<CDownloadDlg> Make() {
      DownloadHooks hooks;
      hooks.releaseRun = [this] {
        calls.push_back("release");
        return releases;
      };
      hooks.historiesReplaced = [this] { calls.push_back("replaced"); };
      hooks.openHistory = [this](const QString& path) {
        opened.push_back(path);
        return true;
      };
      auto dialog = std::make_unique<CDownloadDlg>(*settings, sensor, std::move(hooks));
      dialog->SetSavePathChooser([this](QWidget*, const SavePathRequest& request) {
        calls.push_back("choose " + request.suffix.toStdString());
        return chosenPath;
      });
      dialog->SetTemporaryFolder(QString::fromStdString(dir.Path()));
      return dialog;
    }
    std::string LastKey() const { return test::LastBoxText(boxes); }
  };

  static std::string Text(const char* key) { return strings::GetString(key); }

 private Q_SLOTS:
  void initTestCase() { test::UseShippedStringTable(); }

  void StatesFollowTheLoggingStatus() {
    Fixture f;
    struct Case {
      std::array<int, 3> status;  // items, logging, stored
      std::array<bool, 4> checked;
      bool downloads;
    };
    const Case cases[] = {
        {{0x05, 0, 6}, {true, false, true, false}, true},
        {{0x0F, 1, 500}, {true, true, true, true}, false},   // still logging
        {{0x02, 0, 0}, {false, true, false, false}, false},  // nothing logged
        {{0x30, 0, 1}, {false, false, false, false}, true},  // unknown bits
    };
    for (const auto& c : cases) {
      f.sensor.status[0] = c.status[0];
      f.sensor.status[1] = c.status[1];
      f.sensor.status[6] = c.status[2];
      auto dialog = f.Make();
      for (int bit = 0; bit < 4; ++bit) {
        QCOMPARE(dialog->ItemCheck(bit)->isChecked(), c.checked[static_cast<std::size_t>(bit)]);
        QVERIFY(!dialog->ItemCheck(bit)->isEnabled());
      }
      QCOMPARE(dialog->LoadButton()->isEnabled(), c.downloads);
      QCOMPARE(dialog->SaveButton()->isEnabled(), c.downloads);
      QVERIFY(dialog->ResetButton()->isEnabled());
    }
    auto dialog = f.Make();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Download Logging Data"));
    QCOMPARE(dialog->SaveButton()->text(), QStringLiteral("Save to &File..."));
    QCOMPARE(Child<QLabel>(dialog.get(), "modelText")->text(), QStringLiteral("PX420B"));
    QCOMPARE(dialog->TitleEdit()->maxLength(), 30);
  }

  void SaveToFileReplacesTheRunThenWritesTheLog() {
    Fixture f;
    f.settings->AddReading(kAvg, 1.0f);
    auto dialog = f.Make();
    dialog->TitleEdit()->setText(QStringLiteral("Mast 3"));
    f.chosenPath = QString::fromStdString(f.dir.File("log.psh"));
    dialog->SaveButton()->click();
    QCOMPARE(f.calls, (std::vector<std::string>{"release", "replaced", "choose psh"}));
    QVERIFY(f.sensor.fetchThread != std::this_thread::get_id());
    QVERIFY(f.boxes.boxes.empty());
    QCOMPARE(Readings(*f.settings, kAvg), (std::vector<float>{40.0f, 40.02f, 40.04f}));
    QCOMPARE(Readings(*f.settings, kRev), (std::vector<float>{40.01f, 40.03f, 40.05f}));
    HistoryHeader header;
    std::vector<std::int32_t> points;
    std::size_t count = 0;
    QVERIFY(ReadHistoryFile(f.dir.File("log.psh"), header, points, count));
    QCOMPARE(header.Mask().Bits(), 0x05);
    QCOMPARE(count, std::size_t{3});
    QCOMPARE(header.Title(), std::string("Mast 3"));

    // The file dialog cancelled: nothing written, nothing said.
    f.chosenPath.clear();
    dialog->OnSaveFile();
    QVERIFY(f.boxes.boxes.empty());
    // A folder that is not there: the write failure is an error box.
    f.chosenPath = QString::fromStdString(f.dir.File("none/log.psh"));
    dialog->OnSaveFile();
    QCOMPARE(f.LastKey(), Text("S_MEASUREVIEW_ONFILESAVE"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconError | mb::kOk);
  }

  void AFetchThatGetsNoWholeLogChangesNothing() {
    Fixture f;
    f.settings->AddReading(kAvg, 1.0f);
    auto dialog = f.Make();
    // Nothing logged: nothing asked of the sensor or of the windows.
    f.sensor.status[6] = 0;
    dialog->OnSaveFile();
    dialog->OnLoadScreen();
    QCOMPARE(f.boxes.boxes.size(), std::size_t{2});
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_DN_0_FAIL"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconWarning | mb::kOk);
    QCOMPARE(f.sensor.fetches, 0);
    QVERIFY(f.calls.empty());

    // The live window keeps its run: no fetch, no box.
    f.sensor.status[6] = 6;
    f.releases = false;
    dialog->OnSaveFile();
    QCOMPARE(f.sensor.fetches, 0);
    QCOMPARE(f.boxes.boxes.size(), std::size_t{2});

    // A failed transfer: its warning, and the run is still there.
    f.releases = true;
    f.sensor.outcome = FetchOutcome::Failed;
    dialog->OnLoadScreen();
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_DN_FAIL"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconWarning | mb::kOk);
    QCOMPARE(Readings(*f.settings, kAvg), (std::vector<float>{1.0f}));
    QVERIFY(f.opened.empty());
    QCOMPARE(f.calls, (std::vector<std::string>{"release", "release"}));
  }

  void CancelInTheProgressBoxStoresNothing() {
    Fixture f;
    f.settings->AddReading(kAvg, 1.0f);
    f.sensor.waitForCancel = true;
    auto dialog = f.Make();
    int shownValue = -1;
    int shownMaximum = -1;
    QTimer watcher;
    watcher.setInterval(20);
    connect(&watcher, &QTimer::timeout, this, [&] {
      auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
      if (!progress || progress->objectName() != QStringLiteral("transferProgress")) return;
      if (progress->value() != 1024) return;  // until the first poll showed the bytes
      shownValue = progress->value();
      shownMaximum = progress->maximum();
      watcher.stop();
      Child<QPushButton>(progress, "cancelButton")->click();
    });
    watcher.start();
    dialog->OnSaveFile();
    QCOMPARE(shownValue, 1024);
    QCOMPARE(shownMaximum, 2560);
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_DN_CANCEL"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconWarning | mb::kOk);
    QCOMPARE(Readings(*f.settings, kAvg), (std::vector<float>{1.0f}));
    QCOMPARE(f.calls, (std::vector<std::string>{"release"}));  // no file asked for
  }

  void ShowInWindowOpensATemporaryHistoryFile() {
    Fixture f;
    auto dialog = f.Make();
    dialog->TitleEdit()->setText(QStringLiteral("Roof"));
    dialog->LoadButton()->click();
    QCOMPARE(f.opened.size(), std::size_t{1});
    const QFileInfo file(f.opened[0]);
    QVERIFY(file.fileName().startsWith(QStringLiteral("dat")));
    QCOMPARE(file.absolutePath(), QFileInfo(QString::fromStdString(f.dir.Path())).absoluteFilePath());
    HistoryHeader header;
    std::vector<std::int32_t> points;
    std::size_t count = 0;
    QVERIFY(ReadHistoryFile(f.opened[0].toStdString(), header, points, count));
    QCOMPARE(header.Title(), std::string("Roof"));
    QCOMPARE(count, std::size_t{3});

    // Two downloads never share a file.
    dialog->OnLoadScreen();
    QCOMPARE(f.opened.size(), std::size_t{2});
    QVERIFY(f.opened[0] != f.opened[1]);

    // A temporary folder that cannot be written: the error, no window.
    dialog->SetTemporaryFolder(QString::fromStdString(f.dir.File("gone")));
    dialog->OnLoadScreen();
    QCOMPARE(f.LastKey(), Text("S_MEASUREVIEW_ONFILESAVE"));
    QCOMPARE(f.opened.size(), std::size_t{2});
  }

  void ClearTellsTheOutcomeAndALaterDownloadFindsNothing() {
    Fixture f;
    auto dialog = f.Make();
    f.sensor.cleared = false;
    dialog->ResetButton()->click();
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_CLEAR_FAIL"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconInformation | mb::kOk);
    QVERIFY(f.sensor.clearThread != std::this_thread::get_id());
    f.sensor.cleared = true;
    dialog->ResetButton()->click();
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_CLEAR_SUCCESS"));
    QVERIFY(dialog->SaveButton()->isEnabled());
    dialog->SaveButton()->click();
    QCOMPARE(f.LastKey(), Text("S_SETTING_WARNING_DN_0_FAIL"));
    QCOMPARE(f.sensor.fetches, 0);
  }

  void TheWholeJourneyAgainstTheSimulatedSensor() {
    auto settings = test::SettingsFor(model::kPX420B);
    std::atomic<double> now{0.0};
    sim::SimLoopbackDevice* sensor = nullptr;
    const sim::SimConfig config = sim::SimConfig::ForModel(model::kPX420B);
    SensorLink link;
    link.SetTransportFactory([&](int) {
      auto device = std::make_unique<sim::SimLoopbackDevice>(config);
      device->WithSensor([&now](sim::SimSensor& s) { s.SetClock([&now] { return now.load(); }); });
      sensor = device.get();
      return std::unique_ptr<CPowerDevice>(std::move(device));
    });
    test::RecordingMessageBoxes boxes;
    test::TempDir dir;
    QCOMPARE(link.Connect(1), 0);

    // Set up on the logging page: forward and reverse every 90 s for 5 h.
    {
      SensorLinkLoggingActions logging(link, *settings);
      CSettingDlg setting(*settings, &logging);
      auto* page = setting.LoggingPage();
      for (int bit = 0; bit < 4; ++bit) page->ItemCheck(bit)->setChecked(bit == 0 || bit == 2);
      test::Type(page->IntervalMinutesEdit(), "1");
      test::Type(page->IntervalSecondsEdit(), "30");
      test::Type(page->RunHoursEdit(), "5");
      test::Type(page->RunMinutesEdit(), "0");
      Child<QPushButton>(page, "setButton")->click();
      QCOMPARE(test::LastBoxText(boxes), Text("S_SETTING_WARNING_LOGGING_SUCCESS"));
    }
    SensorLinkDownloadActions actions(link, false);
    DownloadHooks hooks;
    std::vector<QString> opened;
    hooks.openHistory = [&opened](const QString& path) {
      opened.push_back(path);
      return true;
    };
    auto open = [&] {
      auto dialog = std::make_unique<CDownloadDlg>(*settings, actions, hooks);
      dialog->SetTemporaryFolder(QString::fromStdString(dir.Path()));
      dialog->SetSavePathChooser(
          [&dir](QWidget*, const SavePathRequest&) { return QString::fromStdString(dir.File("site.psh")); });
      return dialog;
    };

    // Still logging: the download buttons wait.
    QVERIFY(link.ReadLoggingStatus());
    QVERIFY(!open()->SaveButton()->isEnabled());

    // Five hours later: 200 samples of two items.
    now = 5.0 * 3600.0 + 1.0;
    QVERIFY(link.ReadLoggingStatus());
    QCOMPARE(link.LoggingStatus(6), 400);
    auto dialog = open();
    QVERIFY(dialog->ItemCheck(0)->isChecked());
    QVERIFY(!dialog->ItemCheck(1)->isChecked());
    QVERIFY(dialog->ItemCheck(2)->isChecked());
    QVERIFY(dialog->SaveButton()->isEnabled());
    dialog->TitleEdit()->setText(QStringLiteral("Site B"));
    dialog->SaveButton()->click();
    HistoryHeader header;
    std::vector<std::int32_t> points;
    std::size_t count = 0;
    QVERIFY(ReadHistoryFile(dir.File("site.psh"), header, points, count));
    QCOMPARE(header.Mask().Bits(), 0x05);
    QCOMPARE(count, std::size_t{200});
    QCOMPARE(header.Title(), std::string("Site B"));
    QCOMPARE(settings->Count(kAvg), 200);
    QCOMPARE(settings->Count(kRev), 200);

    dialog->LoadButton()->click();
    QCOMPARE(opened.size(), std::size_t{1});
    QVERIFY(ReadHistoryFile(opened[0].toStdString(), header, points, count));
    QCOMPARE(count, std::size_t{200});

    dialog->ResetButton()->click();
    QCOMPARE(test::LastBoxText(boxes), Text("S_SETTING_WARNING_CLEAR_SUCCESS"));
    dialog->SaveButton()->click();
    QCOMPARE(test::LastBoxText(boxes), Text("S_SETTING_WARNING_DN_0_FAIL"));
    // Opened again, the dialog offers no download.
    QVERIFY(link.ReadLoggingStatus());
    QVERIFY(!open()->LoadButton()->isEnabled());
    QVERIFY(sensor != nullptr);
    link.Disconnect();
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::DownloadDlgTest)
#include "DownloadDlgTest.moc"
