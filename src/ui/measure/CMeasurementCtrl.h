#pragma once

#include "core/measure/MeasurementPanel.h"
#include "core/measure/MeasurementPanelTexts.h"
#include "core/measure/PanelLayout.h"
#include "core/measure/PanelTextFit.h"
#include "ui/measure/CAnalogGuage.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

namespace wattrix {

class FramePacer;
class MeasurementSettings;

// The read-out panel of a live measurement window: 17 positioned texts of
// one quantity of the shared settings and, in layouts 1 to 3, a gauge
// beside them. It holds no readings; the view tells it when to refresh.
// Painting goes through an off-screen image and one copy to the screen.
// A refresh repaints only the texts that changed (their old and new
// rectangles) and leaves the gauge to repaint its needle; a panel whose
// texts and needle stayed the same is not repainted at all. Clicks (its
// gauge's too) go on to the parent, the view.
class CMeasurementCtrl final : public QWidget, public MeasurementPanel {
  Q_OBJECT

 public:
  explicit CMeasurementCtrl(QWidget* parent = nullptr);
  ~CMeasurementCtrl() override;

  // The shared settings (not owned); set before the first refresh.
  void SetSettings(const MeasurementSettings* settings);
  const MeasurementSettings* Settings() const { return m_settings; }

  wattrix::Quantity Quantity() const override { return m_quantity; }
  // Also sets the gauge's unit text and lays the panel out again.
  void SetQuantity(wattrix::Quantity quantity) override;
  int Layout() const override { return m_layout; }
  void SetLayout(int layout) override;
  bool AlarmState() const override { return m_alarm; }
  // Switches the value colour at once; the alarm variant of the layout
  // table is taken at the next layout.
  void SetAlarmState(bool on) override;
  void Refresh(PanelRefresh kind) override;
  void Relayout() override;

  // Repaints go through `pacer` (not owned; null repaints at once), the
  // gauge's too.
  void SetFramePacer(FramePacer* pacer);

  bool Selected() const { return m_selected; }
  // Draws the green frame around the panel (or takes it away).
  void SetSelected(bool on);

  CAnalogGuage& Gauge() { return m_gauge; }
  const CAnalogGuage& Gauge() const { return m_gauge; }

  // What is drawn: the text, colour, font size and place of each item.
  const std::string& ItemText(int item) const { return m_texts.Text(item); }
  Argb ItemColour(int item) const { return m_colours[static_cast<std::size_t>(item)]; }
  const PanelGeometry& Geometry() const { return m_geometry; }
  // The off-screen surface as last painted: what the screen shows.
  const QImage& Surface() const { return m_surface; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void LayOut();
  PanelLayoutInput LayoutInput() const;
  // Places the texts and the gauge so that every text is whole (PanelTextFit);
  // `keepSizes` after new readings, so no text grows between readings.
  // True when a text or the gauge moved or changed size (all to repaint).
  bool FitTexts(bool keepSizes);
  void PaintSurface(const QRegion& region);
  // Where item i's text is drawn now, with room for anti-aliasing; empty
  // for a hidden item or an empty text.
  QRect ItemRect(int item) const;
  // Takes the new rectangles of the items in `items` (bit i for item i)
  // and repaints their old and new rectangles.
  void RepaintItems(std::uint32_t items);
  void RepaintAll();

  const MeasurementSettings* m_settings = nullptr;
  MeasurementPanelTexts m_texts;
  std::array<Argb, kPanelItemCount> m_colours{};
  PanelGeometry m_geometry;
  CAnalogGuage m_gauge;  // child window, destroyed before the panel's base
  QImage m_surface;
  bool m_surfaceStale = true;  // new surface: the next paint draws all of it
  FramePacer* m_pacer = nullptr;
  std::array<QRect, kPanelItemCount> m_itemRects{};  // as on the surface
  bool m_selected = false;
  wattrix::Quantity m_quantity = kAvg;
  int m_layout = 0;
  bool m_alarm = false;
};

}  // namespace wattrix
