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
#include "ui/platform/FramePacer.h"
#include "ui/platform/QtCanvas.h"

#include <QPainter>
#include <QSplitterHandle>
#include <QtTest>

#include <cmath>
#include <span>
#include <vector>

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

// Passes the paced repaints on and paints them now.
void Paint(CCcdfFrame& frame) {
  frame.Pacer().Flush();
  frame.repaint();
}

// A falling curve from 0 dB at 100 % to `end` dB at 0.01 %, with `wiggle`
// shifting its middle, as successive sweeps move it.
std::vector<CcdfPoint> Curve(float end, float wiggle) {
  std::vector<CcdfPoint> curve;
  for (int i = 400; i >= 0; --i) {
    const float t = static_cast<float>(i) / 400.0f;
    curve.push_back(CcdfPoint{-4.0f * t * t + wiggle * t * (1 - t), end * t});
  }
  return curve;
}

// A curve that stays high up to 18 dB, through the legend's corner, and
// starts at `start` (log of the fraction) at 0 dB.
std::vector<CcdfPoint> HighCurve(float start) {
  std::vector<CcdfPoint> curve{CcdfPoint{-4.0f, 18.2f}};
  for (int i = 0; i <= 200; ++i) curve.push_back(CcdfPoint{-0.3f, 18.0f - 0.09f * static_cast<float>(i)});
  curve.push_back(CcdfPoint{start, 0.0f});
  return curve;
}

