#include "core/graph/GraphFeeder.h"

#include "core/history/HistoryHeader.h"
#include "core/history/HistoryLayout.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/strings/StringTable.h"
#include "support/RecordingCanvas.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace wattrix {
namespace {

class GraphFeederTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFileBytes(m_dir.File("strings.ini"),
                         "[STRING]\nS_GRAPH_HISTOGRAM=Histogram\nS_GRAPH_TIME=Time\nS_GRAPH_POWER=Power\n"
                         "S_MEASUREVIEW_AVG=AVG\nS_MEASUREVIEW_REV=REV\nS_MEASUREVIEW_PEAK=PEAK\n"
                         "S_MEASUREVIEW_PULSE=PULSE\nS_MEASUREVIEW_VSWR=VSWR\nS_MEASUREVIEW_PAR=PAR\n"
                         "S_MEASUREVIEW_RL=Return Loss\nS_GRAPH_MAX=Max\nS_GRAPH_MIN=Min\n"
                         "S_GRAPH_AVERAGE=Average\nS_GRAPH_HISTORYGRAPH=History Graph\n");
    strings::SetStringTablePath(m_dir.File("strings.ini"));
  }
  void TearDown() override { strings::SetStringTablePath(""); }

  test::TempDir m_dir;
};

HistoryHeader Header(int mask) {
  HistoryHeader h;
  h.SetMask(QuantityMask(mask));
  h.SetStartTime("2024-01-01 10:00:00");
  h.SetStopTime("2024-01-01 10:05:00");
  h.SetStatistics(history::TableEntry(kAvg), {40, 41, 40.5f});
  h.SetDisplay(history::TableEntry(kAvg), {35, 45});
  h.SetStatistics(history::TableEntry(kVswr), {1.0f, 3.0f, 2.0f});
  h.SetDisplay(history::TableEntry(kVswr), {1, 2});
  return h;
}

TEST_F(GraphFeederTest, QuantityTextsAndHistoryOfEachKind) {
  GraphFeeder f;
  EXPECT_EQ(f.Settings().title, "Histogram");
  f.ShowQuantity(5, kAvg, false);
  EXPECT_EQ(f.Settings().yLabel, "Power (AVG)");
  EXPECT_EQ(f.Settings().xLabel, "Time");
  f.ShowQuantity(0, kVswr, true);
  EXPECT_EQ(f.Settings().yLabel, "Return Loss");
  f.ShowQuantity(9, kVswr, true);
  EXPECT_EQ(f.Settings().yLabel, "PAR");
  f.ShowQuantity(5, kVswr, false);
  EXPECT_EQ(f.Settings().yLabel, "VSWR");

  // AVG of a 0x13 history: first value of each record.
  const HistoryHeader h = Header(0x13);
  const std::vector<std::int32_t> points{4012, 100, 5000, 4100, 100000, 5100};
  EXPECT_FALSE(f.SetHistory(5, &h, points, 0, false));
  EXPECT_FALSE(f.SetHistory(5, nullptr, points, 2, false));
  f.ShowQuantity(5, kAvg, false);
  ASSERT_TRUE(f.SetHistory(5, &h, points, 2, false));
  EXPECT_EQ(f.Settings().subtitle, "[AVG] Max : 41.00 dBm, Min : 40.00 dBm, Average : 40.50 dBm");
  EXPECT_EQ(f.Settings().title, "History Graph");
  ASSERT_EQ(f.Points().size(), 2u);
  EXPECT_FLOAT_EQ(f.Points()[0].y, 40.12f);
  EXPECT_EQ(f.Points()[1].x, 1.0f);
  const CGraph& g = f.Graph();
  EXPECT_EQ(g.XMin(), 0);
  EXPECT_EQ(g.XMax(), 2);
  EXPECT_EQ(g.YMin(), 35);
  EXPECT_EQ(g.YMax(), 45);
  EXPECT_EQ(g.Unit(), "dBm");
  EXPECT_TRUE(g.AverageShown());
  EXPECT_DOUBLE_EQ(g.Average(), 40.5);

  // Return loss: VSWR 1.0 plots at -60 dB, a very large VSWR close to 0.
  f.ShowQuantity(5, kVswr, true);
  ASSERT_TRUE(f.SetHistory(5, &h, points, 2, true));
  EXPECT_FLOAT_EQ(f.Points()[0].y, -60.0f);
  EXPECT_NEAR(f.Points()[1].y, -0.0174, 1e-3);
  EXPECT_EQ(g.YMin(), -60);
  EXPECT_EQ(g.YMax(), 0);
  EXPECT_EQ(g.Unit(), "dB");
  EXPECT_NEAR(g.Average(), -9.542, 1e-3);  // return loss of VSWR 2
  EXPECT_EQ(f.Settings().subtitle, "[Return Loss] Max : -6.02 dB, Min : -60.00 dB, Average : -9.54 dB");

  // PAR on a PX470B ignores the return-loss flag and has no unit.
  f.ShowQuantity(9, kVswr, true);
  ASSERT_TRUE(f.SetHistory(9, &h, points, 2, true));
  EXPECT_EQ(f.Settings().subtitle, "[PAR] Max : 3.00, Min : 1.00, Average : 2.00");
  EXPECT_FLOAT_EQ(f.Points()[1].y, 1000.0f);
  EXPECT_EQ(g.Unit(), "");

  // A quantity the records lack draws no line; the title is the file's.
  HistoryHeader titled = Header(0x13);
  titled.SetTitle("Mast 4");
  f.ShowQuantity(5, kPulse, false);
  ASSERT_TRUE(f.SetHistory(5, &titled, points, 2, false));
  EXPECT_TRUE(f.Points().empty());
  EXPECT_EQ(f.Settings().title, "Mast 4");
  test::RecordingCanvas c;
  f.RenderTo(c);
  EXPECT_TRUE(c.OfKind(test::RecordingCanvas::Op::Polyline).empty());
  EXPECT_NE(c.FindText("2024-01-01 10:00:00"), nullptr);
  EXPECT_NE(c.FindText("2024-01-01 10:05:00"), nullptr);

  EXPECT_DOUBLE_EQ(ReturnLossOfVswr(1.0), -60);
  EXPECT_DOUBLE_EQ(ReturnLossOfVswr(0.5), -60);
}

