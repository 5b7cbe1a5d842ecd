#include "HistoryTestFiles.h"

#include "core/history/HistoryDocument.h"
#include "core/history/HistoryLayout.h"
#include "core/platform/HostPaths.h"
#include "core/platform/MessageBoxes.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/history/CHistoryFrame.h"
#include "ui/history/CHistoryView.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QtTest>

#include <cstring>

namespace wattrix {

namespace {

CommandState StateOf(CHistoryFrame& frame, int id) {
  CommandState state{true, true};
  if (!frame.UpdateCommand(id, state)) return CommandState{true, true};  // marks "not decided"
  return state;
}

QAction* ActionOf(QMenu& menu, int id) {
  for (QAction* action : menu.actions()) {
    if (QMenu* sub = action->menu()) {
      if (QAction* found = ActionOf(*sub, id)) return found;
    } else if (action->data().toInt() == id) {
      return action;
    }
  }
  return nullptr;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// A history window over real files: opening, quantity commands and their
// menu states, the right-click menu, Save, Save As and the exports with
// their failures.
class HistoryViewTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  void OpensFilesAndRefusesBadOnes() {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("short.psh"), std::string(217, '\x01'));  // payload not whole records
    CHistoryFrame frame;
    QCOMPARE(frame.Kind(), ChildKind::History);
    QVERIFY(!frame.LoadHistory(Q(dir.File("missing.psh"))));
    QVERIFY(!frame.LoadHistory(Q(dir.File("short.psh"))));
    QVERIFY(!frame.View().Document().IsLoaded());
    QCOMPARE(StateOf(frame, cmd::kViewAvg), (CommandState{false, false}));
    QCOMPARE(StateOf(frame, cmd::kExportCsv), (CommandState{false, false}));
    QVERIFY(!frame.OnCommand(cmd::kExportCsv));

    const auto path = dir.File("run.psh");
    test::WriteRunFile(path, 0, 0x13, 50, "Bench 3");
    QVERIFY(frame.LoadHistory(Q(path)));
    QCOMPARE(frame.ModelName(), QStringLiteral("PX420A"));
    QCOMPARE(frame.HistoryTitle(), Q(path) + QStringLiteral(", PX420A"));
    QCOMPARE(frame.View().Graph().Feeder().Points().size(), std::size_t{50});
    QCOMPARE(Q(frame.View().Graph().Feeder().Settings().title), QStringLiteral("Bench 3"));
    // A failed load afterwards keeps what is shown.
    QVERIFY(!frame.LoadHistory(Q(dir.File("short.psh"))));
    QCOMPARE(frame.ModelName(), QStringLiteral("PX420A"));
  }

  void QuantityCommandsFollowTheFileAndTheMenus() {
    test::TempDir dir;
    const auto path = dir.File("run.psh");
    test::WriteRunFile(path, 0, 0x13, 80, "");
    CHistoryFrame frame;
    frame.resize(700, 500);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.LoadHistory(Q(path)));
    const CGraph& graph = frame.View().Graph().Graph();

    QCOMPARE(StateOf(frame, cmd::kViewAvg), (CommandState{true, true}));
    QCOMPARE(StateOf(frame, cmd::kViewRev), (CommandState{false, false}));
    QCOMPARE(StateOf(frame, cmd::kViewPulse), (CommandState{false, false}));
    QCOMPARE(StateOf(frame, cmd::kViewVswr), (CommandState{true, false}));
    QCOMPARE(StateOf(frame, cmd::kViewPar), (CommandState{false, false}));
    QCOMPARE(StateOf(frame, cmd::kFileSave), (CommandState{false, false}));
    QCOMPARE(StateOf(frame, cmd::kFileSaveAs), (CommandState{true, false}));
    QCOMPARE(StateOf(frame, cmd::kReport), (CommandState{true, false}));
    CommandState untouched{true, true};
    QVERIFY(!frame.UpdateCommand(cmd::kFileClose, untouched));  // the main frame's
    QVERIFY(!frame.OnCommand(cmd::kSwitchToolBar));
    QCOMPARE(Q(graph.Settings().title), Q(strings::GetString("S_GRAPH_HISTORYGRAPH")));

    QVERIFY(frame.OnCommand(cmd::kViewReturnLoss));
    QCOMPARE(StateOf(frame, cmd::kViewReturnLoss), (CommandState{true, true}));
    QCOMPARE(StateOf(frame, cmd::kViewVswr), (CommandState{true, false}));
    QCOMPARE(StateOf(frame, cmd::kViewAvg), (CommandState{true, false}));
    QCOMPARE(StateOf(frame, cmd::kFileSave), (CommandState{true, false}));
    QCOMPARE(graph.YMin(), -60.0);
    QCOMPARE(graph.YMax(), 0.0);
    QCOMPARE(Q(graph.Unit()), QStringLiteral("dB"));
    QCOMPARE(Q(graph.Settings().yLabel), Q(strings::GetString("S_MEASUREVIEW_RL")));

