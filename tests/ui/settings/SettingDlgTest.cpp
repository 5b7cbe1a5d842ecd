#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/vocabulary/Quantity.h"
#include "support/CommaLocale.h"
#include "ui/platform/WattrixStyle.h"
#include "ui/settings/CDutyReference.h"
#include "ui/settings/CRangeDlg.h"
#include "ui/settings/CRangeTabs.h"
#include "ui/settings/CSettingDlg.h"
#include "ui/settings/CSettingDlg_Avg.h"
#include "ui/settings/CSettingDlg_Ccdf.h"
#include "ui/settings/CSettingDlg_Logging.h"
#include "ui/settings/CSettingDlg_Pulse.h"
#include "ui/settings/SensorLinkLoggingActions.h"
#include "ui/settings/SettingsTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace wattrix {

using test::Child;
using test::Type;

// The settings dialog driven as a user would: tabs by model, the checks of
// OK with their messages and focus, what OK writes and what Cancel keeps.
class SettingDlgTest final : public QObject {
  Q_OBJECT

 private:
  static QStringList TabTexts(const CSettingDlg& dialog) {
    QStringList texts;
    for (int i = 0; i < dialog.Tabs()->count(); ++i) texts << dialog.Tabs()->tabText(i);
    return texts;
  }
  static QString MainText(const char* key) {
    return QString::fromStdString(strings::GetText("IDD_SETTING_MAIN", key));
  }
  static bool RowShown(const QWidget* field) {
    auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
    return form && form->isRowVisible(const_cast<QWidget*>(field));
  }
  static void ShowActive(QWidget& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
  }

 private slots:
  void initTestCase() {
    test::UseShippedStringTable();
    QApplication::setStyle(new WattrixStyle);  // the look of the application
  }

  void TabsLabelsAndHiddenControlsFollowTheModel() {
    struct Case {
      int model;
      QStringList tabs;
      bool avgTechnology, avgAverage, ccdfTechnology;
    };
    using namespace model;
    const QList<Case> cases = {
        {kPX420B,
         {MainText("TAB_AVGPEAK"), MainText("TAB_CCDF"), MainText("TAB_PULSE"), MainText("TAB_LOGGING")},
         true,
         true,
         true},
        {kPX470B, {MainText("TAB_AVGPEAK"), MainText("TAB_CCDF"), MainText("TAB_PULSE")}, false, true, false},
        {kPX430A, {MainText("TAB_AVG")}, false, false, true},
        {kPX430B, {MainText("TAB_AVG")}, false, true, true},
        {kPX450A, {MainText("TAB_PEAK")}, false, false, true},
    };
    for (const auto& c : cases) {
      auto settings = test::SettingsFor(c.model);
      CSettingDlg dialog(*settings, nullptr);
      QCOMPARE(TabTexts(dialog), c.tabs);
      QCOMPARE(dialog.windowTitle(), MainText("CAPTION"));
      // All four pages exist, tab or not.
      QVERIFY(dialog.AvgPage() && dialog.CcdfPage() && dialog.PulsePage() && dialog.LoggingPage());
      QCOMPARE(RowShown(dialog.AvgPage()->TechnologyList()), c.avgTechnology);
      QCOMPARE(RowShown(Child<QComboBox>(dialog.AvgPage(), "repeatList")), c.avgAverage);
      QCOMPARE(RowShown(dialog.CcdfPage()->TechnologyList()), c.ccdfTechnology);
      // The sampling-rate list carries AVG RATE but is never shown.
      QVERIFY(Child<QComboBox>(dialog.AvgPage(), "rateList")->isHidden());
    }
    // Range sub-tabs: AVG, PEAK, then VSWR or PAR by model.
    auto px470b = test::SettingsFor(model::kPX470B);
    CSettingDlg dialog(*px470b, nullptr);
    QCOMPARE(dialog.AvgPage()->RangeTabs()->tabText(2),
             QString::fromStdString(strings::GetString("S_MEASUREVIEW_PAR")));
    auto px430a = test::SettingsFor(model::kPX430A);
    CSettingDlg single(*px430a, nullptr);
    QCOMPARE(single.AvgPage()->RangeTabs()->count(), 1);
  }

