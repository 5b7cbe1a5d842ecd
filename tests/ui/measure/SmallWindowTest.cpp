#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/app/ChildWindows.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CModeView.h"
#include "ui/platform/FontCache.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/SimSensorProcess.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

namespace wattrix {

namespace {

// Every shown text of the panel, measured with the font metrics of the
// font it is drawn in: inside the panel, clear of the gauge and of each
// other, and at least 11 pixels high (8 points). Empty when all is well.
QStringList TextProblems(const CMeasurementCtrl& panel) {
  QStringList problems;
  const PanelGeometry& g = panel.Geometry();
  const QRect inside(0, 0, panel.width(), panel.height());
  const QRect gauge = panel.Gauge().isVisibleTo(&panel) ? panel.Gauge().geometry() : QRect();
  QList<QRect> boxes;
  for (int i = 0; i < kPanelItemCount; ++i) {
    const PanelItemPlace& place = g.items[static_cast<std::size_t>(i)];
    const QString text = QString::fromStdString(panel.ItemText(i));
    if (place.rect.IsEmpty() || text.isEmpty()) continue;
    const QFont font = FontCache::Instance().Get(place.points);
    const QFontMetrics metrics(font);
    const QRect box(place.rect.left, place.rect.top, metrics.horizontalAdvance(text), metrics.height());
    const QString where = QStringLiteral("%1 \"%2\" at %3,%4 %5x%6 in %7x%8")
                              .arg(panel.objectName(), text)
                              .arg(box.x())
                              .arg(box.y())
                              .arg(box.width())
                              .arg(box.height())
                              .arg(panel.width())
                              .arg(panel.height());
    if (!inside.contains(box)) problems << QStringLiteral("cut: ") + where;
    if (gauge.isValid() && gauge.intersects(box)) problems << QStringLiteral("under the gauge: ") + where;
    for (const QRect& other : boxes)
      if (other.intersects(box)) problems << QStringLiteral("overlaps: ") + where;
    if (font.pixelSize() < 11) problems << QStringLiteral("too small: ") + where;
    boxes << box;
  }
  return problems;
}

QStringList ViewProblems(const CModeView& view) {
  QStringList problems;
  int shown = 0;
  for (int i = 0; i < 4; ++i) {
    const CMeasurementCtrl& panel = view.Panel(i);
    if (panel.isHidden() || panel.width() <= 0) continue;
    ++shown;
    problems << TextProblems(panel);
  }
  if (shown != 4) problems << QStringLiteral("%1 panels shown").arg(shown);
  return problems;
}

void Shoot(QWidget& window, const char* name) {
  const QString dir = qEnvironmentVariable("WATTRIX_SCREENSHOT_DIR");
  if (!dir.isEmpty()) window.grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

}  // namespace

// The live window at 800 × 600 and tiled into halves: every read-out,
// label and status text whole and readable.
class SmallWindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    qputenv("WATTRIX_PORTS_DIR", QByteArray::fromStdString(m_dir.Path() + "/ports"));
    qputenv("WATTRIX_USB_DIR", QByteArray::fromStdString(m_dir.Path() + "/usb"));
  }

  void PanelTextsFitAt800x600AndInTiledHalves() {
    test::SimSensorProcess sim({"--model", "PX420B", "--transport", "usb-vista", "--forward", "40", "--vswr",
                                "1.5", "--noise", "0"});
    QCOMPARE(sim.WaitForPort(), -1);
    test::RecordingMessageBoxes boxes;
    CMainFrame frame;
    frame.Settings().SetSettingsDirectory(m_dir.Path());
    RegisterChildWindows(frame);
    frame.SetSettingsDialog([](QWidget*, MeasurementSettings&, int, int) { return true; });
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    test::AnswerConnectDialog(-1);
    frame.RouteCommand(cmd::kConnectDevice);
    QVERIFY(SensorLink::Instance().IsConnected());

    frame.RouteCommand(cmd::kModeAvgPeak);
    auto* window = qobject_cast<CMeasurementFrame*>(frame.ActiveChild());
    QVERIFY(window);
    CModeView& view = window->View();
    frame.RouteCommand(cmd::kMeasureStart);
    MeasurementSettings& settings = frame.Settings();
    QTRY_VERIFY(settings.Count(kVswr) >= 3 && settings.Count(kPeak) >= 3);
    frame.RouteCommand(cmd::kMeasureStop);
    QTRY_VERIFY(!view.Session().Measuring());
    QCOMPARE(QString::fromStdString(view.Panel(3).ItemText(panel_item::kSecondary)).left(13),
             QStringLiteral("Return Loss: "));
    QVERIFY2(ViewProblems(view).isEmpty(), qPrintable(ViewProblems(view).join(u'\n')));
    Shoot(frame, "main-800x600.png");

    // A history window beside it, then the two tiled into halves.
    const std::string path = m_dir.Path() + "/run.psh";
    QVERIFY(WriteHistoryFile(path, settings, QuantityMask{0x01}, "tiled"));
    QVERIFY(frame.OpenHistoryFile(QString::fromStdString(path)));
    frame.RouteCommand(cmd::kWindowTileVertical);
    QTest::qWait(50);
    QVERIFY(view.width() < 400);
    QVERIFY2(ViewProblems(view).isEmpty(), qPrintable(ViewProblems(view).join(u'\n')));
    Shoot(frame, "tiled-vertical-800x600.png");
    frame.RouteCommand(cmd::kWindowTileHorizontal);
    QTest::qWait(50);
    QVERIFY(view.height() < 250);
    QVERIFY2(ViewProblems(view).isEmpty(), qPrintable(ViewProblems(view).join(u'\n')));
    Shoot(frame, "tiled-horizontal-800x600.png");

    // The power-direction warning, whole, in the status bar.
    frame.SetStatusText(QString::fromStdString(strings::GetString("S_SETTING_WARNING_POWER")) +
                            QStringLiteral(" (Avg:4012, Rev:4387)"),
                        1);
    QTest::qWait(50);
    Shoot(frame, "status-warning-800x600.png");
    SensorLink::Instance().Disconnect();
  }

 private:
  test::TempDir m_dir;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::SmallWindowTest)
#include "SmallWindowTest.moc"
