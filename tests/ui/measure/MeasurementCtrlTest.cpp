#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "ui/measure/CAnalogGuage.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/platform/FontCache.h"
#include "ui/platform/FramePacer.h"

#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QMouseEvent>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <numbers>
#include <vector>

namespace wattrix {

namespace {

// Records the clicks that reach it, at its own coordinates.
class ClickRecorder final : public QWidget {
 public:
  struct Click {
    QEvent::Type type;
    QPoint pos;
    Qt::MouseButton button;
    Qt::MouseButtons buttons;
  };
  std::vector<Click> clicks;

 protected:
  void mousePressEvent(QMouseEvent* e) override { Record(e); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { Record(e); }

 private:
  void Record(QMouseEvent* e) {
    clicks.push_back({e->type(), e->position().toPoint(), e->button(), e->buttons()});
  }
};

struct Counts {
  int red = 0;
  int green = 0;
};

Counts CountColours(const QImage& image, const QRect& area) {
  Counts c;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) ++c.red;
      if (qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60) ++c.green;
    }
  }
  return c;
}

QPoint AtAngle(double cx, double cy, double radius, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  return QPoint(static_cast<int>(std::lround(cx + radius * std::cos(a))),
                static_cast<int>(std::lround(cy + radius * std::sin(a))));
}

}  // namespace

// The panel and gauge widgets: what reaches the screen and the view.
class MeasurementCtrlTest final : public QObject {
  Q_OBJECT

 private:
  MeasurementSettings m_settings;

  void ShowReading(CMeasurementCtrl& panel, Quantity quantity, float reading) {
    m_settings.ResetHistories();
    m_settings.AddReading(quantity, reading);
    panel.SetSettings(&m_settings);
    panel.SetQuantity(quantity);
    panel.Refresh(PanelRefresh::All);
  }