std::int64_t g_now = 1'700'000'000;
std::int64_t Clock() { return g_now; }

TEST_F(GraphFeederTest, LiveWindowFollowsTheNewestReadings) {
  MeasurementSettings s;
  s.SetClock(&Clock);
  s.SetDisplayRange(kAvg, 30, 50);
  s.SetLimits(kAvg, 38, 42);
  for (int i = 0; i < 1000; ++i) s.AddReading(kAvg, 40.0f + static_cast<float>(i % 3));

  GraphFeeder f;
  f.Resize(700, 500);
  test::RecordingCanvas c;
  f.Graph().UpdateFont(c);
  f.ShowQuantity(5, kAvg, false);
  f.AttachLive(&s);
  EXPECT_EQ(f.Settings().yLabel, "Power(dBm)");
  f.UpdateLive(true);
  ASSERT_EQ(f.LiveWindowWidth(), 567);
  ASSERT_EQ(f.Points().size(), 567u);
  EXPECT_EQ(f.Points().front().x, 433.0f);
  EXPECT_EQ(f.Points().back().x, 999.0f);
  EXPECT_EQ(f.Graph().XMin(), 433);
  EXPECT_EQ(f.Graph().XMax(), 1000);
  EXPECT_EQ(f.Graph().YMin(), 30);
  EXPECT_FALSE(f.Graph().LimitsShown());
  EXPECT_FALSE(f.Graph().AverageShown());
  f.RenderTo(c);
  EXPECT_NE(c.FindText("0000-00-00 00:00:00"), nullptr);  // no start time yet

  s.SetLimitCheck(kAvg, true);
  s.MarkStart(false);
  g_now += 65;
  s.AddReading(kAvg, 41);
  f.UpdateLive(false);
  EXPECT_TRUE(f.Graph().LimitsShown());
  EXPECT_EQ(f.Points().front().x, 434.0f);
  c.Clear();
  f.RenderTo(c);
  EXPECT_NE(c.FindText(history::FormatLocalTime(1'700'000'000)), nullptr);
  EXPECT_NE(c.FindText(history::FormatLocalTime(1'700'000'065)), nullptr);
  EXPECT_EQ(c.OfKind(test::RecordingCanvas::Op::Line).size(), 18u + 2u);

  // Fewer readings than columns start at index 0; after a reset the old
  // line is gone.
  s.ResetHistories();
  s.AddReading(kAvg, 40);
  f.UpdateLive(false);
  ASSERT_EQ(f.Points().size(), 1u);
  EXPECT_EQ(f.Graph().XMin(), 0);
  EXPECT_EQ(f.Graph().XMax(), 567);
  s.ResetHistories();
  f.UpdateLive(false);
  c.Clear();
  f.RenderTo(c);
  EXPECT_TRUE(c.OfKind(test::RecordingCanvas::Op::Polyline).empty());
}

}  // namespace
}  // namespace wattrix
