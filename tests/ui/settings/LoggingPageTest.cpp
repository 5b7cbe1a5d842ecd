#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"
#include "ui/settings/CDutyReference.h"
#include "ui/settings/CSettingDlg.h"
#include "ui/settings/CSettingDlg_Logging.h"
#include "ui/settings/LoggingActions.h"
#include "ui/settings/SensorLinkLoggingActions.h"
#include "ui/settings/SettingsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <thread>
#include <vector>

namespace wattrix {

using test::Child;
using test::Type;

namespace {

// Stands in for the sensor link; records what the page asks and where.
class FakeLogging final : public LoggingActions {
 public:
  bool IsConnected() const override { return connected; }
  bool ConfigureLogging(const logging_setup::LoggingConfiguration& configuration) override {
    configurations.push_back(configuration);
    thread = std::this_thread::get_id();
    return acknowledged;
  }
  bool SetLoggingRun(int value) override {
    runs.push_back(value);
    thread = std::this_thread::get_id();
    return acknowledged;
  }

  bool connected = true;
  bool acknowledged = true;
  std::vector<logging_setup::LoggingConfiguration> configurations;
  std::vector<int> runs;
  std::thread::id thread;
};

}  // namespace

// The logging page's Set and Clear as the user meets them: the checks with
// their texts, what reaches the sensor, and what stays stored.
class LoggingPageTest final : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    std::unique_ptr<MeasurementSettings> settings = test::SettingsFor(model::kPX420B);
    FakeLogging sensor;
    test::RecordingMessageBoxes boxes;
    std::unique_ptr<CSettingDlg> dialog;
    CSettingDlg_Logging* page = nullptr;

