#include "ui/platform/QtCanvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace wattrix {

// Pixels of the Qt canvas: rectangles cover exactly their area, outlines
// sit on its border, and colours arrive unchanged.
class QtCanvasTest final : public QObject {
  Q_OBJECT

 private slots:
  void FillAndOutlineCoverTheirArea() {
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::black);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      QCOMPARE(canvas.DpiY(), 96);
      canvas.FillRect(RectF{2, 2, 10, 5}, Brush::Solid(MakeRgb(28, 61, 114)));
      canvas.DrawRect(RectF{0, 10, 20, 10}, Pen{MakeRgb(0, 255, 0), 1});
    }
    QCOMPARE(image.pixel(2, 2), qRgb(28, 61, 114));
    QCOMPARE(image.pixel(11, 6), qRgb(28, 61, 114));
    QCOMPARE(image.pixel(12, 6), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(11, 7), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(0, 10), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(19, 19), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(10, 15), qRgb(0, 0, 0));
  }

  void TextIsMeasuredAndDrawnInItsColour() {
    QImage image(200, 60, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    const Font font{"Arial", 20, 700, 0};
    const auto size = canvas.MeasureText("Wattrix", font);
    QVERIFY(size.width > 40 && size.width < 150);
    QVERIFY(canvas.Metrics(font).height >= 20);
    canvas.DrawText("Wattrix", PointF{5, 5}, font, MakeRgb(255, 0, 0));
    painter.end();
    int red = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x)
        if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 50) ++red;
    QVERIFY(red > 30);
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::QtCanvasTest)
#include "QtCanvasTest.moc"