  void InitialTabShowsItsPageAndAMissingTabShowsAvg() {
    auto settings = test::SettingsFor(model::kPX420B);
    CSettingDlg pulse(*settings, nullptr);
    pulse.SetInitialTab(2);
    pulse.SetInitialSubTab(2);
    QCOMPARE(pulse.Tabs()->currentWidget(), pulse.PulsePage());
    QCOMPARE(pulse.AvgPage()->RangeTabs()->currentIndex(), 2);

    // PX430A has one tab: opening "on tab 2" shows the Avg page, and OK
    // applies it.
    auto px430a = test::SettingsFor(model::kPX430A);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*px430a, nullptr);
    dialog.SetInitialTab(2);
    QCOMPARE(dialog.Tabs()->currentWidget(), dialog.AvgPage());
    Type(dialog.AvgPage()->FrequencyEdit(), "900");
    Child<QRadioButton>(dialog.AvgPage(), "relativeRadio")->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(px430a->Frequency(), 900.0f);
    QVERIFY(px430a->Relative());
  }

  void TheMainFramesHookOpensModallyAndReportsOk() {
    auto settings = test::SettingsFor(model::kPX470B);
    for (bool ok : {true, false}) {
      int tabSeen = -1;
      int subTabSeen = -1;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSettingDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        tabSeen = dialog->CurrentTab();
        subTabSeen = dialog->AvgPage()->RangeTabs()->currentIndex();
        Type(dialog->PulsePage()->FrequencyEdit(), ok ? "1234" : "1500");
        ok ? dialog->accept() : dialog->reject();
      });
      QCOMPARE(RunSettingDialog(nullptr, SensorLink::Instance(), *settings, 2, 1), ok);
      QCOMPARE(tabSeen, 2);
      QCOMPARE(subTabSeen, 1);
      QCOMPARE(settings->Frequency(), 1234.0f);  // the Pulse page was applied, then nothing
    }
  }

  void FrequencyAndOffsetBoundsWithTheirMessagesAndFocus() {
    struct Case {
      const char* frequency;
      const char* offset;
      const char* key;  // null: accepted
    };
    const Case cases[] = {
        {"299.9", "0", "S_IDD_SETTING_ONOK_IFREQ"},       {"300", "0", nullptr},
        {"3800.01", "0", "S_IDD_SETTING_ONOK_IFREQ"},     {"3800", "100", nullptr},
        {"900", "100.01", "S_IDD_SETTING_INVAL_OFFSET"},  {"900", "-100", nullptr},
        {"900", "-100.01", "S_IDD_SETTING_INVAL_OFFSET"},
    };
    for (const auto& c : cases) {
      auto settings = test::SettingsFor(model::kPX420A);
      test::RecordingMessageBoxes boxes;
      CSettingDlg dialog(*settings, nullptr);
      ShowActive(dialog);
      Type(dialog.AvgPage()->FrequencyEdit(), c.frequency);
      Type(dialog.AvgPage()->OffsetEdit(), c.offset);
      dialog.accept();
      if (!c.key) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY2(boxes.boxes.empty(), test::LastBoxText(boxes).c_str());
        QCOMPARE(settings->Frequency(), QString(c.frequency).toFloat());
        QCOMPARE(settings->ExternalOffset(), QString(c.offset).toFloat());
        continue;
      }
      QVERIFY(dialog.isVisible());
      QCOMPARE(boxes.boxes.size(), std::size_t(1));
      QCOMPARE(boxes.boxes[0].text, strings::GetString(c.key));
      QCOMPARE(boxes.boxes[0].caption, std::string("Wattrix"));
      QCOMPARE(boxes.boxes[0].type, mb::kIconError | mb::kOk);
      const bool frequency = std::string(c.key) == "S_IDD_SETTING_ONOK_IFREQ";
      QVERIFY((frequency ? dialog.AvgPage()->FrequencyEdit() : dialog.AvgPage()->OffsetEdit())->hasFocus());
      QCOMPARE(settings->Frequency(), 2400.0f);  // nothing written
    }
  }

  void RangeChecksSwitchToTheFailingSubTab() {
    auto settings = test::SettingsFor(model::kPX420B);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*settings, nullptr);
    ShowActive(dialog);
    CRangeTabs* tabs = dialog.AvgPage()->RangeTabs();
    CRangeDlg* peak = tabs->Range(1);
    QCOMPARE(peak->EditedQuantity(), kPeak);
    Type(peak->DisplayLowEdit(), "40");
    Type(peak->DisplayHighEdit(), "40");
    dialog.accept();
    QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_IDD_SETTING_ONOK_IDRNG"));
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(peak->DisplayLowEdit()->hasFocus());

    Type(peak->DisplayHighEdit(), "50");
    Type(tabs->Range(2)->LimitLowEdit(), "2");  // VSWR limits 2..2
    tabs->setCurrentIndex(0);
    dialog.accept();
    QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_IDD_SETTING_ONOK_ILRNG"));
    QCOMPARE(tabs->currentIndex(), 2);
    QVERIFY(tabs->Range(2)->LimitLowEdit()->hasFocus());
    QCOMPARE(settings->DisplayHigh(kPeak), 60.0f);  // a failed OK stores no range

    Type(tabs->Range(2)->LimitLowEdit(), "1.5");
    Child<QComboBox>(peak, "beepList")->setCurrentIndex(2);
    Child<QCheckBox>(peak, "limitCheck")->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings->DisplayLow(kPeak), 40.0f);
    QCOMPARE(settings->DisplayHigh(kPeak), 50.0f);
    QCOMPARE(settings->LowLimit(kVswr), 1.5f);
    QCOMPARE(settings->BeepKind(kPeak), 2);
    QVERIFY(settings->LimitCheck(kPeak));
  }

  void AWrongValueOnAnotherTabBlocksOkAndIsBroughtForward() {
    auto settings = test::SettingsFor(model::kPX420B);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*settings, nullptr);
    dialog.SetInitialTab(3);
    ShowActive(dialog);
    Type(dialog.CcdfPage()->FrequencyEdit(), "299");
    Type(dialog.LoggingPage()->FrequencyEdit(), "1000");
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_IDD_SETTING_ONOK_IFREQ"));
    QCOMPARE(dialog.Tabs()->currentWidget(), dialog.CcdfPage());
    QVERIFY(dialog.CcdfPage()->FrequencyEdit()->hasFocus());
    QCOMPARE(settings->Frequency(), 2400.0f);

    // Corrected, OK passes and writes the page of the tab now on top.
    Type(dialog.CcdfPage()->FrequencyEdit(), "1500");
    dialog.Tabs()->setCurrentWidget(dialog.LoggingPage());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings->Frequency(), 1000.0f);

    // A model's page without a tab is never in the way: on a PX420A the
    // stored frequency of a previous model is corrected on the Avg page.
    auto px420a = test::SettingsFor(model::kPX420A);
    px420a->SetFrequency(100);
    CSettingDlg fixable(*px420a, nullptr);
    Type(fixable.AvgPage()->FrequencyEdit(), "900");
    fixable.accept();
    QCOMPARE(fixable.result(), int(QDialog::Accepted));
    QCOMPARE(px420a->Frequency(), 900.0f);
  }

  void AvgPageAppliesItsValuesAndNothingElse() {
    auto settings = test::SettingsFor(model::kPX420B);
    settings->SetAvgRate(9);      // outside the list: "Low"
    settings->SetAvgRepeat(0);    // outside the list: "1"
    settings->SetTechnology(12);  // outside the list: "etc"
    settings->SetPulseDuty(250);
    CSettingDlg dialog(*settings, nullptr);
    auto* avg = dialog.AvgPage();
    QCOMPARE(avg->TechnologyList()->currentText(), QString("etc"));
    QCOMPARE(Child<QComboBox>(avg, "repeatList")->currentText(), QString("1"));
    Child<QComboBox>(avg, "decimalList")->setCurrentIndex(0);
    Child<QRadioButton>(avg, "singleRadio")->setChecked(true);
    Child<QRadioButton>(avg, "relativeRadio")->setChecked(true);
    // A change on a page that is not applied is dropped.
    Child<QRadioButton>(dialog.PulsePage(), "dutyAutoRadio")->setChecked(true);
    Type(dialog.PulsePage()->FrequencyEdit(), "1000");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings->AvgRate(), 0);
    QCOMPARE(settings->AvgRepeat(), 1);
    QCOMPARE(settings->Technology(), 7);
    QCOMPARE(settings->Decimals(), 0);
    QVERIFY(settings->SingleSweep());
    QVERIFY(settings->Relative());
    QCOMPARE(settings->PulseDuty(), 250);
    QCOMPARE(settings->Frequency(), 2400.0f);
  }

  void PulsePageTechnologyDutyAndReference() {
    auto settings = test::SettingsFor(model::kPX420B);
    settings->SetTechnology(1);  // WCDMA is not on the pulse list
    settings->SetPulseReference(650);
    CSettingDlg dialog(*settings, nullptr);
    dialog.SetInitialTab(2);
    auto* duty = dialog.PulsePage()->DutyReference();
    QCOMPARE(dialog.PulsePage()->TechnologyList()->currentText(), QString("etc"));
    QVERIFY(duty->ReferenceManual()->isChecked());
    QCOMPARE(duty->ReferenceEdit()->text(), QString("6.50"));
    QVERIFY(!duty->DutyEdit()->isEnabled());
    QVERIFY(duty->ReferenceEdit()->isEnabled());

    // Manual duty locks the reference to automatic.
    duty->DutyManual()->click();
    QVERIFY(duty->ReferenceAuto()->isChecked());
    QVERIFY(!duty->ReferenceAuto()->isEnabled() && !duty->ReferenceManual()->isEnabled());
    QVERIFY(!duty->ReferenceEdit()->isEnabled());
    QVERIFY(duty->DutyEdit()->isEnabled());
    Type(duty->DutyEdit(), "0.5");
    Child<QComboBox>(dialog.PulsePage(), "periodList")->setCurrentIndex(3);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings->PulseDuty(), 500);
    QCOMPARE(settings->PulseReference(), 0);
    QCOMPARE(settings->Technology(), 7);
    QCOMPARE(settings->PulseRate(), 3);

    // Opening with a fixed duty: "%.3f"; a manual reference of 1.15 dB is
    // kept as 115, not lost to binary rounding.
    settings->SetPulseDuty(0);
    settings->SetTechnology(4);
    CSettingDlg again(*settings, nullptr);
    again.SetInitialTab(2);
    auto* page = again.PulsePage();
    QCOMPARE(page->TechnologyList()->currentIndex(), 2);
    page->DutyReference()->ReferenceManual()->click();
    Type(page->DutyReference()->ReferenceEdit(), "1.15");
    page->TechnologyList()->setCurrentIndex(1);
    again.accept();
    QCOMPARE(settings->PulseReference(), 115);
    QCOMPARE(settings->Technology(), 3);
    settings->SetPulseDuty(1250);
    CSettingDlg third(*settings, nullptr);
    QCOMPARE(third.PulsePage()->DutyReference()->DutyEdit()->text(), QString("1.250"));
  }

  void CcdfCrestFactorIsStoredAsBothLimits() {
    auto settings = test::SettingsFor(model::kPX420B);
    CSettingDlg dialog(*settings, nullptr);
    Type(dialog.CcdfPage()->CrestEdit(), "8.5");
    Child<QCheckBox>(dialog.CcdfPage(), "limitCheck")->setChecked(true);
    Child<QComboBox>(dialog.CcdfPage(), "samplesList")->setCurrentIndex(3);
    Child<QComboBox>(dialog.CcdfPage(), "decimalList")->setCurrentIndex(1);
    dialog.accept();  // with the Avg tab on top: Ccdf stores its own part anyway
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings->LowLimit(kCcdf), 8.5f);
    QCOMPARE(settings->HighLimit(kCcdf), 8.5f);
    QVERIFY(settings->LimitCheck(kCcdf));
    QCOMPARE(settings->CcdfRate(), 3);
    QCOMPARE(settings->Decimals(), 2);  // the Avg page was applied, not CCDF's choice
    CSettingDlg reopened(*settings, nullptr);
    QCOMPARE(reopened.CcdfPage()->CrestEdit()->text(), QString("8.5"));
  }

  void TextsThatAreNotNumbersAreRefused() {
    auto settings = test::SettingsFor(model::kPX420B);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*settings, nullptr);
    ShowActive(dialog);
    for (const char* wrong : {"2400,5", "", "12abc", "inf", "1e40"}) {
      Type(dialog.AvgPage()->FrequencyEdit(), wrong);
      dialog.accept();
      QVERIFY2(dialog.isVisible(), wrong);
      QCOMPARE(boxes.boxes.back().caption, std::string("Wattrix"));
      QVERIFY2(test::LastBoxText(boxes).find("number") != std::string::npos, wrong);
      QVERIFY(dialog.AvgPage()->FrequencyEdit()->hasFocus());
    }
    Type(dialog.AvgPage()->FrequencyEdit(), " 2450.5 ");
    Type(dialog.AvgPage()->RangeTabs()->Range(1)->LimitHighEdit(), "x");
    dialog.accept();
    QCOMPARE(dialog.AvgPage()->RangeTabs()->currentIndex(), 1);
    QVERIFY(dialog.AvgPage()->RangeTabs()->Range(1)->LimitHighEdit()->hasFocus());
    Type(dialog.AvgPage()->RangeTabs()->Range(1)->LimitHighEdit(), "55");
    const auto shown = boxes.boxes.size();
    dialog.accept();
    QCOMPARE(boxes.boxes.size(), shown);
    QCOMPARE(settings->Frequency(), 2450.5f);
  }

  void NumbersUseAPointWhateverTheLocale() {
    test::CommaLocale comma;
    if (!comma.Active()) QSKIP("no comma locale on this host");
    auto settings = test::SettingsFor(model::kPX420B);
    settings->SetExternalOffset(1.25f);
    settings->SetPulseDuty(500);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*settings, nullptr);
    QCOMPARE(dialog.AvgPage()->OffsetEdit()->text(), QString("1.25"));
    QCOMPARE(dialog.PulsePage()->DutyReference()->DutyEdit()->text(), QString("0.500"));
    Type(dialog.AvgPage()->FrequencyEdit(), "900.57");
    dialog.accept();
    QVERIFY2(boxes.boxes.empty(), test::LastBoxText(boxes).c_str());
    QCOMPARE(settings->Frequency(), 900.57f);
  }

  void EnterAndEscapeInAPageDoNotCloseCancelWritesNothing() {
    auto settings = test::SettingsFor(model::kPX420B);
    test::RecordingMessageBoxes boxes;
    CSettingDlg dialog(*settings, nullptr);
    ShowActive(dialog);
    QLineEdit* frequency = dialog.AvgPage()->FrequencyEdit();
    Type(frequency, "1000");
    frequency->setFocus();
    QTest::keyClick(frequency, Qt::Key_Return);
    QTest::keyClick(frequency, Qt::Key_Enter);
    QTest::keyClick(frequency, Qt::Key_Escape);
    QTest::keyClick(dialog.AvgPage()->TechnologyList(), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(settings->Frequency(), 2400.0f);
    QVERIFY(boxes.boxes.empty());

    Child<QRadioButton>(dialog.AvgPage(), "relativeRadio")->setChecked(true);
    Type(dialog.CcdfPage()->CrestEdit(), "5");
    dialog.reject();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings->Frequency(), 2400.0f);
    QVERIFY(!settings->Relative());
    QCOMPARE(settings->HighLimit(kCcdf), 60.0f);

    // The OK button itself runs the checks.
    CSettingDlg clicked(*settings, nullptr);
    Type(clicked.AvgPage()->FrequencyEdit(), "10");
    clicked.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(test::LastBoxText(boxes), strings::GetString("S_IDD_SETTING_ONOK_IFREQ"));
    QCOMPARE(clicked.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text(), MainText("IDOK"));
  }

  void EveryTabIsLaidOutWithoutOverlapsOrClipping() {
    // Long texts of a translation or a large font push controls into each
    // other; the layouts must grow instead. WATTRIX_SCREENSHOT_DIR keeps a
    // picture of every tab for a look.
    const QString shots = qEnvironmentVariable("WATTRIX_SCREENSHOT_DIR");
    for (int code : {model::kPX420B, model::kPX430A, model::kPX470B}) {
      auto settings = test::SettingsFor(code);
      CSettingDlg dialog(*settings, nullptr);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      for (int tab = 0; tab < dialog.Tabs()->count(); ++tab) {
        dialog.Tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        QWidget* page = dialog.Tabs()->currentWidget();
        QList<QWidget*> parents = page->findChildren<QWidget*>();
        parents << page;
        for (auto* parent : parents) {
          if (!parent->isVisibleTo(&dialog) || qobject_cast<QComboBox*>(parent)) continue;
          QList<QWidget*> shown;
          for (QObject* object : parent->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && child->isVisibleTo(&dialog)) shown << child;
          }
          for (int i = 0; i < shown.size(); ++i) {
            const auto where = qPrintable(shown[i]->objectName() + " in " + parent->objectName());
            QVERIFY2(parent->rect().contains(shown[i]->geometry()), where);
            for (int j = i + 1; j < shown.size(); ++j) {
              QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()), where);
            }
          }
        }
        if (!shots.isEmpty()) {
          dialog.grab().save(QStringLiteral("%1/settings_%2_tab%3.png")
                                 .arg(shots, QString::fromStdString(settings->ModelName()))
                                 .arg(tab));
        }
      }
    }
  }

  void EveryLabelOfEveryPageHasItsText() {
    // A key the string table lacks would leave an empty label.
    auto settings = test::SettingsFor(model::kPX420B);
    CSettingDlg dialog(*settings, nullptr);
    for (auto* label : dialog.findChildren<QLabel*>()) {
      if (label->objectName().endsWith(QLatin1String("Text"))) continue;  // values: serial etc.
      QVERIFY2(!label->text().trimmed().isEmpty(), qPrintable(label->parentWidget()->objectName()));
    }
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
      if (qobject_cast<QTabBar*>(button->parentWidget())) continue;
      QVERIFY2(!button->text().isEmpty(), qPrintable(button->objectName()));
    }
    for (auto* group : dialog.findChildren<QGroupBox*>()) QVERIFY(!group->title().isEmpty());
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::SettingDlgTest)
#include "SettingDlgTest.moc"
