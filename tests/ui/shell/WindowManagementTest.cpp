#include "ui/shell/CMainFrame.h"

#include "SimSensorProcess.h"
#include "TestChildren.h"
#include "core/device/PortAccess.h"
#include "core/device/SensorLink.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/shell/CConnectDlg.h"
#include "ui/shell/MdiArrange.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QtTest>

#include <memory>

namespace wattrix {

namespace {

std::string WriteHistory(const std::string& path) {
  MeasurementSettings settings;
  for (int i = 0; i < 5; ++i) settings.AddReading(kAvg, 30.0f + static_cast<float>(i) / 10);
  return WriteHistoryFile(path, settings, QuantityMask{0x01}, "bench") ? path : std::string();
}

QList<QMdiSubWindow*> Shown(const CMainFrame& frame) {
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* w : frame.MdiArea()->subWindowList())
    if (w->isVisible()) shown << w;
  return shown;
}

// The label's text fits its width on lines that fit its height.
bool ShowsWhole(const QLabel& label, const QString& text) {
  const QRect inside = label.contentsRect();
  const QRect needed =
      QFontMetrics(label.font()).boundingRect(QRect(0, 0, inside.width(), 100000), Qt::TextWordWrap, text);
  return needed.width() <= inside.width() && needed.height() <= label.height() && label.isVisible();
}

QRect Room(const CMainFrame& frame) { return frame.MdiArea()->viewport()->rect(); }

// Usable: fully inside the document area, and at least the minimum window
// size where the area has it (two thirds of it otherwise).
bool Usable(const CMainFrame& frame, const QMdiSubWindow& w, int minWidth, int minHeight) {
  return Room(frame).contains(w.geometry()) && w.width() >= minWidth && w.height() >= minHeight;
}

}  // namespace

