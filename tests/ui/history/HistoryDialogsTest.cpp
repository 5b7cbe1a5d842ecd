#include "HistoryTestFiles.h"

#include "core/history/HistoryLayout.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/HostPaths.h"
#include "core/platform/NumberText.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/history/CChangeTitleDlg.h"
#include "ui/history/CDlg_AutoScale.h"
#include "ui/history/CHistoryFrame.h"
#include "ui/history/CHistoryView.h"
#include "ui/history/SavePathDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <functional>

namespace wattrix {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Runs `drive` on the modal dialog of type T as soon as it is up; the
// command that opens it runs meanwhile. `seen` tells whether it ran.
template <typename T>
void WhenModal(std::function<void(T&)> drive, bool& seen) {
  QTimer::singleShot(0, [drive, &seen] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) {
      WhenModal(drive, seen);  // not up yet
      return;
    }
    seen = true;
    drive(*dialog);
    // A failed check leaves the lambda early; close the dialog so that the
    // command returns and the failure is reported.
    if (dialog->isVisible() && QTest::currentTestFailed()) dialog->reject();
  });
}

QPushButton* Button(QDialog& dialog, QDialogButtonBox::ButtonRole role) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  for (QAbstractButton* b : box->buttons())
    if (box->buttonRole(b) == role) return qobject_cast<QPushButton*>(b);
  return nullptr;
}

}  // namespace

