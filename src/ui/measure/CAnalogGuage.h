#pragma once

#include "core/measure/AnalogGauge.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <string>

namespace wattrix {

class FramePacer;

// The dial window of a measurement panel. Each paint composes the dial
// anti-aliased in one 32-bit ARGB image and copies it to the screen in one
// go, so the needle moves without flicker. The face beneath the needle is
// kept as an image until the dial's revision changes, and so are hub and
// glass: a new reading repaints only the regions of the old and the new
// needle, and nothing when the needle did not move. Clicks go on to the
// parent (the panel).
class CAnalogGuage final : public QWidget {
  Q_OBJECT

 public:
  // `dial` replaces the plain dial with a variant of it.
  explicit CAnalogGuage(QWidget* parent = nullptr, std::unique_ptr<AnalogGauge> dial = nullptr);
  ~CAnalogGuage() override;

  AnalogGauge& Dial() { return *m_dial; }
  const AnalogGauge& Dial() const { return *m_dial; }

  // Repaints go through `pacer` (not owned; null repaints at once).
  void SetFramePacer(FramePacer* pacer) { m_pacer = pacer; }
  // The dial was changed through Dial(): repaints the whole window when
  // its face changed, else the needle's regions when it moved.
  void DialUpdated();

  // The dial's setters, each repainting what changed.
  void SetValue(double x);
  void SetMinimum(double x);
  void SetMaximum(double x);
  void SetBackground(Argb colour);
  // Shown from the next paint on.
  void SetUnitText(std::string text);
  void ClearThresholds();
  void AddThreshold(double start, double end, Argb colour);

  // Renders the dial as painted, at the dial's size (at least 100 × 100).
  QImage Render() const;
  // The image as last painted: what the screen shows.
  const QImage& Painted() const { return m_image; }

  QSize sizeHint() const override { return QSize(200, 200); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Makes image the dial's pixel size at the screen's pixel ratio; true
  // when it had to be made anew (its pixels are then undefined).
  bool Fit(QImage& image) const;
  // Face, and hub and glass over a clear ground, for the dial as it is.
  void PaintLayers(QImage& face, QImage& cover) const;
  // The dial within `area` of image: face, needle, then the cover.
  void Compose(QImage& image, const QImage& face, const QImage& cover, const QRect& area) const;

  QRect NeedleRect() const;

  std::unique_ptr<AnalogGauge> m_dial;
  FramePacer* m_pacer = nullptr;
  // What the window was last asked to show: face revision and needle.
  unsigned m_requestedRevision = 0;
  double m_requestedAngle = 0;
  QRect m_requestedNeedle;
  QImage m_face;   // the face as of m_faceRevision
  QImage m_cover;  // hub and glass over a clear ground, as of m_faceRevision
  unsigned m_faceRevision = 0;
  QImage m_image;  // the dial as on screen
};

}  // namespace wattrix
