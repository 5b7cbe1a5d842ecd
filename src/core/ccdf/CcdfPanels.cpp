#include "core/ccdf/CcdfPanels.h"

#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <cmath>

namespace wattrix {

namespace {

constexpr int kDeviceCodePX470B = 14;
constexpr double kPX470BAverageOffset = 35.0;

PanelItem Heading(const std::string& text) {
  return PanelItem{true, true, 10, 10, 12, MakeRgb(192, 192, 192), text};
}

PanelItem Line(int index, const std::string& text) {
  return PanelItem{true, false, 20, 10 + 30 * index, 10, MakeRgb(192, 192, 192), text};
}

void Fill(PanelItems& items, const char* heading, std::initializer_list<std::string> lines) {
  items.clear();
  items[0] = Heading(strings::GetString(heading));
  int index = 1;
  for (const auto& text : lines) {
    items[index] = Line(index, text);
    ++index;
  }
}

std::string OnOff(bool on) { return strings::GetString(on ? "S_CCDF_VIEW_ON" : "S_CCDF_VIEW_OFF"); }

std::string DeviceLine(int index, const std::string& label, const MeasurementSettings& s) {
  switch (index) {
    case 1:
      return label + s.ModelName();
    case 2: {
      const auto* row = FindModelByCode(s.ModelCode());
      const bool terminating = row && row->sensorKind == sensor_kind::kTerminating;
      return label + (terminating ? "Terminating" : "Directional");
    }
    case 3:
      return label + s.SerialNumber();
    case 4:
      return label + s.FirmwareVersion();
    default:
      return label;
  }
}

std::string MeasurementLine(int index, const std::string& label, const CcdfPanelContext& c) {
  const auto& s = c.settings;
  switch (index) {
    case 1:
      return FormatC("%s%.2f MHz", label.c_str(), static_cast<double>(s.Frequency()));
    case 2:
      return FormatC("%s%.2f", label.c_str(), static_cast<double>(s.ExternalOffset()));
    case 3:
      return label + SampleProgressText(c.storedSweeps, s.CcdfRate());
    case 4:
      return label + strings::GetString(s.SingleSweep() ? "S_CCDF_VIEW_SINGLE" : "S_CCDF_VIEW_CONTINOUS");
    case 5:
      return s.ModelCode() == model::kPX420B ? label + s.TechnologyText() : std::string();
    default:
      return label;
  }
}

std::string LimitLine(int index, const std::string& label, const MeasurementSettings& s) {
  switch (index) {
    case 1:
      return FormatC("%s%.2f", label.c_str(), static_cast<double>(s.HighLimit(kCcdf)));
    case 2:
      return label + OnOff(s.BeepAlarm(kCcdf));
    case 3:
      return label + OnOff(s.LimitCheck(kCcdf));
    default:
      return label;
  }
}

}  // namespace

std::array<PanelItems, kCcdfPanelCount> BuildPanelItems() {
  using strings::GetString;
  std::array<PanelItems, kCcdfPanelCount> panels;
  Fill(panels[0], "S_CCDF_FRAME_DEVICE",
       {GetString("S_CCDF_FRAME_MODEL"), GetString("S_CCDF_FRAME_TYPE"), GetString("S_CCDF_FRAME_SN"),
        GetString("S_CCDF_FRAME_FW_VER")});
  Fill(panels[1], "S_CCDF_FRAME_MEASURE",
       {GetString("S_CCDF_FRAME_FREQ"), GetString("S_CCDF_FRAME_EXT"), GetString("S_CCDF_FRAME_SAMPLE"),
        GetString("S_CCDF_FRAME_SWEEP"), GetString("S_CCDF_FRAME_TECH")});
  Fill(panels[2], "S_CCDF_FRAME_ALARM_SET",
       {GetString("S_CCDF_FRAME_CREAST"), GetString("S_CCDF_FRAME_ALARM"), GetString("S_CCDF_FRAME_SOUND")});

  auto& average = panels[3];
  average[0] = Heading(GetString("S_CCDF_FRAME_AVG_PWR"));
  average[1] = PanelItem{true, false, 10, 50, 12, MakeRgb(192, 192, 192), GetString("S_CCDF_FRAME_CREST")};

  Fill(panels[4], "S_CCDF_FRAME_PROBABILITY", {"[10%]", "[1%]", "[0.1%]", "[0.01%]", "[0.001%]"});
  Fill(panels[5], "S_CCDF_FRAME_DISTRIBUTION", {"[ 4dB]", "[ 8dB]", "[12dB]", "[16dB]", "[20dB]"});
  return panels;
}

std::string SampleProgressText(int storedSweeps, int ccdfRate) {
  const char* window = nullptr;
  switch (ccdfRate) {
    case 0:
      window = "100,000";
      break;
    case 1:
      window = "200,000";
      break;
    case 2:
      window = "500,000";
      break;
    case 3:
      window = "1,000,000";
      break;
    default:
      return {};
  }
  std::string count = "0";
  if (storedSweeps >= 1 && storedSweeps <= 99) count = FormatC("%d0,000", storedSweeps);
  if (storedSweeps > 99) count = "1,000,000";
  return count + " / " + window;
}

std::string DecimalsText(double value, int decimals) {
  const double rounded = static_cast<double>(static_cast<float>(value));
  switch (decimals) {
    case 2:
      return FormatC("%.2f", rounded);
    case 1:
      return FormatC("%.1f", rounded);
    case 0:
      return FormatC("%.0f", rounded);
    default:
      return {};
  }
}

std::string PanelLineText(CcdfPanel panel, int index, const PanelItem& item,
                          const CcdfPanelContext& context) {
  const std::string& label = item.text;
  if (index == 0 && panel != CcdfPanel::RB1) return label;
  const auto& stats = context.statistics;
  switch (panel) {
    case CcdfPanel::L1:
      return DeviceLine(index, label, context.settings);
    case CcdfPanel::L2:
      return MeasurementLine(index, label, context);
    case CcdfPanel::L3:
      return LimitLine(index, label, context.settings);
    case CcdfPanel::RB1: {
      if (index == 0) {
        // The PX470B reports its average 35 dB high.
        const double average = context.connectedDeviceCode == kDeviceCodePX470B
                                   ? stats.AveragePower - kPX470BAverageOffset
                                   : stats.AveragePower;
        return FormatC("%s%s dBm", label.c_str(), DecimalsText(average, context.settings.Decimals()).c_str());
      }
      if (index == 1) {
        return FormatC("%s%s dB", label.c_str(),
                       DecimalsText(stats.CrestFactor, context.settings.Decimals()).c_str());
      }
      return label;
    }
    case CcdfPanel::RB2:
      if (index >= 1 && index <= 5) return FormatC("%s %.2lf dB", label.c_str(), stats.LevelAt[index - 1]);
      return label;
    case CcdfPanel::RB3:
      if (index >= 1 && index <= 5)
        return FormatC("%s %.2lf %%", label.c_str(), stats.ProbabilityAt[index - 1]);
      return label;
  }
  return label;
}

std::vector<int> PanelLineTops(std::span<const int> heights, int firstTop) {
  std::vector<int> tops;
  tops.reserve(heights.size());
  for (std::size_t i = 0; i < heights.size(); ++i) {
    tops.push_back(i == 0 ? firstTop : tops[i - 1] + heights[i - 1] + heights[i] / 5);
  }
  return tops;
}

void DrawCcdfPanel(Canvas& canvas, const RectF& client, CcdfPanel panel, const PanelItems& items,
                   const CcdfPanelContext& context) {
  canvas.FillRect(client, Brush::Solid(kCcdfPanelBackground));
  if (client.width <= 0 || client.height <= 0) return;
  std::vector<Font> fonts;
  std::vector<int> heights;
  for (const auto& entry : items) {
    const PanelItem& item = entry.second;
    fonts.push_back(
        Font{"Arial", static_cast<double>(PointsToPixels(item.pointSize, canvas.DpiY())), 700, 0});
    // The font's line height, so that an empty line still takes its room.
    heights.push_back(static_cast<int>(std::lround(canvas.Metrics(fonts.back()).height)));
  }
  const int firstTop = items.empty() ? 0 : items.begin()->second.y;
  const std::vector<int> tops = PanelLineTops(heights, firstTop);
  std::size_t line = 0;
  for (const auto& [index, item] : items) {
    const std::string text = PanelLineText(panel, index, item, context);
    if (!text.empty())
      canvas.DrawText(text, PointF{client.x + item.x, client.y + tops[line]}, fonts[line], item.colour);
    ++line;
  }
}

}  // namespace wattrix
