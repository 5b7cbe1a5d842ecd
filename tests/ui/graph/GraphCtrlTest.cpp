#include "core/history/HistoryHeader.h"
#include "core/history/HistoryLayout.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/platform/FramePacer.h"

#include <QSignalSpy>
#include <QtTest>

#include <cstdint>
#include <vector>

namespace wattrix {

namespace {

constexpr QRgb kBackground = qRgb(28, 61, 114);
constexpr QRgb kForeground = qRgb(210, 210, 210);
constexpr QRgb kData = qRgb(255, 255, 0);
constexpr QRgb kLimit = qRgb(255, 0, 0);

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

int Count(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += At(image, x, y) == colour;
  return n;
}

}  // namespace

// The graph control's off-screen drawing seen through its pixels, the live
// window following the plot width, and presses reaching the parent.
class GraphCtrlTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  void HistoryIsDrawnInTheScreenColoursAndCopiedWhole() {
    HistoryHeader header;
    header.SetMask(mask::kAvg);
    header.SetDisplay(history::TableEntry(kAvg), DisplayRange{-40, 50});
    header.SetStatistics(history::TableEntry(kAvg), QuantityStatistics{-20, 30, 5});
    std::vector<std::int32_t> points;
    for (int i = 0; i < 101; ++i) points.push_back(-2000 + 50 * i);  // -20 … 30 dBm

