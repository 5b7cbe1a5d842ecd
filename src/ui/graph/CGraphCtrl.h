#pragma once

#include "core/graph/GraphFeeder.h"
#include "core/graph/GraphRedraw.h"
#include "core/vocabulary/Quantity.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <span>

namespace wattrix {

class FramePacer;
class HistoryDocument;
class HistoryHeader;
class MeasurementSettings;

// The history graph window: one graph engine filling the client area,
// drawn into an off-screen image and copied to the screen in one block, so
// that a live graph never flickers. The chrome (frame, grid, titles and
// labels) is kept as an image of its own; a live update joins the new
// readings to the drawing and repaints just them, and redraws the plot
// area only when its range scrolls or its scale changes. Fed from a
// history file or live from the measurement settings; button presses go
// to the parent through Pressed(). Use it from the user-interface thread
// only.
class CGraphCtrl final : public QWidget {
  Q_OBJECT

 public:
  // The off-screen image never gets smaller than this.
  static constexpr int kMinBufferSize = 100;

  explicit CGraphCtrl(QWidget* parent = nullptr);
  ~CGraphCtrl() override;

  GraphFeeder& Feeder() { return m_feeder; }
  const GraphFeeder& Feeder() const { return m_feeder; }
  CGraph& Graph() { return m_feeder.Graph(); }
  const CGraph& Graph() const { return m_feeder.Graph(); }

  // Labels for a quantity (title, time and power texts), then a redraw.
  void ShowQuantity(int modelCode, Quantity quantity, bool returnLoss);
  // History-file use; false (and nothing changes) without header or points.
  bool SetHistory(int modelCode, const HistoryHeader* header, std::span<const std::int32_t> points,
                  std::size_t count, bool returnLoss);
  // Labels and history of a loaded document.
  bool ShowDocument(const HistoryDocument& document);

  // Live use: the readings come from settings (null detaches); the settings
  // must outlive the attachment.
  void AttachLive(MeasurementSettings* settings);
  bool IsLive() const { return m_live; }
  // Shows the newest readings, one per pixel column of the plot; cheap
  // enough for every reading (the redraw waits for the next paint). A
  // reset takes the plot width again; a resize does that by itself.
  void UpdateLive(bool resetWindow);

  // Draws the graph as positioned now into image (bitmap export, report),
  // with the screen's font resolution.
  void RenderTo(QImage& image);
  // The graph at the client size as a 32-bit image.
  QImage RenderClient();

  // The off-screen image as last painted: what the screen shows.
  const QImage& Painted() const { return m_buffer; }

  // Redraws after the engine was changed directly through Graph().
  void Redraw();
  // Repaints go through `pacer` (not owned; null repaints at once).
  void SetFramePacer(FramePacer* pacer) { m_pacer = pacer; }

  QSize sizeHint() const override { return QSize(640, 420); }
  QSize minimumSizeHint() const override { return QSize(kMinBufferSize, kMinBufferSize); }

 signals:
  // A left or right button went down at pos, in the parent's coordinates
  // (the control's own without a parent).
  void Pressed(Qt::MouseButton button, QPoint pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void EnsureBuffer();
  // The window's part that the next drawing changes.
  QRegion PlanRegion(const GraphRedraw::Plan& plan) const;
  void RepaintChanges();
  // Brings the off-screen image up to date with the engine.
  void DrawChanges();
  void CopyFromChrome(QPainter& painter, const QRect& rect) const;
  void UpdateFont();

  GraphFeeder m_feeder;
  GraphRedraw m_redraw;
  FramePacer* m_pacer = nullptr;
  QImage m_chrome;  // the chrome alone, as drawn last
  QImage m_buffer;  // the whole graph as on screen
  bool m_live = false;
  bool m_fontCurrent = false;
};

}  // namespace wattrix
