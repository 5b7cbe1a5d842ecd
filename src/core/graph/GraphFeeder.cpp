#include "core/graph/GraphFeeder.h"

#include "core/measure/ReadoutFormat.h"

#include "core/vocabulary/SensorModel.h"
#include "core/history/HistoryDocument.h"
#include "core/history/HistoryHeader.h"
#include "core/history/HistoryLayout.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

const char* NameKey(Quantity quantity) {
  switch (quantity) {
    case kRev:
      return "S_MEASUREVIEW_REV";
    case kPeak:
      return "S_MEASUREVIEW_PEAK";
    case kPulse:
      return "S_MEASUREVIEW_PULSE";
    default:
      return "S_MEASUREVIEW_AVG";
  }
}

// "[name] max : …, min : …, average : …" with the unit after each value.
std::string Subtitle(const char* nameKey, double max, double min, double average, const std::string& unit) {
  const std::string suffix = unit.empty() ? std::string() : " " + unit;
  return "[" + strings::GetString(nameKey) + "] " + strings::GetString("S_GRAPH_MAX") + " : " +
         FormatFixed(max, 2) + suffix + ", " + strings::GetString("S_GRAPH_MIN") + " : " +
         FormatFixed(min, 2) + suffix + ", " + strings::GetString("S_GRAPH_AVERAGE") + " : " +
         FormatFixed(average, 2) + suffix;
}

}  // namespace

double ReturnLossOfVswr(double vswr) { return ReturnLossDb(vswr).value_or(-60.0); }

GraphFeeder::GraphFeeder() : m_graph(graph::kScreenScheme) {
  m_settings.title = strings::GetString("S_GRAPH_HISTOGRAM");
  m_settings.xLabel = strings::GetString("S_GRAPH_TIME");
  m_settings.yLabel = strings::GetString("S_GRAPH_POWER");
  m_graph.SetXRange(m_settings.xMin, m_settings.xMax);
  m_graph.SetYRange(m_settings.yMin, m_settings.yMax);
  m_graph.SetSettings(m_settings);  // refused without points; the texts go in below
  m_graph.ClearPoints();
}

void GraphFeeder::ShowQuantity(int modelCode, wattrix::Quantity quantity, bool returnLoss) {
  m_modelCode = modelCode;
  m_quantity = quantity;
  m_settings.title = strings::GetString("S_GRAPH_HISTOGRAM");
  m_settings.subtitle.clear();
  m_settings.xLabel = strings::GetString("S_GRAPH_TIME");
  if (quantity == kVswr) {
    if (CarriesPar(modelCode)) {
      m_settings.yLabel = strings::GetString("S_MEASUREVIEW_PAR");
    } else {
      m_settings.yLabel = strings::GetString(returnLoss ? "S_MEASUREVIEW_RL" : "S_MEASUREVIEW_VSWR");
    }
  } else {
    m_settings.yLabel =
        strings::GetString("S_GRAPH_POWER") + " (" + strings::GetString(NameKey(quantity)) + ")";
  }
  Apply();
}

