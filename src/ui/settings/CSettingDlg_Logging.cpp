#include "ui/settings/CSettingDlg_Logging.h"

#include "core/measure/MeasurementSettings.h"
#include "core/platform/MessageBoxes.h"
#include "core/settings/LoggingSetup.h"
#include "core/settings/SettingsPageRules.h"
#include "core/strings/StringTable.h"
#include "ui/platform/UiThread.h"
#include "ui/settings/CDeviceGroup.h"
#include "ui/settings/CDutyReference.h"
#include "ui/settings/LoggingActions.h"
#include "ui/settings/SettingsFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wattrix {

using namespace settings_fields;

namespace {

constexpr const char* kSection = "IDD_SETTING_LOGGING";
constexpr std::array<const char*, 4> kItemKeys = {"IDC_LOG_CHECK_FWD", "IDC_LOG_CHECK_PEAK",
                                                  "IDC_LOG_CHECK_REV", "IDC_LOG_CHECK_PULSE"};
// The logged quantity of each item box, in the boxes' order.
constexpr std::array<Quantity, 4> kItemQuantities{kAvg, kPeak, kRev, kPulse};

QLabel* Unit(const char* text, QWidget* parent) { return new QLabel(QString::fromLatin1(text), parent); }

}  // namespace

CSettingDlg_Logging::CSettingDlg_Logging(MeasurementSettings& settings, LoggingActions* actions,
                                         QWidget* parent)
    : CSettingPage(kSection, settings, parent),
      m_actions(actions),
      m_rateIndex(settings_page::RateListIndex(settings.AvgRate())),
      m_periodIndex(settings_page::PeriodListIndex(settings.PulseRate())),
      m_repeatIndex(settings_page::RepeatListIndex(settings.AvgRepeat())),
      m_itemMask(settings.LoggingItems() & (mask::kAvg | mask::kPeak | mask::kRev | mask::kPulse)),
      m_intervalMinutesValue(logging_setup::SplitInterval(settings.LoggingInterval()).minutes),
      m_intervalSecondsValue(logging_setup::SplitInterval(settings.LoggingInterval()).seconds),
      m_runHoursValue(logging_setup::SplitRunTime(settings.LoggingRunTime()).hours),
      m_runMinutesValue(logging_setup::SplitRunTime(settings.LoggingRunTime()).minutes) {
  setObjectName(QStringLiteral("loggingPage"));
  auto* device = new CDeviceGroup(kSection, settings, this);
  auto* measure = MakeMeasurementGroup();
  m_technologyList = AddListRow("IDC_STATIC_TECH", "technologyList",
                                {"LTE", "WCDMA", "CDMA", "WiMAX", "TDS-CDMA", "EV-DO", "GSM", "etc"},
                                settings_page::TechnologyListIndex(settings.Technology()));
  m_repeatList = AddListRow("IDC_STATIC_REPEAT", "repeatList",
                            {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, m_repeatIndex);
  m_rateList = AddListRow("IDC_STATIC_RATE", "rateList", {"Low", "Middle", "High", "Max"}, m_rateIndex);
  m_periodList = AddListRow("IDC_STATIC_PERIOD", "periodList",
                            {"< 4.5ms", "< 9.5ms", "< 19ms", "< 38ms", "< 76ms"}, m_periodIndex);
  m_dutyReference = new CDutyReference(kSection, settings, this);

  LayOutColumns({device, measure}, {m_dutyReference, MakeItemsGroup()});
}

QWidget* CSettingDlg_Logging::MakeItemsGroup() {
  auto* group = new QGroupBox(Text("IDC_STATIC_REFERENCE2"), this);
  group->setObjectName(QStringLiteral("itemsGroup"));
  auto* checks = new QGridLayout;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    m_items[i] = new QCheckBox(Text(kItemKeys[i]), group);
    m_items[i]->setObjectName(QStringLiteral("itemCheck%1").arg(i));
    m_items[i]->setChecked(m_itemMask.Has(kItemQuantities[i]));
    checks->addWidget(m_items[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    connect(m_items[i], &QCheckBox::clicked, this, &CSettingDlg_Logging::UpdateIntervalHint);
  }

  m_intervalMinutes = MakeWholeNumberEdit(group, "intervalMinutesEdit", 4);
  m_intervalSeconds = MakeWholeNumberEdit(group, "intervalSecondsEdit", 4);
  m_intervalMinutes->setText(WholeNumberText(m_intervalMinutesValue));
  m_intervalSeconds->setText(WholeNumberText(m_intervalSecondsValue));
  m_intervalHint = new QLabel(group);
  m_intervalHint->setObjectName(QStringLiteral("intervalHint"));
  auto* interval = new QHBoxLayout;
  interval->addWidget(m_intervalMinutes);
  interval->addWidget(Unit("Min", group));
  interval->addWidget(m_intervalSeconds);
  interval->addWidget(m_intervalHint);
  interval->addStretch(1);

  m_runHours = MakeWholeNumberEdit(group, "runHoursEdit", 4);
  m_runMinutes = MakeWholeNumberEdit(group, "runMinutesEdit", 4);
  m_runHours->setText(WholeNumberText(m_runHoursValue));
  m_runMinutes->setText(WholeNumberText(m_runMinutesValue));
  auto* runTime = new QHBoxLayout;
  runTime->addWidget(m_runHours);
  runTime->addWidget(Unit("Hr", group));
  runTime->addWidget(m_runMinutes);
  runTime->addWidget(Unit(logging_setup::kRunTimeHint, group));
  runTime->addStretch(1);

  auto* times = new QFormLayout;
  times->addRow(Text("IDC_LOG_STATIC_INTER"), interval);
  times->addRow(Text("IDC_LOG_STATIC_TIME"), runTime);

  m_set = new QPushButton(Text("IDC_LOG_BTN_SET"), group);
  m_set->setObjectName(QStringLiteral("setButton"));
  m_clear = new QPushButton(Text("IDC_LOG_BTN_CLEAR"), group);
  m_clear->setObjectName(QStringLiteral("clearButton"));
  // Enter in the page must not press them; only a click or the space bar.
  m_set->setAutoDefault(false);
  m_clear->setAutoDefault(false);
  connect(m_set, &QPushButton::clicked, this, &CSettingDlg_Logging::OnSet);
  connect(m_clear, &QPushButton::clicked, this, &CSettingDlg_Logging::OnClear);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_set);
  buttons->addWidget(m_clear);

  auto* layout = new QVBoxLayout(group);
  layout->addLayout(checks);
  layout->addLayout(times);
  layout->addLayout(buttons);
  UpdateIntervalHint();
  return group;
}

QuantityMask CSettingDlg_Logging::CheckedMask() const {
  QuantityMask checked;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->isChecked()) checked |= MaskBit(kItemQuantities[i]);
  }
  return checked;
}