    Fixture() {
      dialog = std::make_unique<CSettingDlg>(*settings, &sensor);
      dialog->SetInitialTab(3);
      page = dialog->LoggingPage();
    }
    void Items(int mask) {
      for (int bit = 0; bit < 4; ++bit) page->ItemCheck(bit)->setChecked(mask & (1 << bit));
    }
    void Times(const char* minutes, const char* seconds, const char* hours, const char* runMinutes) {
      Type(page->IntervalMinutesEdit(), minutes);
      Type(page->IntervalSecondsEdit(), seconds);
      Type(page->RunHoursEdit(), hours);
      Type(page->RunMinutesEdit(), runMinutes);
    }
    std::string Set() {
      boxes.boxes.clear();
      Child<QPushButton>(page, "setButton")->click();
      return test::LastBoxText(boxes);
    }
  };

 private Q_SLOTS:
  void initTestCase() { test::UseShippedStringTable(); }

  void OpensFromTheStoredSetUpAndTheHintFollowsTheItems() {
    Fixture f;
    f.settings->SetLoggingItems(QuantityMask{0x05});
    f.settings->SetLoggingInterval(125);
    f.settings->SetLoggingRunTime(1505);
    CSettingDlg dialog(*f.settings, &f.sensor);
    auto* page = dialog.LoggingPage();
    QCOMPARE(page->IntervalMinutesEdit()->text(), QString("2"));
    QCOMPARE(page->IntervalSecondsEdit()->text(), QString("5"));
    QCOMPARE(page->RunHoursEdit()->text(), QString("25"));
    QCOMPARE(page->RunMinutesEdit()->text(), QString("5"));
    QCOMPARE(page->IntervalHint()->text(), QString("Sec (Min 20 Sec)"));
    page->ItemCheck(1)->click();
    QCOMPARE(page->IntervalHint()->text(), QString("Sec (Min 30 Sec)"));
    for (int bit : {0, 1, 2}) page->ItemCheck(bit)->click();
    QCOMPARE(page->IntervalHint()->text(), QString("Sec (Min 10 Sec)"));
  }

  void SetChecksIntervalCountAndRunTime() {
    struct Case {
      int items;
      const char *minutes, *seconds, *hours, *runMinutes;
      const char* text;  // null: the sensor is programmed
    };
    const Case cases[] = {
        {0x03, "0", "19", "1", "0", "Invalid Interval Range ( 20 <= sec <= 3600 )"},
        {0x03, "0", "20", "1", "0", nullptr},
        {0x0F, "60", "1", "24", "0", "Invalid Interval Range ( 40 <= sec <= 3600 )"},
        {0x01, "1", "0", "0", "9", "Invalid Logging Count Range ( 10 times <= RunTime/Interval)"},
        {0x01, "1", "0", "0", "10", nullptr},
        {0x01, "1", "0", "96", "0", nullptr},
        {0x01, "1", "0", "96", "1", "Invalid Runtime Range ( Max : 96 hrs )"},
        {0x00, "0", "0", "1", "0", "Invalid Interval Range ( 1 <= sec <= 3600 )"},
    };
    for (const auto& c : cases) {
      Fixture f;
      f.Items(c.items);
      f.Times(c.minutes, c.seconds, c.hours, c.runMinutes);
      const auto shown = f.Set();
      QCOMPARE(f.boxes.boxes.size(), std::size_t(1));
      QCOMPARE(f.boxes.boxes[0].caption, std::string("Wattrix"));
      if (c.text) {
        QCOMPARE(shown, std::string(c.text));
        QCOMPARE(f.boxes.boxes[0].type, mb::kIconError | mb::kOk);
        QVERIFY(f.sensor.configurations.empty());
      } else {
        QCOMPARE(shown, strings::GetString("S_SETTING_WARNING_LOGGING_SUCCESS"));
        QCOMPARE(f.boxes.boxes[0].type, mb::kIconInformation | mb::kOk);
        QCOMPARE(f.sensor.configurations.size(), std::size_t(1));
      }
    }
  }

  void SetProgramsTheSensorOffTheUiThreadAndKeepsTheValues() {
    Fixture f;
    Type(f.page->FrequencyEdit(), "900.57");
    Type(f.page->OffsetEdit(), "1.5");
    f.page->DutyReference()->ReferenceManual()->click();
    Type(f.page->DutyReference()->ReferenceEdit(), "7.5");
    Child<QComboBox>(f.page, "periodList")->setCurrentIndex(2);
    Child<QComboBox>(f.page, "rateList")->setCurrentIndex(3);
    Child<QComboBox>(f.page, "repeatList")->setCurrentIndex(4);
    Child<QComboBox>(f.page, "technologyList")->setCurrentIndex(0);
    f.Items(0x03);
    f.Times("60", "0", "10", "0");
    QCOMPARE(f.Set(), strings::GetString("S_SETTING_WARNING_LOGGING_SUCCESS"));
    QCOMPARE(f.sensor.configurations.size(), std::size_t(1));
    const auto& sent = f.sensor.configurations[0];
    QCOMPARE(sent.frequency, 90000);  // whole MHz
    QCOMPARE(sent.itemMask.Bits(), 0x03);
    QCOMPARE(sent.intervalSeconds, 3600);
    QCOMPARE(sent.sampleCount, 10);
    QCOMPARE(sent.averagingIndex, 2);
    QCOMPARE(sent.reference, 750);
    QVERIFY(f.sensor.thread != std::this_thread::get_id());

    // Set has stored its values; Cancel does not take them back. TECH is
    // not this page's to store.
    f.dialog->reject();
    const auto& s = *f.settings;
    QCOMPARE(s.Frequency(), 900.57f);
    QCOMPARE(s.ExternalOffset(), 1.5f);
    QCOMPARE(s.PulseReference(), 750);
    QCOMPARE(s.PulseRate(), 2);
    QCOMPARE(s.AvgRate(), 3);
    QCOMPARE(s.AvgRepeat(), 5);
    QCOMPARE(s.LoggingItems().Bits(), 0x03);
    QCOMPARE(s.LoggingInterval(), 3600);
    QCOMPARE(s.LoggingRunTime(), 600);
    QCOMPARE(s.Technology(), 7);
  }

  void SetRefusesWithoutASensorOrAValidPageAndReportsAFailedSetUp() {
    {
      Fixture f;
      f.sensor.connected = false;
      QCOMPARE(f.Set(), strings::GetString("S_MAINFRAME_ONDEVICECONNECT"));
      QVERIFY(f.sensor.configurations.empty());
    }
    {
      test::RecordingMessageBoxes boxes;
      auto settings = test::SettingsFor(model::kPX420B);
      CSettingDlg dialog(*settings, nullptr);  // no link at all
      Child<QPushButton>(dialog.LoggingPage(), "setButton")->click();
      QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_MAINFRAME_ONDEVICECONNECT"));
      Child<QPushButton>(dialog.LoggingPage(), "clearButton")->click();
      QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_SETTING_WARNING_CLEAR_FAIL"));
    }
    {
      Fixture f;
      Type(f.page->FrequencyEdit(), "3800.5");
      QCOMPARE(f.Set(), strings::GetString("S_IDD_SETTING_ONOK_IFREQ"));
      Type(f.page->FrequencyEdit(), "3800");
      Type(f.page->RunMinutesEdit(), "");
      QVERIFY(f.Set().find("whole number") != std::string::npos);
      QVERIFY(f.sensor.configurations.empty());
      QCOMPARE(f.settings->Frequency(), 2400.0f);  // nothing applied
    }
    {
      Fixture f;
      f.sensor.acknowledged = false;
      QCOMPARE(f.Set(), strings::GetString("S_SETTING_WARNING_LOGGING_FAIL"));
      QCOMPARE(f.boxes.boxes[0].type, mb::kIconError | mb::kOk);
    }
  }

  void ClearStopsTheLogAndTellsTheOutcome() {
    Fixture f;
    Child<QPushButton>(f.page, "clearButton")->click();
    QCOMPARE(test::LastBoxText(f.boxes), strings::GetString("S_SETTING_WARNING_CLEAR_SUCCESS"));
    QCOMPARE(f.boxes.boxes.back().type, mb::kIconInformation | mb::kOk);
    f.sensor.acknowledged = false;
    Child<QPushButton>(f.page, "clearButton")->click();
    QCOMPARE(test::LastBoxText(f.boxes), strings::GetString("S_SETTING_WARNING_CLEAR_FAIL"));
    QCOMPARE(f.sensor.runs, (std::vector<int>{0, 0}));
    QVERIFY(f.sensor.thread != std::this_thread::get_id());
  }

  void SetAndClearReachTheSimulatedSensorThroughTheLink() {
    auto settings = test::SettingsFor(model::kPX420B);
    sim::SimLoopbackDevice* sensor = nullptr;
    sim::SimConfig config = sim::SimConfig::ForModel(model::kPX420B);
    SensorLink link;
    link.SetTransportFactory([&sensor, &config](int) {
      auto device = std::make_unique<sim::SimLoopbackDevice>(config);
      device->WithSensor([](sim::SimSensor& s) { s.SetClock([] { return 0.0; }); });
      sensor = device.get();
      return std::unique_ptr<CPowerDevice>(std::move(device));
    });
    SensorLinkLoggingActions actions(link, *settings);
    test::RecordingMessageBoxes boxes;
    auto status = [&sensor] {
      std::array<std::int32_t, 11> values{};
      sensor->WithSensor([&values](sim::SimSensor& s) { values = s.Log().Status(); });
      return values;
    };
    {
      QCOMPARE(link.Connect(1), 0);
      CSettingDlg dialog(*settings, &actions);
      auto* page = dialog.LoggingPage();
      Type(page->FrequencyEdit(), "900.57");
      Type(page->OffsetEdit(), "-2.5");
      Child<QComboBox>(page, "periodList")->setCurrentIndex(2);
      for (int bit = 0; bit < 4; ++bit) page->ItemCheck(bit)->setChecked(bit == 0 || bit == 2);
      Type(page->IntervalMinutesEdit(), "1");
      Type(page->IntervalSecondsEdit(), "30");
      Type(page->RunHoursEdit(), "5");
      Type(page->RunMinutesEdit(), "0");
      Child<QPushButton>(page, "setButton")->click();
      QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_SETTING_WARNING_LOGGING_SUCCESS"));
      // Items, running, interval, samples, frequency, offset, ..., averaging
      // code, reference: as the page asked.
      const auto set = status();
      QCOMPARE(set[0], 0x05);
      QCOMPARE(set[1], 1);
      QCOMPARE(set[2], 90);
      QCOMPARE(set[3], 200);
      QCOMPARE(set[4], 90000);
      QCOMPARE(set[5], -250);
      QCOMPARE(set[7], 4);
      QCOMPARE(set[8], 600);

      Child<QPushButton>(page, "clearButton")->click();
      QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_SETTING_WARNING_CLEAR_SUCCESS"));
      QCOMPARE(status()[1], 0);
      link.Disconnect();
    }
    // A sensor that stops answering half-way: every command still goes out,
    // and the page reports the failed set-up.
    config.faults.hangUpAfter = 6;
    QCOMPARE(link.Connect(1), 0);
    CSettingDlg dialog(*settings, &actions);
    Child<QPushButton>(dialog.LoggingPage(), "setButton")->click();
    QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_SETTING_WARNING_LOGGING_FAIL"));
    QCOMPARE(boxes.boxes.back().type, mb::kIconError | mb::kOk);
    link.Disconnect();
  }

  void OkWithTheLoggingTabAppliesThePage() {
    Fixture f;
    f.settings->SetTechnology(2);
    f.Items(0x08);
    f.Times("1", "30", "2", "0");
    f.page->DutyReference()->DutyManual()->click();
    Type(f.page->DutyReference()->DutyEdit(), "0.25");
    f.dialog->accept();
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(f.sensor.configurations.empty());  // OK never programs the sensor
    QCOMPARE(f.settings->LoggingItems().Bits(), 0x08);
    QCOMPARE(f.settings->LoggingInterval(), 90);
    QCOMPARE(f.settings->LoggingRunTime(), 120);
    QCOMPARE(f.settings->PulseDuty(), 250);
    QCOMPARE(f.settings->Technology(), 2);
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::LoggingPageTest)
#include "LoggingPageTest.moc"