    // A command the file cannot show changes nothing.
    QVERIFY(frame.OnCommand(cmd::kViewRev));
    QCOMPARE(frame.View().Document().Quantity(), kVswr);
    QVERIFY(frame.View().Document().ReturnLoss());

    // Right click on the graph: the history pop-up at the cursor, with the
    // states of the window; its items reach the window.
    QMenu* popup = frame.ContextMenu();
    QVERIFY(popup);
    QVERIFY(popup->actions().size() > 5);
    QTest::mousePress(&frame.View().Graph(), Qt::RightButton, {}, QPoint(40, 50));
    QTRY_VERIFY(popup->isVisible());
    QVERIFY(ActionOf(*popup, cmd::kViewReturnLoss)->isChecked());
    QVERIFY(!ActionOf(*popup, cmd::kViewVswr)->isChecked());
    QVERIFY(!ActionOf(*popup, cmd::kViewRev)->isEnabled());
    QVERIFY(ActionOf(*popup, cmd::kReport)->isEnabled());
    QVERIFY(ActionOf(*popup, cmd::kChangeScale)->isEnabled());
    popup->hide();
    ActionOf(*popup, cmd::kViewPeak)->trigger();
    QCOMPARE(frame.View().Document().Quantity(), kPeak);
    QCOMPARE(graph.YMax(), 50.0);
    QCOMPARE(Q(graph.Unit()), QStringLiteral("dBm"));

    // A left click shows nothing.
    QTest::mousePress(&frame.View().Graph(), Qt::LeftButton, {}, QPoint(40, 50));
    QTest::qWait(20);
    QVERIFY(!popup->isVisible());
  }

