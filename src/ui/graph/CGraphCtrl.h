#pragma once

#include "core/graph/GraphFeeder.h"

#include <QImage>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <span>

namespace wattrix {

class HistoryDocument;
class HistoryHeader;
class MeasurementSettings;

// The history graph window: one graph engine filling the client area,
// drawn into an off-screen image and copied to the screen in one block, so
// that a live graph never flickers. Fed from a history file or live from
// the measurement settings; button presses go to the parent through
// Pressed(). Use it from the user-interface thread only.
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
  void ShowQuantity(int modelCode, int quantity, bool returnLoss);
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

  // Redraws after the engine was changed directly through Graph().
  void Redraw();

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
  void DrawBuffer();
  void UpdateFont();

  GraphFeeder m_feeder;
  QImage m_buffer;
  bool m_dirty = true;
  bool m_live = false;
  bool m_fontCurrent = false;
};

}  // namespace wattrix
