#include "core/ccdf/CcdfFrameLayout.h"
#include "core/device/SensorLink.h"
#include "core/device/TestReadings.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"
#include "ui/ccdf/CCcdfFrame.h"
#include "ui/ccdf/CCcdfGraphCtrl.h"
#include "ui/ccdf/CCcdfSplitter.h"
#include "ui/ccdf/CCcdfTextView.h"

#include <QSplitterHandle>
#include <QtTest>

#include <cmath>

namespace wattrix {

namespace {

std::string Str(const char* key) { return strings::GetString(key); }

// A sweep of 10,000 samples around `centre` (0.01 dBm): a falling
// staircase of bins above it, as a modulated signal gives.
CcdfHistogram Sweep(int centre) {
  CcdfHistogram h;
  int left = 10000;
  for (int i = 0; left > 0; ++i) {
    const int count = left / 2 + 1;  // half of what is left, fourteen bins in all
    h[centre + 50 * i] = count;
    left -= count;
  }
  return h;
}

// Hands a sweep to the window as the acquisition thread's delivery does.
void Deliver(CCcdfFrame& frame, const CcdfHistogram& sweep) {
  SensorLink::Instance().SetBusyFlag(true);
  frame.Session().OnReading(test::CcdfReading(1, sweep));
}

// Drags a splitter's first bar by `by` pixels with the left button.
void DragBar(CCcdfSplitter& splitter, int by) {
  QSplitterHandle* bar = splitter.handle(1);
  const QPoint from = bar->rect().center();
  const QPoint to = splitter.orientation() == Qt::Horizontal ? from + QPoint(by, 0) : from + QPoint(0, by);
  QMouseEvent press(QEvent::MouseButtonPress, from, bar->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, to, bar->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(bar, &press);
  QApplication::sendEvent(bar, &move);
  QApplication::sendEvent(bar, &release);
}

}  // namespace

// The CCDF window on its own: the size rule and the locked bars, the panel
// texts at their edge cases, the command states without a sensor, and the
// rule that only what changed is painted again.
class CcdfWindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  void SizeRuleHoldsAndTheBarsCannotBeDragged() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
    for (const QSize size : {QSize(1000, 700), QSize(801, 603), QSize(1176, 690)}) {
      frame.resize(size);
      frame.show();
      QVERIFY(QTest::qWaitForWindowExposed(&frame));
      const int cx = size.width(), cy = size.height();
      const CcdfFrameLayout rule = CcdfFrameLayout::For(cx, cy);
      // The panel column a quarter of the width, the graph three quarters
      // of the height, the upper two left panels a third each.
      QCOMPARE(frame.Splitter(CCcdfFrame::kLeft).width(), rule.outerColumn0.ideal);
      QCOMPARE(frame.Panel(CcdfPanel::L1).height(), cy / 3);
      QCOMPARE(frame.Panel(CcdfPanel::L2).height(), cy / 3);
      QCOMPARE(frame.Panel(CcdfPanel::L3).height(), cy - 2 * (cy / 3) - 2 * CCcdfSplitter::kBarWidth);
      QCOMPARE(frame.Graph().height(), (cy / 4) * 3);
      QCOMPARE(frame.Graph().width(), cx - cx / 4 - CCcdfSplitter::kBarWidth);
      QCOMPARE(frame.Panel(CcdfPanel::RB1).width(), cx / 4);
      QCOMPARE(frame.Panel(CcdfPanel::RB2).width(), cx / 4);
      QCOMPARE(frame.Panel(CcdfPanel::RB3).geometry().right(), frame.Graph().geometry().right());
      QCOMPARE(frame.Panel(CcdfPanel::RB1).height(), cy - (cy / 4) * 3 - CCcdfSplitter::kBarWidth);
    }

    // Every bar is locked: a drag moves nothing, and the cursor is the arrow.
    const QSize before = frame.Graph().size();
    for (auto index : {CCcdfFrame::kOuter, CCcdfFrame::kLeft, CCcdfFrame::kRight, CCcdfFrame::kLowerRight}) {
      CCcdfSplitter& splitter = frame.Splitter(index);
      QVERIFY(splitter.Locked());
      QCOMPARE(splitter.handle(1)->cursor().shape(), Qt::ArrowCursor);
      const QList<int> sizes = splitter.sizes();
      DragBar(splitter, 40);
      QCOMPARE(splitter.sizes(), sizes);
    }
    QCOMPARE(frame.Graph().size(), before);
    // The same drag on an unlocked splitter does move its bar.
    CCcdfSplitter& outer = frame.Splitter(CCcdfFrame::kOuter);
    outer.SetLocked(false);
    QCOMPARE(outer.handle(1)->cursor().shape(), Qt::SplitHCursor);
    DragBar(outer, 40);
    QVERIFY(outer.sizes().at(0) > 1176 / 4);
    // A size change brings the rule back.
    outer.SetLocked(true);
    frame.resize(900, 640);
    QTRY_COMPARE(outer.sizes().at(0), 900 / 4);
  }