    CGraphCtrl ctrl;
    ctrl.resize(640, 420);
    ctrl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ctrl));
    QVERIFY(!ctrl.SetHistory(0, nullptr, points, 101, false));
    QVERIFY(ctrl.SetHistory(0, &header, points, 101, false));
    const QImage screen = ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(screen.size(), QSize(640, 420));
    const CGraph& graph = ctrl.Graph();
    QCOMPARE(graph.Area(), (PixelRect{0, 0, 640, 420}));
    const PixelRect plot = graph.PlotArea();

    QCOMPARE(At(screen, 1, 1), kBackground);
    QCOMPARE(At(screen, 639, 419), kBackground);
    QCOMPARE(At(screen, plot.left, plot.top + plot.height / 3), kForeground);  // frame
    for (const int i : {0, 37, 60, 100}) {
      const int x = graph.PixelX(i);
      const int y = graph.PixelY(-20 + 0.5 * i);
      QCOMPARE(At(screen, x, y), kData);
    }
    // Texts are drawn in the foreground colour: labels left of the plot.
    int labelPixels = 0;
    for (int y = plot.top; y < plot.Bottom(); ++y)
      for (int x = 0; x < plot.left; ++x) labelPixels += At(screen, x, y) != kBackground;
    QVERIFY(labelPixels > 200);

    // What reaches the screen is the off-screen drawing, all of it.
    QImage rendered = ctrl.RenderClient();
    QCOMPARE(rendered.size(), QSize(640, 420));
    QCOMPARE(rendered.convertToFormat(QImage::Format_RGB32), screen);

    // Narrower than the engine's minimum: it keeps 350 × 300 and is cut.
    ctrl.resize(200, 150);
    QCOMPARE(ctrl.Graph().Area().width, 350);
    const QImage small = ctrl.grab().toImage();
    QCOMPARE(small.size(), QSize(200, 150));
    QCOMPARE(At(small, 1, 1), kBackground);
    QVERIFY(Count(small, kForeground) > 100);
  }

  void LiveGraphShowsOneReadingPerPlotColumn() {
    MeasurementSettings settings;
    settings.SetDisplayRange(kAvg, -40, 50);
    settings.SetLimits(kAvg, -10, 20);
    settings.SetLimitCheck(kAvg, true);
    for (int i = 0; i < 3000; ++i) settings.AddReading(kAvg, static_cast<float>(i % 40) - 5);

    CGraphCtrl ctrl;
    ctrl.resize(600, 400);
    ctrl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ctrl));
    ctrl.ShowQuantity(0, kAvg, false);
    ctrl.AttachLive(&settings);
    QVERIFY(ctrl.IsLive());
    const int width = ctrl.Graph().PlotArea().width;
    QVERIFY(width > 300);
    QCOMPARE(ctrl.Feeder().LiveWindowWidth(), width);
    QCOMPARE(ctrl.Feeder().Points().size(), std::size_t(width));
    QCOMPARE(ctrl.Feeder().Points().front().x, float(3000 - width));

    settings.AddReading(kAvg, 12.5f);
    ctrl.UpdateLive(false);
    QCOMPARE(ctrl.Feeder().Points().size(), std::size_t(width));
    QCOMPARE(ctrl.Feeder().Points().back().y, 12.5f);
    const QImage image = ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CGraph& graph = ctrl.Graph();
    QCOMPARE(At(image, graph.PixelX(3000), graph.PixelY(12.5)), kData);
    QCOMPARE(At(image, graph.PlotArea().left + 3, graph.PixelY(20)), kLimit);
    QCOMPARE(At(image, graph.PlotArea().left + 3, graph.PixelY(-10)), kLimit);

    // A resize takes the new plot width at once.
    ctrl.resize(900, 400);
    QTRY_VERIFY(ctrl.Graph().PlotArea().width > width);
    QCOMPARE(ctrl.Feeder().LiveWindowWidth(), ctrl.Graph().PlotArea().width);
    QCOMPARE(ctrl.Feeder().Points().size(), std::size_t(ctrl.Graph().PlotArea().width));

    // Detached, the readings no longer reach the graph.
    ctrl.AttachLive(nullptr);
    settings.AddReading(kAvg, 1);
    ctrl.UpdateLive(false);
    QCOMPARE(ctrl.Feeder().Points().back().y, 12.5f);
  }

  // A live graph joins each new reading to its kept drawing and repaints
  // just that; once the window scrolls it redraws the plot area over the
  // kept chrome. Either way the screen shows what a whole drawing gives.
  void LiveReadingsRedrawOnlyWhatChanged() {
    MeasurementSettings settings;
    settings.SetDisplayRange(kAvg, -40, 50);
    settings.SetLimits(kAvg, -10, 20);
    settings.SetLimitCheck(kAvg, true);
    settings.MarkStart(true);
    FramePacer pacer;
    CGraphCtrl ctrl;
    ctrl.SetFramePacer(&pacer);
    ctrl.resize(640, 420);
    ctrl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ctrl));
    ctrl.ShowQuantity(0, kAvg, false);
    ctrl.AttachLive(&settings);
    // Qt paints a requested region at its own next update a few
    // milliseconds on; the wait lets that happen.
    const auto settle = [&pacer] {
      pacer.Flush();
      QTest::qWait(30);
    };
    const auto area = [](const QRegion& region) {
      int a = 0;
      for (const QRect& r : region) a += r.width() * r.height();
      return a;
    };
    const auto screenIsWhole = [&ctrl] {
      const QImage whole = ctrl.RenderClient().convertToFormat(QImage::Format_RGB32);
      return ctrl.Painted().copy(0, 0, whole.width(), whole.height()) == whole;
    };
    settle();
    const int width = ctrl.Graph().PlotArea().width;
    const PixelRect plot = ctrl.Graph().PlotArea();

    // Filling up: a reading is joined on (the limit lines stay on top);
    // the first ones draw the plot area.
    for (int i = 0; i < 40; ++i) {
      settings.AddReading(kAvg, static_cast<float>((i * 7) % 60 - 20));
      ctrl.UpdateLive(false);
      const QRegion asked = pacer.PendingRegion(ctrl);
      if (i > 2) {
        QVERIFY(!asked.isEmpty());
        // The last columns, and the row of end texts at most.
        QVERIFY2(area(asked) < 640 * 40, qPrintable(QString::number(area(asked))));
      }
      settle();
    }
    QVERIFY(screenIsWhole());
    // Nothing new: nothing repainted.
    ctrl.UpdateLive(false);
    QVERIFY(!pacer.Pending());

    // Full: the window scrolls, so the plot area is drawn again.
    for (int i = 40; i < width + 5; ++i) settings.AddReading(kAvg, static_cast<float>((i * 7) % 60 - 20));
    ctrl.UpdateLive(false);
    settle();
    settings.AddReading(kAvg, 33.0f);
    ctrl.UpdateLive(false);
    const QRect asked = pacer.PendingRegion(ctrl).boundingRect();
    QVERIFY(asked.contains(QRect(plot.left, plot.top, plot.width, plot.height)));
    QVERIFY(asked.height() < 420);
    settle();
    QVERIFY(screenIsWhole());

    // A new scale draws everything again.
    settings.SetDisplayRange(kAvg, -20, 40);
    ctrl.UpdateLive(false);
    QCOMPARE(pacer.PendingRegion(ctrl), QRegion(ctrl.rect()));
    settle();
    QVERIFY(screenIsWhole());
  }

  void PressesReachTheParentInItsCoordinates() {
    QWidget parent;
    parent.resize(700, 500);
    auto* ctrl = new CGraphCtrl(&parent);
    ctrl->setGeometry(30, 40, 600, 400);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy spy(ctrl, &CGraphCtrl::Pressed);
    QTest::mousePress(ctrl, Qt::RightButton, {}, QPoint(5, 6));
    QTest::mousePress(ctrl, Qt::MiddleButton, {}, QPoint(5, 6));
    QTest::mousePress(ctrl, Qt::LeftButton, {}, QPoint(100, 200));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(spy[0][1].toPoint(), QPoint(35, 46));
    QCOMPARE(spy[1][0].value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(spy[1][1].toPoint(), QPoint(130, 240));
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::GraphCtrlTest)
#include "GraphCtrlTest.moc"