// The title and scale dialogs driven as a user would, and the save-file
// dialog starting in the folder last used.
class HistoryDialogsTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    QStandardPaths::setTestModeEnabled(true);  // keep the user's settings out of it
  }

  void ChangeTitleRefusesEmptyAndCutsLongTitles() {
    test::TempDir dir;
    test::RecordingMessageBoxes boxes;
    test::WriteRunFile(dir.File("run.psh"), 0, 0x13, 20, "Bench 3");
    CHistoryFrame frame;
    QVERIFY(frame.LoadHistory(Q(dir.File("run.psh"))));
    const QString longTitle = QStringLiteral("Amplifier stage 2, antenna port A/B");  // 35

    bool seen = false;
    WhenModal<CChangeTitleDlg>(
        [&](CChangeTitleDlg& dialog) {
          QCOMPARE(dialog.windowTitle(), Q(strings::GetText("IDD_CHANGETITLE", "CAPTION")));
          QVERIFY(dialog.findChild<QLabel*>()->text() ==
                  Q(strings::GetText("IDD_CHANGETITLE", "IDC_STATIC_TITLE")));
          QCOMPARE(Button(dialog, QDialogButtonBox::AcceptRole)->text(),
                   Q(strings::GetText("IDD_CHANGETITLE", "IDOK")));
          QLineEdit* field = dialog.Field();
          QCOMPARE(field->text(), QStringLiteral("Bench 3"));
          field->setText(QStringLiteral("  \t "));
          QPushButton* ok = Button(dialog, QDialogButtonBox::AcceptRole);
          ok->setFocus();
          QCOMPARE(dialog.focusWidget(), ok);
          ok->click();
          QVERIFY(dialog.isVisible());  // refused
          QCOMPARE(boxes.boxes.size(), std::size_t{1});
          QCOMPARE(boxes.boxes[0].text, strings::GetString("S_IDD_CHANGETITLE_ONOK"));
          QCOMPARE(dialog.focusWidget(), field);
          field->clear();
          QTest::keyClicks(field, longTitle + QStringLiteral("   "));
          QCOMPARE(field->text(), longTitle.left(30));
          Button(dialog, QDialogButtonBox::AcceptRole)->click();
        },
        seen);
    QVERIFY(frame.OnCommand(cmd::kChangeTitle));
    QVERIFY(seen);
    const std::string expected = longTitle.left(30).trimmed().toStdString();
    QCOMPARE(Q(frame.View().Document().Title()), Q(expected));
    QVERIFY(frame.View().Document().Changed());
    QCOMPARE(Q(frame.View().Graph().Graph().Settings().title), Q(expected));

    // Cancel keeps the title, whatever was typed.
    seen = false;
    WhenModal<CChangeTitleDlg>(
        [](CChangeTitleDlg& dialog) {
          dialog.Field()->setText(QStringLiteral("Other"));
          dialog.reject();
        },
        seen);
    QVERIFY(frame.OnCommand(cmd::kChangeTitle));
    QVERIFY(seen);
    QCOMPARE(Q(frame.View().Document().Title()), Q(expected));
  }

  void ChangeScaleProposesTogglesAndReadsNumbers() {
    test::TempDir dir;
    test::WriteRunFile(dir.File("run.psh"), 0, 0x13, 200, "");
    CHistoryFrame frame;
    QVERIFY(frame.LoadHistory(Q(dir.File("run.psh"))));
    const HistoryDocument& doc = frame.View().Document();
    const CGraph& graph = frame.View().Graph().Graph();
    const auto stats = doc.ShownStatistics();
    QCOMPARE(stats.min, 10.0f);
    const auto proposal = ProposeScale(stats.min, stats.max);
    const QString top = Q(FormatFixed(proposal.top, 2));
    const QString bottom = Q(FormatFixed(proposal.bottom, 2));

    bool seen = false;
    WhenModal<CDlg_AutoScale>(
        [&](CDlg_AutoScale& dialog) {
          QVERIFY(dialog.AutoBox()->isChecked());
          QCOMPARE(dialog.AutoBox()->text(), QStringLiteral("Auto Scale"));
          QCOMPARE(dialog.MaxField()->text(), top);
          QCOMPARE(dialog.MinField()->text(), bottom);
          QVERIFY(!dialog.MaxField()->isEnabled() && !dialog.MinField()->isEnabled());
          dialog.AutoBox()->click();
          QVERIFY(dialog.MaxField()->isEnabled() && dialog.MinField()->isEnabled());
          dialog.MaxField()->setText(QStringLiteral("99"));
          dialog.AutoBox()->click();  // ticked again: the proposal is back
          QCOMPARE(dialog.MaxField()->text(), top);
          QVERIFY(!dialog.MaxField()->isEnabled());
          dialog.AutoBox()->click();
          dialog.MaxField()->setText(QStringLiteral("12.5"));
          dialog.MinField()->setText(QStringLiteral("-3.25"));
          Button(dialog, QDialogButtonBox::AcceptRole)->click();
        },
        seen);
    QVERIFY(frame.OnCommand(cmd::kChangeScale));
    QVERIFY(seen);
    QVERIFY(doc.Header().Display(history::TableEntry(kAvg)) == (DisplayRange{-3.25f, 12.5f}));
    QVERIFY(!doc.Changed());
    QCOMPARE(graph.YMax(), 12.5);
    QCOMPARE(graph.YMin(), -3.25);

    // Text that is no number reads 0; the ends may come in either order.
    seen = false;
    WhenModal<CDlg_AutoScale>(
        [](CDlg_AutoScale& dialog) {
          dialog.AutoBox()->click();
          dialog.MaxField()->setText(QStringLiteral("abc"));
          dialog.MinField()->setText(QStringLiteral(" 7 "));
          dialog.accept();
        },
        seen);
    QVERIFY(frame.OnCommand(cmd::kChangeScale));
    QVERIFY(seen);
    QVERIFY(doc.Header().Display(history::TableEntry(kAvg)) == (DisplayRange{7.0f, 0.0f}));
    QCOMPARE(graph.YMin(), 0.0);
    QCOMPARE(graph.YMax(), 7.0);

    // Cancel leaves the scale; OK while ticked takes the proposal. The
    // scale belongs to the quantity shown.
    seen = false;
    WhenModal<CDlg_AutoScale>([](CDlg_AutoScale& dialog) { dialog.reject(); }, seen);
    QVERIFY(frame.OnCommand(cmd::kChangeScale));
    QVERIFY(doc.Header().Display(history::TableEntry(kAvg)) == (DisplayRange{7.0f, 0.0f}));
    QVERIFY(frame.OnCommand(cmd::kViewPeak));
    WhenModal<CDlg_AutoScale>([](CDlg_AutoScale& dialog) { dialog.accept(); }, seen);
    QVERIFY(frame.OnCommand(cmd::kChangeScale));
    const auto peak = ProposeScale(doc.ShownStatistics().min, doc.ShownStatistics().max);
    QCOMPARE(doc.Header().Display(history::TableEntry(kPeak)).high, ParseFloat(FormatFixed(peak.top, 2)));
    QVERIFY(doc.Header().Display(history::TableEntry(kAvg)) == (DisplayRange{7.0f, 0.0f}));
  }

  void SaveDialogStartsInTheFolderLastUsed() {
    test::TempDir dir;
    QVERIFY(QDir().mkpath(Q(dir.File("runs"))));
    file_dialog::RememberFolder(Q(dir.File("runs/first.psh")));
    QCOMPARE(file_dialog::LastFolder(), Q(dir.File("runs")));

    bool seen = false;
    WhenModal<QFileDialog>(
        [&](QFileDialog& dialog) {
          QCOMPARE(QDir(dialog.directory()).absolutePath(), Q(dir.File("runs")));
          QCOMPARE(dialog.nameFilters(),
                   (QStringList{QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")}));
          dialog.setDirectory(Q(dir.Path()));
          dialog.selectFile(QStringLiteral("export"));
          QMetaObject::invokeMethod(&dialog, "accept");
        },
        seen);
    const QString chosen =
        file_dialog::AskSavePath(nullptr, SavePathRequest{file_dialog::kCsvFilter, "csv", "run.csv"});
    QVERIFY(seen);
    QCOMPARE(chosen, Q(dir.File("export.csv")));
    QCOMPARE(file_dialog::LastFolder(), Q(dir.Path()));

    // A remembered folder that is gone falls back to the home folder.
    file_dialog::RememberFolder(Q(dir.File("gone/x.csv")));
    QCOMPARE(file_dialog::LastFolder(), QDir::homePath());
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::HistoryDialogsTest)
#include "HistoryDialogsTest.moc"