  void PanelTextsAtTheirEdgeCases() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX470B);
    settings.SetCcdfRate(1);
    settings.SetDecimals(0);
    CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
    frame.resize(1176, 690);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const auto line = [&frame](CcdfPanel panel, std::size_t index) {
      return frame.Panel(panel).Texts().at(index);
    };
    QCOMPARE(line(CcdfPanel::L2, 3), Str("S_CCDF_FRAME_SAMPLE") + "0 / 200,000");
    // Technology only on the PX420B.
    QCOMPARE(line(CcdfPanel::L2, 5), std::string());
    QCOMPARE(line(CcdfPanel::L1, 1), Str("S_CCDF_FRAME_MODEL") + "PX470B");
    QCOMPARE(line(CcdfPanel::L1, 2), Str("S_CCDF_FRAME_TYPE") + "Terminating");

    for (int i = 0; i < 7; ++i) Deliver(frame, Sweep(1000 + 3 * i));
    QCOMPARE(frame.Session().Data().StoredSweeps(), 7);
    QCOMPARE(line(CcdfPanel::L2, 3), Str("S_CCDF_FRAME_SAMPLE") + "70,000 / 200,000");
    const CcdfStatistics& s = frame.Session().Statistics();
    QVERIFY(s.AveragePower > 10 && s.CrestFactor > 1);
    // No sensor connected: the average as computed (the PX470B's 35 dB
    // only comes off for a connected sensor reporting DeviceCode 14).
    QCOMPARE(line(CcdfPanel::RB1, 0),
             Str("S_CCDF_FRAME_AVG_PWR") +
                 QString::asprintf("%.0f", double(float(s.AveragePower))).toStdString() + " dBm");
    settings.SetDecimals(3);
    frame.ApplySettings();
    QCOMPARE(line(CcdfPanel::RB1, 0), Str("S_CCDF_FRAME_AVG_PWR") + " dBm");
    QCOMPARE(line(CcdfPanel::RB1, 1), Str("S_CCDF_FRAME_CREST") + " dB");
    settings.SetDecimals(2);
    frame.ApplySettings();
    QCOMPARE(line(CcdfPanel::RB2, 2), "[1%] " + QString::number(s.LevelAt[1], 'f', 2).toStdString() + " dB");
    QCOMPARE(line(CcdfPanel::RB3, 1),
             "[ 4dB] " + QString::number(s.ProbabilityAt[0], 'f', 2).toStdString() + " %");
    // RATE 3 counts to a million; an unknown RATE shows no progress.
    settings.SetCcdfRate(3);
    frame.ApplySettings();
    QCOMPARE(line(CcdfPanel::L2, 3), Str("S_CCDF_FRAME_SAMPLE") + "70,000 / 1,000,000");
    settings.SetCcdfRate(7);
    frame.ApplySettings();
    QCOMPARE(line(CcdfPanel::L2, 3), Str("S_CCDF_FRAME_SAMPLE"));
  }

  void CommandStatesWithoutASensor() {
    SensorLink::Instance().Disconnect();
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    settings.SetRelative(true);
    settings.SetLimitCheck(kCcdf, true);
    settings.SetBeepAlarm(kCcdf, false);
    CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
    const auto state = [&frame](int id) {
      CommandState s;
      if (!frame.UpdateCommand(id, s)) return CommandState{true, true};  // not the window's: fails below
      return s;
    };
    for (int id : {cmd::kMeasureStart, cmd::kMeasureStop, cmd::kMeasureReset})
      QCOMPARE(state(id), (CommandState{false, false}));
    QCOMPARE(state(cmd::kDeviceSetting), (CommandState{true, false}));
    QCOMPARE(state(cmd::kSetAsDefault), (CommandState{true, false}));
    QCOMPARE(state(cmd::kModeRelative), (CommandState{true, true}));
    QCOMPARE(state(cmd::kModeAbsolute), (CommandState{true, false}));
    QCOMPARE(state(cmd::kLimitCheckEnable), (CommandState{true, true}));
    QCOMPARE(state(cmd::kLimitCheckDisable), (CommandState{true, false}));
    QCOMPARE(state(cmd::kAlarmOn), (CommandState{true, false}));
    QCOMPARE(state(cmd::kAlarmOff), (CommandState{true, true}));
    for (int id : {cmd::kViewFullScreen, cmd::kViewMultiScreen, cmd::kViewHistoryGraph, cmd::kFileSave})
      QCOMPARE(state(id), (CommandState{false, false}));
    // Setting is the main frame's; Start does nothing without a sensor.
    QVERIFY(!frame.OnCommand(cmd::kDeviceSetting));
    QVERIFY(frame.OnCommand(cmd::kMeasureStart));
    QVERIFY(!frame.Session().Running());
  }

  void PaintsOnlyWhatChanged() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
    frame.resize(1176, 690);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::processEvents();
    const auto paints = [&frame] {
      std::vector<int> counts{frame.Graph().SurfacePaints()};
      for (int i = 0; i < kCcdfPanelCount; ++i)
        counts.push_back(frame.Panel(static_cast<CcdfPanel>(i)).SurfacePaints());
      return counts;
    };
    const std::vector<int> shown = paints();
    for (int count : shown) QVERIFY(count >= 1);

    // Nothing changed: a refresh and a repaint draw nothing again.
    frame.RefreshCcdfViews();
    frame.repaint();
    QCOMPARE(paints(), shown);

    // One sweep: the curve once, and the panels whose texts changed (not
    // the device and limit panels).
    Deliver(frame, Sweep(2000));
    frame.repaint();
    const std::vector<int> after = paints();
    QCOMPARE(after[0], shown[0] + 1);
    QCOMPARE(after[1 + int(CcdfPanel::L1)], shown[1 + int(CcdfPanel::L1)]);
    QCOMPARE(after[1 + int(CcdfPanel::L3)], shown[1 + int(CcdfPanel::L3)]);
    for (CcdfPanel p : {CcdfPanel::L2, CcdfPanel::RB1, CcdfPanel::RB2, CcdfPanel::RB3})
      QCOMPARE(after[1 + int(p)], shown[1 + int(p)] + 1);
    QVERIFY(!frame.Graph().Graph().MarkerText().empty());
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::CcdfWindowTest)
#include "CcdfWindowTest.moc"