  void SaveAndSaveAsWriteTheHistoryAndReportFailures() {
    test::TempDir dir;
    test::RecordingMessageBoxes boxes;
    QDir().mkpath(Q(dir.File("sub")));
    const auto path = dir.File("sub/run.psh");
    test::WriteRunFile(path, 0, 0x13, 30, "Bench 3");
    CHistoryFrame frame;
    QVERIFY(frame.LoadHistory(Q(path)));
    std::vector<SavePathRequest> asked;
    QString answer = Q(dir.File("copy.psh"));
    frame.View().SetSavePathChooser([&](QWidget*, const SavePathRequest& request) {
      asked.push_back(request);
      return answer;
    });

    // Save is nothing to do until something changed.
    const auto before = test::ReadFileBytes(path);
    QVERIFY(frame.OnCommand(cmd::kFileSave));
    QCOMPARE(test::ReadFileBytes(path), before);
    QVERIFY(frame.OnCommand(cmd::kViewVswr));
    QVERIFY(frame.OnCommand(cmd::kFileSave));
    QVERIFY(!frame.View().Document().Changed());
    QCOMPARE(StateOf(frame, cmd::kFileSave).enabled, false);
    HistoryDocument reread;
    QVERIFY(reread.Load(path));
    QVERIFY(reread.Header() == frame.View().Document().Header());
    QVERIFY(std::ranges::equal(reread.Points(), frame.View().Document().Points()));

    // Save As: the same bytes elsewhere; path and changed flag stay.
    QVERIFY(frame.OnCommand(cmd::kViewAvg));
    QVERIFY(frame.OnCommand(cmd::kFileSaveAs));
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].suffix, QStringLiteral("psh"));
    QCOMPARE(asked[0].proposedName, QStringLiteral("run.psh"));
    QVERIFY(asked[0].filter.startsWith(QStringLiteral("PSH files (*.psh);;")));
    QCOMPARE(test::ReadFileBytes(dir.File("copy.psh")), test::ReadFileBytes(path));
    QCOMPARE(Q(frame.View().Document().Path()), Q(path));
    QVERIFY(frame.View().Document().Changed());
    answer.clear();  // cancelled
    QVERIFY(frame.OnCommand(cmd::kFileSaveAs));
    QVERIFY(boxes.boxes.empty());

    // The folder went away: both fail with their boxes, the flag stays.
    QVERIFY(QDir(Q(dir.File("sub"))).removeRecursively());
    answer = Q(dir.File("sub/again.psh"));
    QVERIFY(frame.OnCommand(cmd::kFileSave));
    QVERIFY(frame.OnCommand(cmd::kFileSaveAs));
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_HISTORYVIEW_ONFILESAVE"));
    QCOMPARE(boxes.boxes[0].caption, std::string("Wattrix"));
    QCOMPARE(boxes.boxes[0].type, mb::kIconError | mb::kOk);
    QCOMPARE(boxes.boxes[0].owner, static_cast<void*>(static_cast<QWidget*>(&frame.View())));
    QCOMPARE(boxes.boxes[1].text, strings::GetString("S_HISTORYVIEW_ONFILESAVEAS"));
    QVERIFY(frame.View().Document().Changed());

    // A converted older file has no path to save to; Save As stores it in
    // the current layout.
    boxes.boxes.clear();
    test::WriteLegacyFile(dir.File("old.psh"), 4);
    CHistoryFrame old;
    QVERIFY(old.LoadHistory(Q(dir.File("old.psh"))));
    old.View().SetSavePathChooser([&](QWidget*, const SavePathRequest&) { return Q(dir.File("new.psh")); });
    QVERIFY(old.OnCommand(cmd::kViewPeak));
    QVERIFY(old.OnCommand(cmd::kFileSave));
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_HISTORYVIEW_ONFILESAVE"));
    QVERIFY(old.OnCommand(cmd::kFileSaveAs));
    QCOMPARE(test::ReadFileBytes(dir.File("new.psh")).size(), std::size_t{216 + 4 * 12});
  }

  void ExportsWriteCsvAndBitmapAndFailuresChangeNothing() {
    test::TempDir dir;
    test::RecordingMessageBoxes boxes;
    const auto path = dir.File("run.psh");
    test::WriteRunFile(path, 0, 0x13, 40, "Bench 3");
    CHistoryFrame frame;
    frame.resize(640, 480);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.LoadHistory(Q(path)));
    QString answer;
    frame.View().SetSavePathChooser([&](QWidget*, const SavePathRequest&) { return answer; });

    answer = Q(dir.File("run.csv"));
    QVERIFY(frame.OnCommand(cmd::kExportCsv));
    const auto csv = test::ReadFileBytes(dir.File("run.csv"));
    QVERIFY(csv.starts_with("Model, PX420A\r\nSN, 1234\r\nType, Directional\r\n"));
    QVERIFY(csv.find("AVG, VSWR, PEAK\r\n10.00,1.20,15.00\r\n") != std::string::npos);

    // The bitmap: the graph at the control's client size, rows bottom-up.
    CGraphCtrl& graph = frame.View().Graph();
    const int w = graph.width();
    const int h = graph.height();
    answer = Q(dir.File("run.bmp"));
    QVERIFY(frame.OnCommand(cmd::kExportBitmap));
    const auto bmp = test::ReadFileBytes(dir.File("run.bmp"));
    QCOMPARE(bmp.size(), std::size_t(54 + w * h * 4));
    QCOMPARE(bmp.substr(0, 2), std::string("BM"));
    std::int32_t fileW = 0, fileH = 0;
    std::memcpy(&fileW, &bmp[18], 4);
    std::memcpy(&fileH, &bmp[22], 4);
    QCOMPARE(fileW, w);
    QCOMPARE(fileH, h);
    const QImage image = graph.RenderClient();
    const auto* bottom = reinterpret_cast<const char*>(image.constScanLine(h - 1));
    QVERIFY(std::memcmp(&bmp[54], bottom, static_cast<std::size_t>(w) * 4) == 0);
    const auto* top = reinterpret_cast<const char*>(image.constScanLine(0));
    QVERIFY(std::memcmp(&bmp[bmp.size() - static_cast<std::size_t>(w) * 4], top, std::size_t(w) * 4) == 0);
    QCOMPARE(static_cast<unsigned char>(bmp[54]), 114);  // blue of the background first
    QCOMPARE(static_cast<unsigned char>(bmp[56]), 28);
    QVERIFY(boxes.boxes.empty());

    // Into a missing folder, and into a "full disk" over an older file:
    // the boxes, no file or the old one kept, the history unchanged.
    const HistoryHeader header = frame.View().Document().Header();
    answer = Q(dir.File("none/run.csv"));
    QVERIFY(frame.OnCommand(cmd::kExportCsv));
    answer = Q(dir.File("none/run.bmp"));
    QVERIFY(frame.OnCommand(cmd::kExportBitmap));
    {
      test::FileSizeLimit limit(4096);
      answer = Q(dir.File("run.bmp"));
      QVERIFY(frame.OnCommand(cmd::kExportBitmap));
    }
    QCOMPARE(boxes.boxes.size(), std::size_t{3});
    QCOMPARE(boxes.boxes[0].text, strings::GetString("S_HISTORYVIEW_ONEXPORTTOCSV"));
    QCOMPARE(boxes.boxes[1].text, strings::GetString("S_HISTORYVIEW_ONEXPORTTOJPG"));
    QCOMPARE(boxes.boxes[2].text, strings::GetString("S_HISTORYVIEW_ONEXPORTTOJPG"));
    QCOMPARE(boxes.boxes[2].type, mb::kIconError | mb::kOk);
    QVERIFY(!QDir(Q(dir.File("none"))).exists());
    QCOMPARE(test::ReadFileBytes(dir.File("run.bmp")), bmp);
    QVERIFY(frame.View().Document().Header() == header);
    QVERIFY(!frame.View().Document().Changed());
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor is gone again

    if (const QByteArray shots = qgetenv("WATTRIX_UI_SHOTS"); !shots.isEmpty()) {
      frame.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/history-avg.png"));
      frame.OnCommand(cmd::kViewReturnLoss);
      frame.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/history-rl.png"));
    }
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::HistoryViewTest)
#include "HistoryViewTest.moc"
