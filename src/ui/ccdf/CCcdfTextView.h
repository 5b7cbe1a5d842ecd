#pragma once

#include "core/ccdf/CcdfPanelFit.h"
#include "core/ccdf/CcdfPanels.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace wattrix {

class FramePacer;

// One of the six text panels of the CCDF window: white-grey bold lines on
// the dark blue ground, in the FontCache's fonts. It repaints only when a
// line's text changed (or its size did); lines too wide or too many for
// the panel are drawn a few points smaller so that nothing is cut. A
// changed line redraws only its own band of the cached image, and the
// repaint waits for the window's next frame when a pacer is set.
class CCcdfTextView final : public QWidget {
  Q_OBJECT

 public:
  // What the lines show, read at refresh time.
  using ContextSource = std::function<CcdfPanelContext()>;

  CCcdfTextView(CcdfPanel panel, const PanelItems& items, ContextSource context, QWidget* parent = nullptr);

  CcdfPanel Panel() const { return m_panel; }
  // Repaints go through `pacer` (owned by the window; null: at once).
  void SetFramePacer(FramePacer* pacer) { m_pacer = pacer; }
  // Recomputes the texts from the items and the context; schedules a
  // repaint only when one of them changed. True when it did.
  bool Refresh();

  const std::vector<std::string>& Texts() const { return m_texts; }
  // Where the lines were placed for the current texts and size.
  const PanelFit& Fit() const { return m_fit; }
  // Points the lines need to shrink by to fit this panel alone.
  int NeededShrink() const { return m_needed; }
  // Panels side by side shrink alike: the frame sets the largest need of
  // a row or column as every member's floor.
  void SetShrinkFloor(int floor);
  // Repaints of the panel's image since it was made (for the tests and the
  // speed measurements).
  int SurfacePaints() const { return m_surfacePaints; }
  // The part of the image the last of them drew.
  const QRegion& LastSurfaceRegion() const { return m_lastSurfaceRegion; }

 signals:
  // A right click: the frame shows its context menu at `globalPos`.
  void ContextMenuRequested(QPoint globalPos);
  // NeededShrink changed.
  void NeedChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::vector<std::string> ComputeTexts() const;
  // Size of a text in the panel font of `points`, remembered.
  PanelTextSize Measure(int points, const std::string& text);
  // Fits the lines again, from a need of `from` points up.
  void Refit(int from);
  void Place();
  // The image's `region` is drawn again at the next paint.
  void Invalidate(const QRegion& region);
  // Where line `i` of `fit` may leave pixels.
  QRect LineBand(const PanelFit& fit, std::size_t i) const;
  void PaintSurface(const QRegion& region);

  CcdfPanel m_panel;
  const PanelItems& m_items;
  ContextSource m_context;
  std::vector<std::string> m_texts;
  PanelFit m_fit;
  static constexpr std::size_t kMeasuredTexts = 512;
  std::map<std::pair<int, std::string>, PanelTextSize> m_measured;
  PanelMeasure m_measure;
  int m_needed = 0;
  int m_floor = 0;
  QImage m_surface;
  QRegion m_stale;  // of the image, drawn again before the next copy
  QRegion m_lastSurfaceRegion;
  FramePacer* m_pacer = nullptr;
  int m_surfacePaints = 0;
};

}  // namespace wattrix
