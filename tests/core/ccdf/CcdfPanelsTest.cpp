#include "core/ccdf/CcdfFrameLayout.h"
#include "core/ccdf/CcdfPanels.h"
#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/strings/StringTable.h"
#include "support/RecordingCanvas.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

class CcdfPanels : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFileBytes(m_dir.File("strings.ini"),
                         "[STRING]\n"
                         "S_CCDF_FRAME_DEVICE=Device\n"
                         "S_CCDF_FRAME_MODEL=Model:\n"
                         "S_CCDF_FRAME_TYPE=Type:\n"
                         "S_CCDF_FRAME_SN=S/N:\n"
                         "S_CCDF_FRAME_FW_VER=F/W:\n"
                         "S_CCDF_FRAME_MEASURE=Measurement\n"
                         "S_CCDF_FRAME_FREQ=Freq:\n"
                         "S_CCDF_FRAME_EXT=Offset:\n"
                         "S_CCDF_FRAME_SAMPLE=Samples:\n"
                         "S_CCDF_FRAME_SWEEP=Sweep:\n"
                         "S_CCDF_FRAME_TECH=Tech:\n"
                         "S_CCDF_FRAME_ALARM_SET=Limits\n"
                         "S_CCDF_FRAME_CREAST=Crest:\n"
                         "S_CCDF_FRAME_ALARM=Alarm:\n"
                         "S_CCDF_FRAME_AVG_PWR=Avg:\n"
                         "S_CCDF_FRAME_CREST=Crest:\n"
                         "S_CCDF_FRAME_PROBABILITY=Levels\n"
                         "S_CCDF_FRAME_DISTRIBUTION=Probabilities\n"
                         "S_CCDF_VIEW_SINGLE=Single\n"
                         "S_CCDF_VIEW_CONTINOUS=Continuous\n"
                         "S_CCDF_VIEW_ON=On\n"
                         "S_CCDF_VIEW_OFF=Off\n");
    strings::SetStringTablePath(m_dir.File("strings.ini"));
    m_settings.SetSettingsDirectory(m_dir.Path());
    m_items = BuildPanelItems();
  }
  void TearDown() override { strings::SetStringTablePath(""); }

  std::string Line(CcdfPanel panel, int index) {
    const CcdfPanelContext context{m_settings, m_stats, m_sweeps, m_deviceCode};
    return PanelLineText(panel, index, m_items[static_cast<int>(panel)].at(index), context);
  }

  test::TempDir m_dir;
  MeasurementSettings m_settings;
  CcdfStatistics m_stats;
  int m_sweeps = 0;
  int m_deviceCode = 10;
  std::array<PanelItems, kCcdfPanelCount> m_items;
};

TEST_F(CcdfPanels, ItemsOfTheSixPanels) {
  const std::size_t sizes[kCcdfPanelCount] = {5, 6, 4, 2, 6, 6};
  for (int p = 0; p < kCcdfPanelCount; ++p) {
    ASSERT_EQ(m_items[p].size(), sizes[p]) << p;
    for (const auto& [index, item] : m_items[p]) {
      EXPECT_EQ(item.heading, index == 0);
      EXPECT_EQ(item.colour, MakeRgb(192, 192, 192));
      if (p == 3) continue;
      EXPECT_EQ(item.x, index == 0 ? 10 : 20);
      EXPECT_EQ(item.y, index == 0 ? 10 : 10 + 30 * index);
      EXPECT_EQ(item.pointSize, index == 0 ? 12 : 10);
    }
  }
  const auto& average = m_items[3];
  EXPECT_EQ(average.at(1).x, 10);
  EXPECT_EQ(average.at(1).y, 50);
  EXPECT_EQ(average.at(1).pointSize, 12);
  EXPECT_EQ(m_items[4].at(3).text, "[0.1%]");
  EXPECT_EQ(m_items[5].at(1).text, "[ 4dB]");
  // "S_CCDF_FRAME_SOUND" is missing from the table: empty label, value still shown.
  EXPECT_EQ(m_items[2].at(3).text, "");
  EXPECT_EQ(Line(CcdfPanel::L3, 3), "Off");
}

TEST_F(CcdfPanels, DeviceMeasurementAndLimitLines) {
  m_settings.SetDevice(model::kPX470B, 1234, 105);
  EXPECT_EQ(Line(CcdfPanel::L1, 0), "Device");
  EXPECT_EQ(Line(CcdfPanel::L1, 1), "Model:PX470B");
  EXPECT_EQ(Line(CcdfPanel::L1, 2), "Type:Terminating");
  EXPECT_EQ(Line(CcdfPanel::L1, 3), "S/N:1234");
  EXPECT_EQ(Line(CcdfPanel::L1, 4), "F/W:1.05");
  EXPECT_EQ(Line(CcdfPanel::L2, 5), "");  // technology only on the PX420B

  m_settings.SetDevice(model::kPX420B, 1, 1);
  m_settings.SetTechnology(0);
  m_settings.SetFrequency(2400.5f);
  m_settings.SetExternalOffset(-1.25f);
  m_settings.SetSingleSweep(true);
  m_settings.SetLimits(kCcdf, 1, 8.5f);
  m_settings.SetBeepAlarm(kCcdf, true);
  EXPECT_EQ(Line(CcdfPanel::L1, 2), "Type:Directional");
  EXPECT_EQ(Line(CcdfPanel::L2, 1), "Freq:2400.50 MHz");
  EXPECT_EQ(Line(CcdfPanel::L2, 2), "Offset:-1.25");
  EXPECT_EQ(Line(CcdfPanel::L2, 4), "Sweep:Single");
  EXPECT_EQ(Line(CcdfPanel::L2, 5), "Tech:LTE-TDD");
  EXPECT_EQ(Line(CcdfPanel::L3, 1), "Crest:8.50");
  EXPECT_EQ(Line(CcdfPanel::L3, 2), "Alarm:On");

  // Sample progress: 10,000 samples per stored sweep against the window.
  m_settings.SetCcdfRate(1);
  m_sweeps = 7;
  EXPECT_EQ(Line(CcdfPanel::L2, 3), "Samples:70,000 / 200,000");
  m_sweeps = 0;
  EXPECT_EQ(Line(CcdfPanel::L2, 3), "Samples:0 / 200,000");
  m_settings.SetCcdfRate(5);
  EXPECT_EQ(Line(CcdfPanel::L2, 3), "Samples:");
  EXPECT_EQ(SampleProgressText(99, 3), "990,000 / 1,000,000");
  EXPECT_EQ(SampleProgressText(100, 3), "1,000,000 / 1,000,000");
  EXPECT_EQ(SampleProgressText(10, 0), "100,000 / 100,000");
}

