#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/CWattrixApp.h"
#include "ui/shell/CAboutDlg.h"
#include "ui/shell/CConnectDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace wattrix {

namespace {

QPushButton* OkOf(QDialog& dialog) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->isDefault()) return button;
  return nullptr;
}

}  // namespace

class DialogsTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  void ConnectDialogChoices() {
    {
      // No COM port: USB is chosen and OK gives -1.
      CConnectDlg dialog({}, nullptr);
      QCOMPARE(dialog.windowTitle(), QString::fromStdString(strings::GetText("IDD_CONNECT", "CAPTION")));
      QVERIFY(dialog.UsbButton()->isChecked());
      QVERIFY(!dialog.SerialButton()->isChecked());
      dialog.show();
      OkOf(dialog)->click();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.ChosenPort(), -1);
    }
    {
      // Serial with nothing to choose: OK keeps the dialog open.
      CConnectDlg dialog({}, nullptr);
      dialog.show();
      dialog.SerialButton()->click();
      OkOf(dialog)->click();
      QVERIFY(dialog.isVisible());
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
      // Entries stay in the order found; the first is selected; a port found
      // with its description returns its number.
      CConnectDlg dialog({{QStringLiteral("COM3"), 3}, {QStringLiteral("Bench sensor (COM12)"), 12}},
                         nullptr);
      QCOMPARE(dialog.PortList()->count(), 2);
      QCOMPARE(dialog.PortList()->currentIndex(), 0);
      QCOMPARE(dialog.PortList()->itemText(1), QStringLiteral("Bench sensor (COM12)"));
      QVERIFY(dialog.UsbButton()->isChecked());
      dialog.show();
      dialog.SerialButton()->click();
      dialog.PortList()->setCurrentIndex(1);
      OkOf(dialog)->click();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.ChosenPort(), 12);
      QCOMPARE(dialog.ChosenName(), QStringLiteral("Bench sensor (COM12)"));
    }
  }

  void AboutBoxTexts() {
    {
      CAboutDlg dialog;
      QCOMPARE(dialog.windowTitle(), QString::fromStdString(strings::GetText("IDD_ABOUTBOX", "CAPTION")));
      QCOMPARE(dialog.NameLine()->text(),
               QString::fromStdString(strings::GetText("IDD_ABOUTBOX", "IDC_STATIC_NAME") + " " +
                                      strings::GetString("S_VERSION")));
      QVERIFY(!dialog.CopyLine()->text().isEmpty());
      QVERIFY(!dialog.OkButton()->text().isEmpty());
    }
    // Without the string table: empty title, a name line of one blank, an
    // empty second line.
    test::TempDir dir;
    strings::SetStringTablePath(dir.File("QLMXEnStr.ini"));
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString());
    QCOMPARE(dialog.NameLine()->text(), QStringLiteral(" "));
    QCOMPARE(dialog.CopyLine()->text(), QString());
    CConnectDlg connect({}, nullptr);
    QVERIFY(connect.UsbButton()->text().isEmpty());
  }

  // A missing help document gives the warning naming where it was looked for.
  void HelpWithoutDocumentWarns() {
    test::TempDir dir;
    qputenv("WATTRIX_HOME", QByteArray::fromStdString(dir.Path()));
    test::RecordingMessageBoxes boxes;
    CWattrixApp::OnHelp(nullptr);
    qunsetenv("WATTRIX_HOME");
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    std::string expected = strings::GetString("S_ONAPPHELP");
    expected.replace(expected.find("%s"), 2, dir.File("QLMXEnHlp.pdf"));
    QCOMPARE(boxes.boxes[0].text, expected);
    QCOMPARE(boxes.boxes[0].type, mb::kIconWarning | mb::kOk);
    QCOMPARE(boxes.boxes[0].caption, std::string("Wattrix"));
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::DialogsTest)
#include "DialogsTest.moc"