// The graph as a single whole drawing of `curve` with the marker at
// drawing index `marker` paints it at `size`.
QImage WholeDrawing(QSize size, std::span<const CcdfPoint> curve, int marker) {
  CCcdfGraph graph(0, 0, 0, 0, 1);
  graph.SetLegend(strings::GetString("S_CCDF_GRAPH_MEASURED"), strings::GetString("S_CCDF_GRAPH_REFERENCE"));
  graph.SetCanvas(0, 0, size.width(), size.height());
  graph.SetCurve(CcdfSession::kGraphXFrom, CcdfSession::kGraphXTo, CcdfSession::kGraphYFirst,
                 CcdfSession::kGraphYSecond, Curve(9.0f, 0.0f));
  // A curve shown before sets the ranges an empty one keeps.
  graph.SetMarkerIndex(marker);
  graph.SetCurve(CcdfSession::kGraphXFrom, CcdfSession::kGraphXTo, CcdfSession::kGraphYFirst,
                 CcdfSession::kGraphYSecond, curve);
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  graph.Draw(canvas);
  return image;
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
    Paint(frame);
    QCOMPARE(paints(), shown);

    // One sweep: the curve once, and the panels whose texts changed (not
    // the device and limit panels).
    Deliver(frame, Sweep(2000));
    Paint(frame);
    const std::vector<int> after = paints();
    QCOMPARE(after[0], shown[0] + 1);
    QCOMPARE(after[1 + int(CcdfPanel::L1)], shown[1 + int(CcdfPanel::L1)]);
    QCOMPARE(after[1 + int(CcdfPanel::L3)], shown[1 + int(CcdfPanel::L3)]);
    for (CcdfPanel p : {CcdfPanel::L2, CcdfPanel::RB1, CcdfPanel::RB2, CcdfPanel::RB3})
      QCOMPARE(after[1 + int(p)], shown[1 + int(p)] + 1);

    // The next sweep moves the curve: the face stays, and only the bands
    // of the old and new line are drawn again; the panel headings stay.
    const int faces = frame.Graph().FacePaints();
    Deliver(frame, Sweep(2010));
    Paint(frame);
    QCOMPARE(frame.Graph().SurfacePaints(), after[0] + 1);
    QCOMPARE(frame.Graph().FacePaints(), faces);
    qint64 area = 0;
    for (const QRect& r : frame.Graph().LastSurfaceRegion()) area += qint64(r.width()) * r.height();
    const QSize graph = frame.Graph().size();
    QVERIFY2(area * 4 < qint64(graph.width()) * graph.height(), qPrintable(QString::number(area)));
    for (CcdfPanel p : {CcdfPanel::RB2, CcdfPanel::RB3}) {
      const CCcdfTextView& panel = frame.Panel(p);
      QCOMPARE(panel.SurfacePaints(), after[1 + int(p)] + 1);
      const PanelFit::Line& heading = panel.Fit().lines.at(0);
      QVERIFY(!panel.LastSurfaceRegion().isEmpty());
      QVERIFY(!panel.LastSurfaceRegion().intersects(
          QRect(heading.left, heading.top, heading.width, heading.height / 2)));
    }
    QVERIFY(!frame.Graph().Graph().MarkerText().empty());
  }

  // What the graph draws again for a new curve or marker equals a whole
  // drawing, wherever the line moved: across the legend, to nothing, and
  // back.
  void PartialGraphRepaintsMatchAWholeDrawing() {
    CCcdfGraphCtrl ctrl;
    ctrl.resize(880, 515);
    ctrl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ctrl));
    const auto show = [&ctrl](const std::vector<CcdfPoint>& curve) {
      ctrl.SetCurve(CcdfSession::kGraphXFrom, CcdfSession::kGraphXTo, CcdfSession::kGraphYFirst,
                    CcdfSession::kGraphYSecond, curve);
      return ctrl.Surface();
    };
    show(Curve(9.0f, 0.0f));
    const int faces = ctrl.FacePaints();
    const std::vector<std::vector<CcdfPoint>> curves{Curve(9.2f, 0.3f), Curve(8.1f, -0.6f), {},
                                                     Curve(9.5f, 0.1f), HighCurve(-0.3f),   HighCurve(-0.05f),
                                                     Curve(9.7f, 0.2f)};
    for (const auto& curve : curves) {
      const QImage shown = show(curve);
      QVERIFY(shown == WholeDrawing(ctrl.size(), curve, 0));
    }
    QCOMPARE(ctrl.FacePaints(), faces);
    // The high curves did cross the legend; the second one changed only
    // outside it.
    const PixelRect legend = ctrl.Graph().LegendBox();
    QVERIFY(legend.width > 0);
    QVERIFY(ctrl.Graph().MapPoint(17.0f, -0.3f).x > legend.left);
    QVERIFY(ctrl.Graph().MapPoint(17.0f, -0.3f).y < legend.Bottom());

    // A drag of the marker along the line.
    const PixelRect box = ctrl.Graph().MarkerBox();
    const QPoint grip(box.left + 4, box.top + 4);
    QTest::mousePress(&ctrl, Qt::LeftButton, {}, grip);
    QVERIFY(ctrl.Dragging());
    const QPoint to = grip + QPoint(-150, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), ctrl.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ctrl, &move);
    QTest::mouseRelease(&ctrl, Qt::LeftButton, {}, to);
    const int marker = ctrl.Graph().MarkerIndex();
    QVERIFY(marker > 0);
    QVERIFY(ctrl.Surface() == WholeDrawing(ctrl.size(), curves.back(), marker));
    // A size change draws the face again.
    ctrl.resize(700, 450);
    QVERIFY(ctrl.Surface() == WholeDrawing(QSize(700, 450), curves.back(), ctrl.Graph().MarkerIndex()));
    QCOMPARE(ctrl.FacePaints(), faces + 1);
  }

  // Sweeps that come faster than the frames are each processed at once;
  // only their paints are put together.
  void EverySweepIsProcessedWhilePaintsWait() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    settings.SetCcdfRate(0);  // a window of ten sweeps
    CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
    frame.resize(1176, 690);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    Paint(frame);
    const int graphPaints = frame.Graph().SurfacePaints();
    const int panelPaints = frame.Panel(CcdfPanel::RB2).SurfacePaints();
    frame.Pacer().SetFrameInterval(10000);
    for (int i = 0; i < 25; ++i) {
      Deliver(frame, Sweep(2000 + 7 * i));
      QCOMPARE(frame.Session().SweepsProcessed(), i + 1);
      QVERIFY(!SensorLink::Instance().BusyFlag());
    }
    QCOMPARE(frame.Session().Data().StoredSweeps(), 10);
    QCOMPARE(frame.Panel(CcdfPanel::L2).Texts().at(3), Str("S_CCDF_FRAME_SAMPLE") + "100,000 / 100,000");
    QVERIFY(frame.Pacer().Pending());
    Paint(frame);
    QCOMPARE(frame.Graph().SurfacePaints(), graphPaints + 1);
    QCOMPARE(frame.Panel(CcdfPanel::RB2).SurfacePaints(), panelPaints + 1);
    QVERIFY(frame.Graph().Surface() ==
            WholeDrawing(frame.Graph().size(), frame.Session().Data().CcdfCurve(), 0));
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::CcdfWindowTest)
#include "CcdfWindowTest.moc"