TEST_F(CcdfPanels, StatisticsLines) {
  m_stats.AveragePower = 12.5;
  m_stats.CrestFactor = 8.125000001;  // rounded to single precision first: 8.125 → "8.12"
  m_settings.SetDecimals(2);
  EXPECT_EQ(Line(CcdfPanel::RB1, 0), "Avg:12.50 dBm");
  EXPECT_EQ(Line(CcdfPanel::RB1, 1), "Crest:8.12 dB");
  m_settings.SetDecimals(0);
  EXPECT_EQ(Line(CcdfPanel::RB1, 0), "Avg:12 dBm");
  m_settings.SetDecimals(1);
  m_deviceCode = 14;  // the PX470B reads 35 dB high; the crest factor stays
  EXPECT_EQ(Line(CcdfPanel::RB1, 0), "Avg:-22.5 dBm");
  EXPECT_EQ(Line(CcdfPanel::RB1, 1), "Crest:8.1 dB");
  m_settings.SetDecimals(3);
  EXPECT_EQ(Line(CcdfPanel::RB1, 0), "Avg: dBm");

  m_stats.LevelAt = {3.456, 6, 8, 9.999, 11};
  m_stats.ProbabilityAt = {12.345, 1, 0.1, 0.01, 0};
  EXPECT_EQ(Line(CcdfPanel::RB2, 0), "Levels");
  EXPECT_EQ(Line(CcdfPanel::RB2, 1), "[10%] 3.46 dB");
  EXPECT_EQ(Line(CcdfPanel::RB2, 4), "[0.01%] 10.00 dB");
  EXPECT_EQ(Line(CcdfPanel::RB3, 1), "[ 4dB] 12.35 %");
  EXPECT_EQ(Line(CcdfPanel::RB3, 5), "[20dB] 0.00 %");
}

TEST_F(CcdfPanels, LineLayoutAndPainting) {
  const int heights[] = {19, 16, 16, 12};
  EXPECT_EQ(PanelLineTops(heights, 10), (std::vector<int>{10, 32, 51, 69}));

  // On the recording canvas 12 points are 16 px (line 19), 10 points 13 px (line 16).
  m_settings.SetDevice(model::kPX470B, 1, 1);
  test::RecordingCanvas canvas;
  const CcdfPanelContext context{m_settings, m_stats, 3, 14};
  DrawCcdfPanel(canvas, RectF{0, 0, 300, 200}, CcdfPanel::L2, m_items[1], context);
  const auto& prims = canvas.Primitives();
  ASSERT_EQ(prims.size(), 6u);  // background and five lines; the technology line is empty
  EXPECT_EQ(prims[0].op, test::RecordingCanvas::Op::FillRect);
  EXPECT_EQ(prims[0].brush.colour, MakeRgb(28, 60, 114));
  EXPECT_EQ(prims[1].text, "Measurement");
  EXPECT_EQ(prims[1].points[0], (PointF{10, 10}));
  EXPECT_EQ(prims[1].font.weight, 700);
  EXPECT_EQ(prims[1].font.pixelHeight, 16);
  EXPECT_EQ(prims[2].points[0], (PointF{20, 10 + 19 + 3}));
  EXPECT_EQ(prims[3].points[0], (PointF{20, 32 + 16 + 3}));
  EXPECT_EQ(prims[4].text, "Samples:30,000 / 500,000");

  canvas.Clear();
  DrawCcdfPanel(canvas, RectF{0, 0, 0, 0}, CcdfPanel::L2, m_items[1], context);
  EXPECT_EQ(canvas.Primitives().size(), 1u);
}

TEST(CcdfFrameLayout, QuarterWidthAndThreeQuarterHeight) {
  const auto l = CcdfFrameLayout::For(1001, 803);
  EXPECT_EQ(l.outerColumn0, (SplitterSize{250, 267}));
  EXPECT_EQ(l.leftRow0, (SplitterSize{267, 0}));
  EXPECT_EQ(l.leftRow1, (SplitterSize{267, 0}));
  EXPECT_EQ(l.rightRow0, (SplitterSize{600, 0}));  // (803 / 4) × 3, not 803 × 3 / 4
  EXPECT_EQ(l.lowerColumn0, (SplitterSize{250, 0}));
  EXPECT_EQ(l.lowerColumn1, (SplitterSize{250, 0}));
  EXPECT_EQ(CcdfFrameLayout::GraphCreateWidth(1001), 750);
}

}  // namespace
}  // namespace wattrix
