#pragma once

#include "core/graph/CGraph.h"
#include "core/graph/GraphSettings.h"
#include "core/vocabulary/Quantity.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wattrix {

class HistoryDocument;
class HistoryHeader;
class MeasurementSettings;

// Return loss of a VSWR value: -20 × log10((v + 1) / (v - 1)), held within
// -60 … 0 dB.
double ReturnLossOfVswr(double vswr);

// What the history graph control does besides painting: owns the engine,
// its settings and the point buffer, and fills them from a history file or
// live from MeasurementSettings. The Qt control holds one, repositions it
// on resize, draws Graph() on its off-screen image and forwards clicks.
class GraphFeeder final {
 public:
  // Scheme 1; kind 6, lines, x 0 … 100, y -40 … 50, the time and power texts.
  GraphFeeder();

  CGraph& Graph() { return m_graph; }
  const CGraph& Graph() const { return m_graph; }
  const GraphSettings& Settings() const { return m_settings; }
  std::span<const GraphPoint> Points() const { return m_points; }
  wattrix::Quantity Quantity() const { return m_quantity; }

  // The engine fills the client area.
  void Resize(int width, int height) { m_graph.SetPosition(0, 0, width, height); }

  // Texts for a quantity: title, empty subtitle, time and power labels.
  void ShowQuantity(int modelCode, wattrix::Quantity quantity, bool returnLoss);

  // History-file use: y range, subtitle and unit from the header for the
  // shown quantity, the points of its column, the average line, the title
  // and the axis end texts. False (and nothing changes) without header or
  // points.
  bool SetHistory(int modelCode, const HistoryHeader* header, std::span<const std::int32_t> points,
                  std::size_t count, bool returnLoss);
  // ShowQuantity and SetHistory for a loaded history document.
  bool ShowDocument(const HistoryDocument& document);

  // Live use: the readings come from settings (null detaches). The power
  // label takes the quantity's unit.
  void AttachLive(MeasurementSettings* settings);
  // Shows the newest readings, one per pixel column of the plot area; a
  // reset first takes the plot width as the window width.
  void UpdateLive(bool resetWindow);
  int LiveWindowWidth() const { return m_windowWidth; }

  // Draws into an off-screen canvas (bitmap export, report).
  void RenderTo(Canvas& canvas) { m_graph.Draw(canvas); }

 private:
  void Apply();

  CGraph m_graph;
  GraphSettings m_settings;
  std::vector<GraphPoint> m_points;
  MeasurementSettings* m_live = nullptr;
  int m_windowWidth = 100;
  wattrix::Quantity m_quantity = kAvg;
  int m_modelCode = 0;
};

}  // namespace wattrix