  // Renders each layout, normal and in alarm, into PNGs for a visual check.
  void SaveScreenshots(const QString& dir) {
    const QSize sizes[] = {{476, 326}, {300, 322}, {960, 640}, {960, 640}};
    for (int layout = 0; layout < kPanelLayoutCount; ++layout) {
      for (const bool alarm : {false, true}) {
        CMeasurementCtrl panel;
        panel.resize(sizes[layout]);
        const Quantity q = layout == 3 ? kPulse : kAvg;
        m_settings.SetDutyCycle(12.5f);
        m_settings.SetBurstWidth(577.3f);
        m_settings.ResetHistories();
        for (const float r : {12.41f, 14.02f, 9.87f, 13.26f}) m_settings.AddReading(q, r);
        panel.SetSettings(&m_settings);
        panel.SetLayout(layout);
        panel.SetAlarmState(alarm);
        panel.SetQuantity(q);
        panel.SetSelected(layout == 1);
        panel.Refresh(PanelRefresh::All);
        panel.grab().save(
            QStringLiteral("%1/panel_layout%2_%3.png").arg(dir).arg(layout).arg(alarm ? "alarm" : "normal"));
      }
    }
  }

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
    m_settings.SetModelCode(model::kPX420B);
    m_settings.SetSerialNumber("20417");
    m_settings.SetTechnology(1);
    m_settings.SetDisplayRange(kAvg, -10, 30);
    m_settings.SetLimits(kAvg, 0, 20);
    m_settings.SetLimitCheck(kAvg, true);
    m_settings.SetDisplayRange(kPulse, -10, 30);
  }

  void FontCacheKeepsBoldArialBySizeAndDropsTheOldest() {
    FontCache cache(96);
    const QFont font = cache.Get(12);
    QCOMPARE(font.pixelSize(), 16);
    QCOMPARE(font.weight(), QFont::Bold);
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    qInfo() << "\"Arial\" resolves to" << QFontInfo(font).family();
    QCOMPARE(FontCache(120).Get(10).pixelSize(), 17);  // 16.67 rounded
    for (int points = 1; points <= 21; ++points) cache.Get(points);
    QCOMPARE(cache.Count(), 21);  // 12 was there already
    cache.Get(22);
    QCOMPARE(cache.Count(), 21);
    QVERIFY(!cache.Contains(12));  // the oldest, made first
    QVERIFY(cache.Contains(1));
    QVERIFY(cache.Contains(22));
    const int pixels = FontCache::Instance().Get(14).pixelSize();
    QCOMPARE(pixels, PointsToPixels(14, FontCache::Instance().DpiY()));
  }

  void ValueTextTurnsRedInAlarmAndBackAgain() {
    CMeasurementCtrl panel;
    panel.resize(476, 326);
    ShowReading(panel, kAvg, -12.3f);
    QCOMPARE(panel.ItemText(panel_item::kValue), std::string("-12.30 dBm"));
    const QRect value(210, 132, 476 - 210, 50);  // 36 points of digits, above the secondary value
    const Counts normal = CountColours(panel.grab().toImage(), value);
    QVERIFY(normal.green > 200);
    QCOMPARE(normal.red, 0);
    panel.SetAlarmState(true);
    QCOMPARE(panel.ItemColour(panel_item::kValue), MakeRgb(255, 0, 0));
    const Counts alarm = CountColours(panel.grab().toImage(), value);
    QVERIFY(alarm.red > 200);
    QCOMPARE(alarm.green, 0);
    panel.SetAlarmState(false);
    QCOMPARE(CountColours(panel.grab().toImage(), value).red, 0);

    // The small panel's value is silver; the alarm makes it red too.
    panel.SetLayout(1);
    QCOMPARE(panel.ItemColour(panel_item::kValue), MakeRgb(192, 192, 192));
    panel.SetAlarmState(true);
    QCOMPARE(panel.ItemColour(panel_item::kValue), MakeRgb(255, 0, 0));
  }

  void GaugeShowsItsZonesOnTheDial() {
    CAnalogGuage gauge;
    gauge.resize(200, 200);
    gauge.SetBackground(MakeRgb(28, 61, 114));
    gauge.SetMinimum(20);
    gauge.SetMaximum(60);
    gauge.SetValue(20);
    const QImage plain = gauge.grab().toImage();
    gauge.AddThreshold(20, 30, 0xFFFF0000);
    gauge.AddThreshold(30, 50, 0xFF008000);
    gauge.AddThreshold(50, 60, 0xFFFF0000);
    const QImage zoned = gauge.grab().toImage();
    QCOMPARE(zoned.size(), QSize(200, 200));
    const double c = 99, r = 81;  // face 198 × 198, arcs 18 in from it
    const auto isRed = [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; };
    const auto isGreen = [](QRgb p) { return qGreen(p) > 100 && qRed(p) < 90 && qBlue(p) < 90; };
    // Between the ticks, which cross the zones every 3°.
    for (const double angle : {151.5, 190.5, 349.5, 400.5}) {
      QVERIFY2(isRed(zoned.pixel(AtAngle(c, c, r, angle))), qPrintable(QString::number(angle)));
    }
    for (const double angle : {211.5, 271.5, 331.5}) {
      const QRgb p = zoned.pixel(AtAngle(c, c, r, angle));
      QVERIFY2(isGreen(p), qPrintable(QStringLiteral("%1: %2").arg(angle).arg(p, 8, 16)));
      QVERIFY(!isGreen(plain.pixel(AtAngle(c, c, r, angle))));
    }
    QCOMPARE(zoned.pixel(199, 0), qRgb(28, 61, 114));  // outside the face
    // The needle at the scale start is red near the hub's lower left.
    QVERIFY(isRed(zoned.pixel(AtAngle(c, c, 50, 135))));

    // A zero-width scale paints (needle at the start, no zones).
    gauge.SetMaximum(20);
    const QImage empty = gauge.grab().toImage();
    QVERIFY(!isGreen(empty.pixel(AtAngle(c, c, r, 271.5))));
    QVERIFY(isRed(empty.pixel(AtAngle(c, c, 50, 135))));
  }

  void GaugeRedrawsItsKeptFaceWhenTheDialChanges() {
    // Changes made on the dial itself (as the panel's refresh does) show
    // at the next paint, exactly as a whole new rendering.
    CAnalogGuage gauge;
    gauge.resize(220, 200);
    gauge.SetMinimum(20);
    gauge.SetMaximum(60);
    gauge.SetValue(30);
    const QImage first = gauge.grab().toImage();
    QCOMPARE(first, gauge.Render().convertToFormat(first.format()));
    gauge.Dial().AddThreshold(20, 60, 0xFF008000);
    gauge.Dial().SetMaximum(80);
    gauge.Dial().SetValue(70);
    const QImage changed = gauge.grab().toImage();
    QVERIFY(changed != first);
    QCOMPARE(changed, gauge.Render().convertToFormat(changed.format()));
    gauge.Dial().SetValue(25);
    const QImage moved = gauge.grab().toImage();
    QCOMPARE(moved, gauge.Render().convertToFormat(moved.format()));
    gauge.resize(160, 160);
    const QImage smaller = gauge.grab().toImage();
    QCOMPARE(smaller, gauge.Render().convertToFormat(smaller.format()));
  }

  void SelectedPanelHasAGreenFrame() {
    CMeasurementCtrl panel;
    panel.resize(300, 200);
    ShowReading(panel, kAvg, 1.0f);
    const QRgb blue = qRgb(28, 61, 114), green = qRgb(0, 255, 0);
    QImage image = panel.grab().toImage();
    QCOMPARE(image.pixel(0, 0), blue);
    panel.SetSelected(true);
    image = panel.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(150, 0), QPoint(299, 199), QPoint(0, 100)})
      QCOMPARE(image.pixel(p), green);
    QCOMPARE(image.pixel(1, 1), blue);
  }

  void PanelLaysOutItsGaugeAndTexts() {
    CMeasurementCtrl panel;
    panel.SetSettings(&m_settings);
    panel.resize(100, 100);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // Laid out at its real size, so that nothing is drawn beyond its edge.
    QCOMPARE(panel.Geometry().width, 100);
    QVERIFY(!panel.Gauge().isVisibleTo(&panel));
    panel.resize(300, 200);
    panel.SetLayout(1);
    QCOMPARE(panel.Gauge().geometry(), QRect(130, 20, 160, 160));
    QVERIFY(panel.Gauge().isVisibleTo(&panel));
    panel.SetQuantity(kVswr);
    QCOMPARE(panel.Gauge().Dial().UnitText(), std::string("VSWR"));
    panel.SetQuantity(kPeak);
    QCOMPARE(panel.Gauge().Dial().UnitText(), std::string("dBm"));

    // A reading refresh moves the needle to the absolute value.
    m_settings.ResetHistories();
    m_settings.AddReading(kAvg, 12.0f);
    panel.SetQuantity(kAvg);
    panel.Refresh(PanelRefresh::All);
    m_settings.AddReading(kAvg, 17.5f);
    panel.Refresh(PanelRefresh::Values);
    QCOMPARE(panel.Gauge().Dial().Value(), 17.5);
    QCOMPARE(panel.Gauge().Dial().Thresholds().size(), std::size_t{3});
  }

  // A reading repaints only what changed: nothing when texts and needle
  // stayed, else the changed texts' rectangles and the needle's regions.
  // What reaches the screen is what a whole paint gives.
  void ReadingsRepaintOnlyWhatChanged() {
    MeasurementSettings settings;
    settings.SetModelCode(model::kPX420B);
    settings.SetDisplayRange(kAvg, -10, 30);
    settings.SetLimits(kAvg, 0, 20);
    settings.SetLimitCheck(kAvg, true);
    FramePacer pacer;
    const auto configure = [&settings](CMeasurementCtrl& panel) {
      panel.SetSettings(&settings);
      panel.SetLayout(1);
      panel.SetQuantity(kAvg);
      panel.resize(476, 326);
      panel.show();
      return QTest::qWaitForWindowExposed(&panel);
    };
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
    CMeasurementCtrl panel;
    panel.SetFramePacer(&pacer);
    QVERIFY(configure(panel));
    settings.AddReading(kAvg, 10.0f);
    panel.Refresh(PanelRefresh::All);
    settle();

    settings.AddReading(kAvg, 10.0f);
    panel.Refresh(PanelRefresh::Values);
    QVERIFY(!pacer.Pending());

    settings.AddReading(kAvg, 14.0f);
    panel.Refresh(PanelRefresh::Values);
    const QRegion texts = pacer.PendingRegion(panel);
    const QRegion needle = pacer.PendingRegion(panel.Gauge());
    QVERIFY(!texts.isEmpty() && !needle.isEmpty());
    QVERIFY2(area(texts) < 476 * 326 / 5, qPrintable(QString::number(area(texts))));
    const QSize dial = panel.Gauge().size();
    QVERIFY2(area(needle) < dial.width() * dial.height() / 2, qPrintable(QString::number(area(needle))));
    const PanelRect name = panel.Geometry().items[panel_item::kQuantityName].rect;
    QVERIFY(!texts.contains(QPoint(name.left + 4, name.top + 4)));
    settle();

    // Readings of every kind, each painted as it came; an alarm colour.
    for (const float v : {14.0f, 3.5f, 25.0f, 25.0f, -5.0f, 12.25f, 29.9f}) {
      settings.AddReading(kAvg, v);
      panel.Refresh(PanelRefresh::Values);
      panel.SetAlarmState(v > 20);
      settle();
    }
    CMeasurementCtrl whole;
    QVERIFY(configure(whole));
    whole.Refresh(PanelRefresh::All);
    whole.SetAlarmState(true);
    whole.repaint();
    QCOMPARE(panel.Surface(), whole.Surface());
    QCOMPARE(panel.Gauge().Painted(), whole.Gauge().Painted());
  }

  void ClicksOnPanelAndGaugeReachTheView() {
    ClickRecorder view;
    view.resize(500, 400);
    CMeasurementCtrl panel(&view);
    panel.setGeometry(10, 20, 300, 200);
    panel.SetLayout(1);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mousePress(&panel, Qt::RightButton, {}, QPoint(7, 8));
    QTest::mouseRelease(&panel, Qt::RightButton, {}, QPoint(7, 8));
    QTest::mousePress(&panel, Qt::MiddleButton, {}, QPoint(9, 9));
    QTest::mouseRelease(&panel, Qt::MiddleButton, {}, QPoint(9, 9));
    QCOMPARE(view.clicks.size(), std::size_t{2});
    QCOMPARE(view.clicks[0].type, QEvent::MouseButtonPress);
    QCOMPARE(view.clicks[0].pos, QPoint(15, 26));
    QCOMPARE(view.clicks[0].button, Qt::LeftButton);
    QCOMPARE(view.clicks[0].buttons, Qt::MouseButtons(Qt::LeftButton));
    QCOMPARE(view.clicks[1].pos, QPoint(17, 28));
    QCOMPARE(view.clicks[1].button, Qt::RightButton);
    QCOMPARE(view.clicks[1].buttons, Qt::MouseButtons(Qt::RightButton));

    // Through the gauge (at 130, 20 in the panel) and the panel.
    view.clicks.clear();
    QTest::mouseDClick(&panel.Gauge(), Qt::LeftButton, {}, QPoint(3, 4));
    bool doubleClick = false;
    for (const auto& click : view.clicks) {
      QCOMPARE(click.pos, QPoint(10 + 130 + 3, 20 + 20 + 4));
      doubleClick = doubleClick || click.type == QEvent::MouseButtonDblClick;
    }
    QVERIFY(doubleClick);
  }

  void RealDoubleClickSurvivesTheForwarding() {
    // Through the window system, where Qt itself decides from the press
    // times whether two clicks are a double click.
    ClickRecorder view;
    view.resize(500, 400);
    CMeasurementCtrl panel(&view);
    panel.setGeometry(10, 20, 300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QWindow* window = view.windowHandle();
    const QPointF at(50, 60);
    const QPointF global = view.mapToGlobal(at.toPoint());
    int time = 100000;
    for (int click = 0; click < 2; ++click) {
      for (const auto buttons : {Qt::MouseButtons(Qt::LeftButton), Qt::MouseButtons()}) {
        time += 20;
        qt_handleMouseEvent(window, at, global, buttons, Qt::LeftButton,
                            buttons ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, {}, time);
      }
    }
    QCoreApplication::processEvents();
    QCOMPARE(view.clicks.size(), std::size_t{2});
    QCOMPARE(view.clicks[0].type, QEvent::MouseButtonPress);
    QCOMPARE(view.clicks[1].type, QEvent::MouseButtonDblClick);
    QCOMPARE(view.clicks[1].pos, QPoint(50, 60));
  }

  void Screenshots() {
    const QByteArray dir = qgetenv("WATTRIX_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("set WATTRIX_SCREENSHOT_DIR to write the panel screenshots");
    QDir().mkpath(QString::fromLocal8Bit(dir));
    SaveScreenshots(QString::fromLocal8Bit(dir));
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::MeasurementCtrlTest)
#include "MeasurementCtrlTest.moc"
