#include "ui/shell/CMainFrame.h"

#include "TestChildren.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/shell/FrameAccelerators.h"
#include "ui/shell/FrameToolBars.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <fstream>

namespace wattrix {

namespace {

// A menu as "id id | [sub menu] id": items by command id, separators as
// "|", nested popups in brackets.
QString Describe(const QMenu& menu) {
  QStringList parts;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      parts << QStringLiteral("|");
    } else if (action->menu()) {
      parts << QStringLiteral("[%1]").arg(Describe(*action->menu()));
    } else {
      parts << QString::number(action->data().toInt());
    }
  }
  return parts.join(u' ');
}

QStringList DescribeBar(const QMenuBar& bar) {
  QStringList popups;
  for (QAction* popup : bar.actions()) popups << Describe(*popup->menu());
  return popups;
}

QString ItemText(const QMenuBar& bar, int id) {
  for (QAction* popup : bar.actions())
    for (QAction* item : popup->menu()->actions())
      if (item->data().toInt() == id) return item->text();
  return {};
}

QStringList Chords(const FrameAccelerators& keys) {
  QStringList chords;
  for (QAction* action : keys.Actions()) chords << action->shortcut().toString(QKeySequence::PortableText);
  return chords;
}

// A small history file of the default model (PX420B).
std::string WriteHistory(const std::string& path) {
  MeasurementSettings settings;
  for (int i = 0; i < 5; ++i) settings.AddReading(kAvg, 40.0f + static_cast<float>(i) / 10);
  return WriteHistoryFile(path, settings, QuantityMask{0x01}, "bench run") ? path : std::string();
}

const QString kMode = QStringLiteral("32898 32880 32881 32882 32883");

}  // namespace

class MainFrameTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  // The five menus as the frame's builder makes them, against the layout
  // the program's menus have always had.
  void MenusHaveTheirItemsSeparatorsAndTitles() {
    MenuBuilder builder([](int) {}, [](int) { return CommandState{true, false}; });
    QMenuBar bar;
    builder.FillMenuBar(bar, menu::MenuKind::Main);
    QCOMPARE(DescribeBar(bar), (QStringList{"32801 32802 57601 | 57665", kMode, "32885 | 32803",
                                            "59392 59393", "57670 | 57664"}));
    QCOMPARE(bar.actions()[2]->text(), QString::fromStdString(strings::GetMenuText("MENU_MEASURE_DEVICE")));

    builder.FillMenuBar(bar, menu::MenuKind::Measurement);
    QCOMPARE(
        DescribeBar(bar),
        (QStringList{"32801 32802 57601 57602 | 57603 | 57665", kMode, "32807 32808 | 32809 | 32885 | 32803",
                     "32772 32775 | 32774 | 59392 59393", "57650 57651 57652", "57670 | 57664"}));

    builder.FillMenuBar(bar, menu::MenuKind::History);
    QCOMPARE(DescribeBar(bar),
             (QStringList{"32801 32802 57601 57602 | 57603 57604 | [32823 32824] 32844 | 32863 | 57665",
                          kMode, "32885 | 32803", "32839 32888 32840 32889 [32838 32837] 32846 | 59392 59393",
                          "57650 57651 57652", "57670 | 57664"}));
    QCOMPARE(bar.actions()[0]->text(), QString::fromStdString(strings::GetMenuText("MENU_HISTORY_FILE")));
    for (QAction* popup : bar.actions())
      for (QAction* item : popup->menu()->actions())
        if (!item->isSeparator()) QVERIFY2(!item->text().isEmpty(), qPrintable(Describe(*popup->menu())));

    QWidget owner;
    QCOMPARE(Describe(*builder.BuildPopup(menu::MenuKind::MeasurementPopup, &owner)),
             QStringLiteral("[32772 32775 | 32774] 32780 | [32807 32808 | 32809] | [32790 32791] "
                            "[32834 32835 | 32782 32783] | 32803"));
    QCOMPARE(
        Describe(*builder.BuildPopup(menu::MenuKind::HistoryPopup, &owner)),
        QStringLiteral("[32823 32824] 32844 | 32863 32890 | 32839 32888 32840 32889 [32838 32837] 32846"));
  }

  // Menu, keys and tool bar follow the kind of the active child; the user's
  // choice to hide the tool bars outlasts a switch.
  void MenusKeysAndToolBarsFollowTheActiveChild() {
    test::TempDir dir;
    const std::string path = WriteHistory(dir.Path() + "/run.psh");
    QVERIFY(!path.empty());
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    test::RegisterTestChildren(frame, log, {ChildKind::History});

    QCOMPARE(frame.ShownMenu(), menu::MenuKind::Main);
    QCOMPARE(Chords(frame.Accelerators()), (QStringList{"Alt+X", "Ctrl+D", "Ctrl+I", "Ctrl+O", "Ctrl+H"}));
    QVERIFY(!frame.ToolBars().ToolBar(FrameToolBars::Bar::Main)->isHidden());
    QVERIFY(frame.ToolBars().ToolBar(FrameToolBars::Bar::History)->isHidden());

    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    QCOMPARE(frame.ShownMenu(), menu::MenuKind::History);
    QCOMPARE(frame.menuBar()->actions()[0]->text(),
             QString::fromStdString(strings::GetMenuText("MENU_HISTORY_FILE")));
    QCOMPARE(Chords(frame.Accelerators()),
             (QStringList{"Alt+X", "Ctrl+D", "Ctrl+I", "Ctrl+O", "Ctrl+H", "Ctrl+S", "Ctrl+A"}));
    QVERIFY(ItemText(*frame.menuBar(), cmd::kFileSave).endsWith(QStringLiteral("\tCtrl+S")));
    QVERIFY(!frame.ToolBars().ToolBar(FrameToolBars::Bar::History)->isHidden());
    QVERIFY(frame.ToolBars().ToolBar(FrameToolBars::Bar::Main)->isHidden());

    // A key runs the active child's command.
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(log->Saw(ChildKind::History, "command 57603"));
    // Ctrl+T belongs to measurement windows only.
    QTest::keyClick(&frame, Qt::Key_T, Qt::ControlModifier);
    QTest::qWait(20);
    QVERIFY(!log->Saw(ChildKind::History, "command 32803"));

    frame.RouteCommand(cmd::kViewToolBar);
    QVERIFY(!frame.ToolBars().AnyVisible());
    QVERIFY(!frame.CommandStateOf(cmd::kViewToolBar).checked);
    frame.RouteCommand(cmd::kSwitchToolBar);
    QVERIFY(!frame.ToolBars().AnyVisible());
    frame.RouteCommand(cmd::kViewToolBar);
    QVERIFY(!frame.ToolBars().ToolBar(FrameToolBars::Bar::History)->isHidden());
    QVERIFY(frame.CommandStateOf(cmd::kViewToolBar).checked);

    // Closing the last child brings the main frame's set back.
    frame.RouteCommand(cmd::kFileClose);
    QTRY_VERIFY(frame.MdiArea()->subWindowList().isEmpty());
    QTRY_COMPARE(frame.ShownMenu(), menu::MenuKind::Main);
    QVERIFY(!frame.ToolBars().ToolBar(FrameToolBars::Bar::Main)->isHidden());
    QCOMPARE(Chords(frame.Accelerators()).size(), 5);
  }

  // The open flow: titles "<path>, <model>"; a file that fails to load shows
  // the error box and leaves no window; the command line loses its quotes.
  void OpeningHistoryFiles() {
    test::TempDir dir;
    QVERIFY(HostPaths::MakeDirs(dir.Path() + "/with space"));
    QVERIFY(!WriteHistory(dir.Path() + "/with space/run 1.psh").empty());
    const std::string bad = dir.Path() + "/bad.psh";
    std::ofstream(bad) << "not a history file";

    test::RecordingMessageBoxes boxes;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    test::RegisterTestChildren(frame, log, {ChildKind::History});

    QCOMPARE(CMainFrame::CommandLineFile({}), QString());
    QCOMPARE(CMainFrame::CommandLineFile({QStringLiteral("\"/a b/c.psh\"")}), QStringLiteral("/a b/c.psh"));
    QCOMPARE(CMainFrame::CommandLineFile({QStringLiteral("\"/a"), QStringLiteral("b/c.psh\"")}),
             QStringLiteral("/a b/c.psh"));
    frame.OpenCommandLineFile({});
    QVERIFY(frame.MdiArea()->subWindowList().isEmpty());

    const QString quoted =
        QStringLiteral("\"%1\"").arg(QString::fromStdString(dir.Path() + "/with space/run 1.psh"));
    frame.OpenCommandLineFile({quoted});
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.ActiveChild()->windowTitle(),
             QString::fromStdString(dir.Path() + "/with space/run 1.psh, PX420B"));
    QVERIFY(log->Saw(ChildKind::History, "initial"));
    QVERIFY(boxes.boxes.empty());

    for (const std::string& path : {bad, dir.Path() + "/missing.psh"}) {
      QVERIFY(!frame.OpenHistoryFile(QString::fromStdString(path)));
      QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);  // only the good one
    }
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_MAINFRAME_ONFILEOPEN"));
    QCOMPARE(boxes.boxes[0].caption, std::string("Wattrix"));
    QCOMPARE(boxes.boxes[0].type, mb::kIconError | mb::kOk);
    QCOMPARE(boxes.boxes[0].owner, static_cast<void*>(&frame));
  }

  // Without a sensor no mode, setting or logging command is offered, and a
  // command whose window class or dialog is missing stays off.
  void CommandsOffWithoutSensorOrWindowClass() {
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    QVERIFY(!frame.CommandStateOf(cmd::kFileOpen).enabled);  // no history window class
    test::RegisterTestChildren(
        frame, log, {LiveWindowKind::Measurement, LiveWindowKind::Pulse, LiveWindowKind::Ccdf, ChildKind::History});
    frame.SetSettingsDialog([](QWidget*, MeasurementSettings&, int, int) { return true; });
    frame.SetLoggingDialog([](QWidget*, MeasurementSettings&) {});
    QVERIFY(frame.CommandStateOf(cmd::kConnectDevice).enabled);
    QVERIFY(!frame.CommandStateOf(cmd::kDisconnectDevice).enabled);
    QVERIFY(frame.CommandStateOf(cmd::kFileOpen).enabled);
    for (int id : {cmd::kModeAvgPeak, cmd::kModeAvg, cmd::kModePeak, cmd::kModePulse, cmd::kModeCcdf,
                   cmd::kDownloadLogging, cmd::kDeviceSetting, cmd::kReport, cmd::kFileSave, cmd::kFileClose})
      QVERIFY2(!frame.CommandStateOf(id).enabled, qPrintable(QString::number(id)));
    // A mode command that reaches the frame anyway opens nothing.
    frame.RouteCommand(cmd::kModeAvgPeak);
    QVERIFY(frame.MdiArea()->subWindowList().isEmpty());
  }

  // Pane 0 takes two thirds of the width, pane 1 one third.
  void StatusBarPanes() {
    CMainFrame frame;
    frame.resize(900, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.SetStatusText(QStringLiteral("Reverse power is higher"), 1);
    frame.SetStatusText(QStringLiteral("ignored"), 2);
    QCOMPARE(frame.StatusText(1), QStringLiteral("Reverse power is higher"));
    auto* pane0 = frame.statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane0"));
    auto* pane1 = frame.statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane1"));
    QVERIFY(pane0 && pane1);
    QTRY_VERIFY(std::abs(pane0->width() - 2 * pane1->width()) < 16);
    frame.resize(1200, 600);
    QTRY_VERIFY(std::abs(pane0->width() - 2 * pane1->width()) < 16);
    frame.RouteCommand(cmd::kViewStatusBar);
    QVERIFY(frame.statusBar()->isHidden());
    QVERIFY(!frame.CommandStateOf(cmd::kViewStatusBar).checked);
  }

  // Without the string table the frame still comes up; its texts are empty.
  void StartsWithoutStringTable() {
    test::TempDir dir;
    strings::SetStringTablePath(dir.Path() + "/QLMXEnStr.ini");
    test::RecordingMessageBoxes boxes;
    auto log = std::make_shared<test::ChildLog>();
    CMainFrame frame;
    test::RegisterTestChildren(frame, log, {ChildKind::History});
    QCOMPARE(frame.windowTitle(), QStringLiteral("Wattrix "));
    QCOMPARE(frame.menuBar()->actions().size(), 5);
    QVERIFY(frame.menuBar()->actions()[0]->text().isEmpty());
    // A failure whose text is missing shows no box, and still leaves no window.
    QVERIFY(!frame.OpenHistoryFile(QString::fromStdString(dir.Path() + "/missing.psh")));
    QVERIFY(boxes.boxes.empty());
    QVERIFY(frame.MdiArea()->subWindowList().isEmpty());
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::MainFrameTest)
#include "MainFrameTest.moc"