// Cascade, Tile, where new windows open, their titles, and the status bar's
// warning pane.
class WindowManagementTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }
  void cleanup() { SensorLink::Instance().Disconnect(); }

  void CascadeAndTileGiveUsableWindows() {
    const std::string path = WriteHistory(m_dir.Path() + "/run.psh");
    QVERIFY(!path.empty());
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    test::RegisterTestChildren(frame, log, {ChildKind::History});
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    // The same file three times: one title each, none repeated.
    for (int i = 0; i < 3; ++i) QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    const auto windows = Shown(frame);
    QCOMPARE(windows.size(), 3);
    QSet<QString> titles;
    for (QMdiSubWindow* w : windows) titles.insert(w->widget()->windowTitle());
    QCOMPARE(titles.size(), 3);
    QVERIFY(titles.contains(QString::fromStdString(path) + QStringLiteral(", PX420B [2]")));

    const QRect room = Room(frame);
    frame.RouteCommand(cmd::kWindowCascade);
    QSet<int> lefts;
    for (QMdiSubWindow* w : windows) {
      QVERIFY(!w->isMaximized());
      QVERIFY2(
          Usable(frame, *w, room.width() * 2 / 3, room.height() * 2 / 3),
          qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())));
      lefts.insert(w->x());
    }
    QCOMPARE(lefts.size(), 3);  // stepped, so every title bar shows
    QCOMPARE(frame.MdiArea()->activeSubWindow(), windows.last());

    frame.RouteCommand(cmd::kWindowTileVertical);
    int covered = 0;
    for (QMdiSubWindow* w : windows) {
      QVERIFY(Usable(frame, *w, room.width() / 3 - 1, room.height()));
      covered += w->width() * w->height();
    }
    QCOMPARE(covered, room.width() * room.height());
    frame.RouteCommand(cmd::kWindowTileHorizontal);
    for (QMdiSubWindow* w : windows) QVERIFY(Usable(frame, *w, room.width(), room.height() / 3 - 1));

    // Four windows tile as a grid of halves, not as slivers.
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    frame.RouteCommand(cmd::kWindowTileHorizontal);
    for (QMdiSubWindow* w : Shown(frame)) QVERIFY(Usable(frame, *w, room.width() / 2, room.height() / 2));
  }

  // Opening windows beside a maximised one: each opens on screen, comes
  // back from maximised at a usable size, and no window is shrunk.
  void NewWindowsOpenOnScreenBesideAMaximisedOne() {
    const std::string path = WriteHistory(m_dir.Path() + "/beside.psh");
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista"});
    QCOMPARE(sim.WaitForPort(), -1);
    test::RecordingMessageBoxes boxes;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    frame.Settings().SetSettingsDirectory(m_dir.Path());
    test::RegisterTestChildren(frame, log, {LiveWindowKind::Measurement, LiveWindowKind::Pulse, ChildKind::History});
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    QVERIFY(SensorLink::Instance().IsConnected());
    const QSize minimum = MdiArrange::MinimumWindowSize().boundedTo(Room(frame).size());

    frame.RouteCommand(cmd::kModeAvgPeak);
    QMdiSubWindow* measurement = frame.SubWindowOf(LiveWindowKind::Measurement);
    QVERIFY(measurement && measurement->isMaximized());
    // A history window over it, maximised and active.
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    QMdiSubWindow* history = frame.SubWindowOf(ChildKind::History);
    QVERIFY(history->isMaximized());
    QCOMPARE(frame.MdiArea()->activeSubWindow(), history);

    // Pulse Power: the active history window closes and the pulse window
    // opens; the measurement window is left as it was.
    frame.RouteCommand(cmd::kModePulse);
    QMdiSubWindow* pulse = frame.SubWindowOf(LiveWindowKind::Pulse);
    QVERIFY(pulse && !frame.SubWindowOf(ChildKind::History));
    QCOMPARE(frame.MdiArea()->activeSubWindow(), pulse);
    QVERIFY(pulse->isMaximized() || Usable(frame, *pulse, minimum.width(), minimum.height()));
    QVERIFY(measurement->isMaximized() || Usable(frame, *measurement, minimum.width(), minimum.height()));
    QVERIFY(pulse->widget()->windowTitle() != measurement->widget()->windowTitle());
    QCOMPARE(pulse->widget()->windowTitle(), QStringLiteral("USB, PX420B - Pulse Power"));
    for (QMdiSubWindow* w : Shown(frame)) {
      if (w->isMaximized()) w->showNormal();
      QVERIFY2(
          Usable(frame, *w, minimum.width(), minimum.height()),
          qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())));
    }

    // Not maximised now: a new window opens beside the others, on screen.
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    history = frame.SubWindowOf(ChildKind::History);
    QVERIFY(!history->isMaximized());
    QVERIFY(Usable(frame, *history, minimum.width(), minimum.height()));
    QVERIFY(history->pos() != pulse->pos());
    for (QMdiSubWindow* w : Shown(frame)) QVERIFY(Usable(frame, *w, minimum.width(), minimum.height()));
  }

  // The power-direction warning is read whole at 800 × 600: its pane makes
  // room, or wraps it onto a second line.
  void StatusWarningIsReadWhole() {
    CMainFrame frame;
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.SetStatusText(QStringLiteral("Model: PX420B   S/N: 20417   USB"), 0);
    const QString warning = QString::fromStdString(strings::GetString("S_SETTING_WARNING_POWER")) +
                            QStringLiteral(" (Avg:4012, Rev:4387)");
    for (const int width : {800, 640, 1200}) {
      frame.resize(width, 600);
      frame.SetStatusText(warning, 1);
      auto* pane = frame.statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane1"));
      QVERIFY(pane);
      // Whole words on whole lines, every line inside the pane's height.
      QTRY_VERIFY(ShowsWhole(*pane, warning));
      QVERIFY(pane->geometry().right() <= frame.statusBar()->width());
      QVERIFY(pane->isVisible());
      // The first pane keeps its text whole too.
      auto* first = frame.statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane0"));
      QTRY_VERIFY(ShowsWhole(*first, first->text()));
    }
    // Cleared, the bar is one line again.
    frame.SetStatusText(QString(), 1);
    QTRY_VERIFY(frame.statusBar()->height() < 2 * QFontMetrics(frame.statusBar()->font()).height() + 8);
  }

  // A port this user may not open is marked in the list and says why.
  void ConnectDialogMarksPortsWithoutPermission() {
    const QString why = QString::fromStdString(Substitute(
        strings::GetString("S_CONNECT_NO_PERMISSION"), {{"device", "/dev/ttyUSB0"}, {"group", "dialout"}}));
    CConnectDlg dialog({{QStringLiteral("COM1"), 1}, {QStringLiteral("FTDI [ttyUSB0] (COM33)"), 33, why}},
                       nullptr);
    QComboBox* list = dialog.PortList();
    QCOMPARE(list->itemText(0), QStringLiteral("COM1"));
    QCOMPARE(list->itemText(1), QStringLiteral("FTDI [ttyUSB0] (COM33) ") +
                                    QString::fromStdString(strings::GetText("IDD_CONNECT", "IDC_NO_ACCESS")));
    QCOMPARE(list->itemData(1, Qt::ToolTipRole).toString(), why);
    QVERIFY(list->itemData(0, Qt::ToolTipRole).toString().isEmpty());
    QVERIFY(dialog.ProblemNote()->isHidden());
    list->setCurrentIndex(1);
    QVERIFY(!dialog.ProblemNote()->isHidden());
    QCOMPARE(dialog.ProblemNote()->text(), why);
    if (const QString dir = qEnvironmentVariable("WATTRIX_SCREENSHOT_DIR"); !dir.isEmpty()) {
      dialog.SerialButton()->setChecked(true);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      dialog.grab().save(dir + QStringLiteral("/connect-no-permission.png"));
    }
    list->setCurrentIndex(0);
    QVERIFY(dialog.ProblemNote()->isHidden());
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::WindowManagementTest)
#include "WindowManagementTest.moc"