void CSettingDlg_Logging::UpdateIntervalHint() {
  m_intervalHint->setText(QString::fromStdString(logging_setup::IntervalHint(CheckedMask())));
}

bool CSettingDlg_Logging::Validate() {
  if (!ReadFrequencyAndOffset()) return false;
  if (!m_dutyReference->ReadControls()) return false;
  int intervalMinutes = 0;
  int intervalSeconds = 0;
  int runHours = 0;
  int runMinutes = 0;
  if (!ReadWholeNumber(*m_intervalMinutes, intervalMinutes) ||
      !ReadWholeNumber(*m_intervalSeconds, intervalSeconds) || !ReadWholeNumber(*m_runHours, runHours) ||
      !ReadWholeNumber(*m_runMinutes, runMinutes)) {
    return false;
  }
  m_intervalMinutesValue = intervalMinutes;
  m_intervalSecondsValue = intervalSeconds;
  m_runHoursValue = runHours;
  m_runMinutesValue = runMinutes;
  m_rateIndex = m_rateList->currentIndex();
  m_periodIndex = m_periodList->currentIndex();
  m_repeatIndex = m_repeatList->currentIndex();
  m_itemMask = CheckedMask();
  return true;
}

void CSettingDlg_Logging::Apply() {
  auto& settings = Settings();
  ApplyFrequencyAndOffset();
  settings.SetAvgRate(m_rateIndex);
  settings.SetPulseRate(m_periodIndex);
  m_dutyReference->Apply(settings);
  settings.SetAvgRepeat(settings_page::RepeatFromListIndex(m_repeatIndex));
  settings.SetLoggingItems(m_itemMask);
  settings.SetLoggingInterval(logging_setup::JoinInterval(m_intervalMinutesValue, m_intervalSecondsValue));
  settings.SetLoggingRunTime(logging_setup::JoinRunTime(m_runHoursValue, m_runMinutesValue));
}

void CSettingDlg_Logging::OnSet() {
  if (!Validate()) return;
  Apply();
  logging_setup::SetInput input;
  input.itemMask = m_itemMask;
  input.intervalMinutes = m_intervalMinutesValue;
  input.intervalSeconds = m_intervalSecondsValue;
  input.runHours = m_runHoursValue;
  input.runMinutes = m_runMinutesValue;
  input.frequencyMHz = FrequencyCopy();
  input.periodIndex = m_periodIndex;
  input.reference = Settings().PulseReference();
  input.connected = m_actions && m_actions->IsConnected();
  const auto check = logging_setup::CheckSet(input);
  if (!check.ok) {
    if (!check.text.empty()) {
      strings::MessageBoxText(window(), check.text, mb::kIconError | mb::kOk);
    } else {
      strings::MessageBoxKey(window(), check.key, mb::kIconError | mb::kOk);
    }
    return;
  }
  bool configured = false;
  UiThread::RunAndWait([&] { configured = m_actions->ConfigureLogging(check.configuration); });
  if (configured) {
    strings::MessageBoxKey(window(), "S_SETTING_WARNING_LOGGING_SUCCESS", mb::kIconInformation | mb::kOk);
  } else {
    strings::MessageBoxKey(window(), "S_SETTING_WARNING_LOGGING_FAIL", mb::kIconError | mb::kOk);
  }
}

void CSettingDlg_Logging::OnClear() {
  bool cleared = false;
  if (m_actions) UiThread::RunAndWait([&] { cleared = m_actions->SetLoggingRun(0); });
  strings::MessageBoxKey(window(),
                         cleared ? "S_SETTING_WARNING_CLEAR_SUCCESS" : "S_SETTING_WARNING_CLEAR_FAIL",
                         mb::kIconInformation | mb::kOk);
}

}  // namespace wattrix
