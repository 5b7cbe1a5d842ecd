#pragma once

#include "core/measure/MeterThreshold.h"
#include "core/platform/Canvas.h"

#include <array>
#include <string>
#include <vector>

namespace wattrix {

// The coloured zones of one gauge, drawn in list order.
using MeterThresholdCollection = std::vector<MeterThreshold>;

// The round dial of a measurement panel: a 270° scale with labelled major
// ticks, limit zones, a needle, the unit text, a hub and a glass highlight.
// It holds the dial's state and geometry and paints itself on any Canvas;
// the window that shows it only supplies the size and a surface. The
// Draw… steps are virtual so that a variant dial can change one of them.
//
// A scale of zero width (minimum = maximum) has no angle per unit: the
// needle then rests at the start angle and no zones are drawn, so nothing
// ever divides by the empty range.
class AnalogGauge {
 public:
  static constexpr Argb kDefaultBackground = 0xFFFFFFFF;
  static constexpr Argb kDefaultBezel = 0xFF4169E1;
  static constexpr Argb kDefaultHub = 0xFFFFFF00;
  static constexpr Argb kDefaultText = 0xFFFFFFFF;
  static constexpr Argb kNeedleColour = 0xFFFF0000;
  static constexpr int kMinimumSide = 100;

  AnalogGauge();
  virtual ~AnalogGauge() = default;
  AnalogGauge(const AnalogGauge&) = delete;
  AnalogGauge& operator=(const AnalogGauge&) = delete;

  // The needle position, limited to the scale (a value that is not a
  // number rests at the minimum).
  void SetValue(double x);
  // The range alone; the value is not limited again.
  void SetMinimum(double x) {
    m_minimum = x;
    MarkDialChanged();
  }
  void SetMaximum(double x) {
    m_maximum = x;
    MarkDialChanged();
  }
  void SetBackground(Argb colour) {
    m_background = colour;
    MarkDialChanged();
  }
  void SetUnitText(std::string text) {
    m_unitText = std::move(text);
    MarkDialChanged();
  }
  void ClearThresholds() {
    m_zones.clear();
    MarkDialChanged();
  }
  void AddThreshold(double start, double end, Argb colour) {
    m_zones.push_back({colour, start, end});
    MarkDialChanged();
  }

  // The window's size; each side is drawn as at least 100.
  void SetSize(int cx, int cy);

  double Value() const { return m_value; }
  double Minimum() const { return m_minimum; }
  double Maximum() const { return m_maximum; }
  float StartAngle() const { return m_startAngle; }
  float EndAngle() const { return m_endAngle; }
  int MajorTicks() const { return m_majorTicks; }
  int MinorSteps() const { return m_minorSteps; }
  float SizeFactor() const { return m_k; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  PointF Centre() const { return PointF{m_centre.x, m_centre.y}; }
  RectF Face() const { return m_face; }
  RectF HubRect() const { return m_hub; }
  RectF GlossRect() const { return m_gloss; }
  Argb Background() const { return m_background; }
  Argb BezelColour() const { return m_bezelColour; }
  Argb HubColour() const { return m_hubColour; }
  Argb TextColour() const { return m_textColour; }
  const std::string& UnitText() const { return m_unitText; }
  const MeterThresholdCollection& Thresholds() const { return m_zones; }

  // True when the scale has a usable width (finite and not zero).
  bool HasRange() const;
  // Angle of the needle in degrees, clockwise from the x axis.
  double NeedleAngle() const;
  // Start and sweep of a zone's arc in degrees; a zero sweep without range.
  struct Arc {
    double start = 0;
    double sweep = 0;
  };
  Arc ZoneArc(const MeterThreshold& zone) const;
  // The texts of the major ticks from minimum to maximum.
  std::vector<std::string> ScaleLabels() const;

  // Renders the whole dial, anti-aliased, in the fixed order of its steps:
  // PaintFace, then PaintNeedle.
  void Paint(Canvas& canvas);
  // Everything beneath the needle (background to the extra step). It only
  // changes with DialRevision, so a window may keep it as an image and
  // draw just the needle over it for a new value.
  void PaintFace(Canvas& canvas);
  // Needle, hub and glass.
  void PaintNeedle(Canvas& canvas);
  // The same in two parts: the needle alone, and hub and glass over it
  // (which, like the face, only change with DialRevision).
  void PaintNeedleAlone(Canvas& canvas);
  void PaintCover(Canvas& canvas);
  // Changes whenever what PaintFace draws may have changed.
  unsigned DialRevision() const { return m_dialRevision; }
  // What PaintNeedle changes when only the value moves: the needle at the
  // current angle, with room for its outline and anti-aliasing. Hub and
  // glass are drawn the same at every angle, so a window repaints the
  // regions of the old and the new needle over its kept face.
  virtual RectF NeedleBounds() const;

  // Each colour channel × p / 100, held within 0..255; alpha stays.
  static Argb Shade(Argb colour, int percent);

 protected:
  // A variant whose face steps draw state of its own calls this when that
  // state changes.
  void MarkDialChanged() { ++m_dialRevision; }
  // Face, centre, hub and gloss from the size.
  virtual void RecalcLayout();
  virtual void DrawBackground(Canvas& canvas, const RectF& client);
  virtual void DrawBezel(Canvas& canvas, const RectF& face);
  virtual void DrawZones(Canvas& canvas, const RectF& face);
  virtual void DrawScale(Canvas& canvas, const RectF& face);
  virtual void DrawUnitText(Canvas& canvas, const RectF& face);
  // Hook between the unit text and the needle; the plain dial draws nothing.
  virtual bool DrawExtra(Canvas& canvas, const RectF& face);
  virtual void DrawNeedle(Canvas& canvas, const RectF& face);
  virtual void DrawHub(Canvas& canvas, const RectF& hub);
  virtual void DrawGloss(Canvas& canvas, const RectF& gloss);

  // The needle's triangle (centre, base corner, tip, base corner) on a face.
  std::array<PointF, 4> NeedleOutline(const RectF& face) const;
  // The point at `radius` and `degrees` from the centre.
  PointF Polar(double radius, double degrees) const;
  // Text of the label at `value` on the current scale.
  std::string LabelText(double value) const;

 private:
  void Layout();
  void DrawFaceSteps(Canvas& canvas);
  void DrawNeedleSteps(Canvas& canvas);

  Argb m_background = kDefaultBackground;
  Argb m_bezelColour = kDefaultBezel;
  Argb m_hubColour = kDefaultHub;
  Argb m_textColour = kDefaultText;
  MeterThresholdCollection m_zones;
  std::string m_unitText;
  struct {
    float x = 0;
    float y = 0;
  } m_centre;
  RectF m_face{};
  RectF m_gloss{};
  RectF m_hub{};
  float m_startAngle = 135;
  float m_endAngle = 405;
  float m_k = 1;
  double m_value = 10;
  double m_minimum = 0;
  double m_maximum = 100;
  int m_majorTicks = 10;
  int m_minorSteps = 9;
  int m_width = kMinimumSide;
  int m_height = kMinimumSide;
  unsigned m_dialRevision = 0;
};

}  // namespace wattrix
