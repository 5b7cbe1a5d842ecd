#pragma once

#include "core/ccdf/CcdfPanelFit.h"
#include "core/ccdf/CcdfPanels.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace wattrix {

// One of the six text panels of the CCDF window: white-grey bold lines on
// the dark blue ground, in the FontCache's fonts. It repaints only when a
// line's text changed (or its size did); lines too wide or too many for
// the panel are drawn a few points smaller so that nothing is cut.
class CCcdfTextView final : public QWidget {
  Q_OBJECT

 public:
  // What the lines show, read at refresh time.
  using ContextSource = std::function<CcdfPanelContext()>;

  CCcdfTextView(CcdfPanel panel, const PanelItems& items, ContextSource context, QWidget* parent = nullptr);

  CcdfPanel Panel() const { return m_panel; }
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
  // Fits the lines again, from a need of `from` points up.
  void Refit(int from);
  void Place();
  void PaintSurface();

  CcdfPanel m_panel;
  const PanelItems& m_items;
  ContextSource m_context;
  std::vector<std::string> m_texts;
  PanelFit m_fit;
  int m_needed = 0;
  int m_floor = 0;
  QImage m_surface;
  bool m_dirty = true;
  int m_surfacePaints = 0;
};

}  // namespace wattrix