bool GraphFeeder::SetHistory(int modelCode, const HistoryHeader* header, std::span<const std::int32_t> points,
                             std::size_t count, bool returnLoss) {
  if (!header || count == 0 || points.empty()) return false;
  const int k = history::RecordLength(header->Mask());
  if (k == 0 || count > points.size() / static_cast<std::size_t>(k)) return false;
  m_modelCode = modelCode;

  const wattrix::Quantity quantity = history::TableEntry(m_quantity) < 0 ? kAvg : m_quantity;
  const auto stats = header->Statistics(history::TableEntry(quantity));
  DisplayRange range = header->Display(history::TableEntry(quantity));
  const bool par = quantity == kVswr && CarriesPar(modelCode);
  const bool rl = quantity == kVswr && !par && returnLoss;
  std::string unit = "dBm";
  double average = stats.average;
  if (quantity == kVswr) {
    unit = rl ? "dB" : "";
    if (rl) {
      range = DisplayRange{0.0f, -60.0f};
      average = ReturnLossOfVswr(stats.average);
      m_settings.subtitle = Subtitle("S_MEASUREVIEW_RL", ReturnLossOfVswr(stats.max),
                                     ReturnLossOfVswr(stats.min), average, unit);
    } else {
      m_settings.subtitle = Subtitle(par ? "S_MEASUREVIEW_PAR" : "S_MEASUREVIEW_VSWR", stats.max, stats.min,
                                     stats.average, unit);
    }
  } else {
    m_settings.subtitle = Subtitle(NameKey(quantity), stats.max, stats.min, stats.average, unit);
  }
  m_graph.SetUnit(unit);
  m_graph.SetAverage(average);
  m_graph.ShowAverage(true);
  m_graph.ShowLimits(false);

  // A quantity the records do not hold shows no line rather than another
  // quantity's column.
  const int position = history::RecordPosition(header->Mask(), quantity);
  m_points.clear();
  if (position >= 0) {
    m_points.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const double value =
          points[i * static_cast<std::size_t>(k) + static_cast<std::size_t>(position)] / 100.0;
      m_points[i] =
          GraphPoint{static_cast<float>(i), static_cast<float>(rl ? ReturnLossOfVswr(value) : value)};
    }
  }

  const auto title = header->Title();
  m_settings.title = title.empty() ? strings::GetString("S_GRAPH_HISTORYGRAPH") : title;
  m_settings.kind = graph::kKindPoints;
  m_settings.style = graph::kStyleLines;
  m_settings.xMin = 0;
  m_settings.xMax = static_cast<float>(count);
  m_settings.yMin = range.low;
  m_settings.yMax = range.high;
  m_graph.SetAxisEndTexts(header->StartTime(), header->StopTime());
  Apply();
  return true;
}

bool GraphFeeder::ShowDocument(const HistoryDocument& document) {
  ShowQuantity(document.ModelCode(), document.Quantity(), document.ReturnLoss());
  return SetHistory(document.ModelCode(), &document.Header(), document.Points(), document.Count(),
                    document.ReturnLoss());
}

void GraphFeeder::AttachLive(MeasurementSettings* settings) {
  m_live = settings;
  if (!settings) return;
  const std::string unit = IsPowerQuantity(m_quantity) ? "dBm" : "";
  m_settings.yLabel = strings::GetString("S_GRAPH_POWER");
  if (!unit.empty()) m_settings.yLabel += "(" + unit + ")";
  Apply();
}

void GraphFeeder::UpdateLive(bool resetWindow) {
  if (!m_live || !HasReadingBuffer(m_quantity)) return;
  if (resetWindow) {
    m_windowWidth = std::max(1, m_graph.PlotArea().width);
    m_points.clear();
    m_points.reserve(static_cast<std::size_t>(m_windowWidth));
  }
  int count = 0;
  const float* readings = m_live->GetReadings(m_quantity, count);
  const int first = count > m_windowWidth ? count - m_windowWidth : 0;
  m_points.clear();
  for (int i = first; readings && i < count; ++i) {
    m_points.push_back(GraphPoint{static_cast<float>(i), readings[i]});
  }

  m_settings.kind = graph::kKindPoints;
  m_settings.style = graph::kStyleLines;
  m_settings.xMin = static_cast<float>(first);
  m_settings.xMax = static_cast<float>(first + m_windowWidth);
  m_settings.yMin = m_live->DisplayLow(m_quantity);
  m_settings.yMax = m_live->DisplayHigh(m_quantity);
  m_graph.SetLimits(m_live->HighLimit(m_quantity), m_live->LowLimit(m_quantity));
  m_graph.ShowLimits(m_live->LimitCheck(m_quantity));
  m_graph.ShowAverage(false);
  m_graph.SetUnit(m_quantity == kVswr ? "" : "dBm");
  if (m_live->StartTime() != 0 && m_live->LastReadingTime() != 0) {
    m_graph.SetAxisEndTexts(history::FormatLocalTime(m_live->StartTime()),
                            history::FormatLocalTime(m_live->LastReadingTime()));
  } else {
    m_graph.SetAxisEndTexts(history::kNoTime, history::kNoTime);
  }
  Apply();
}

void GraphFeeder::Apply() {
  m_settings.points = m_points;
  if (m_graph.SetSettings(m_settings)) return;
  // Without points the engine refuses the settings; it still takes the
  // texts and ranges, and draws no line (rather than the previous one).
  GraphSettings empty = m_settings;
  empty.kind = 0;
  empty.points = {};
  m_graph.SetSettings(empty);
}

}  // namespace wattrix
