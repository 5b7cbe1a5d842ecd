#include "cli/CliRunner.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDocument.h"
#include "core/history/HistoryLayout.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/vocabulary/Quantity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

namespace wattrix {
namespace {

using test::RunCli;

std::int64_t Clock() { return 1'600'000'000; }

TEST(PshCommand, InfoAndCsvOfASavedRun) {
  test::TempDir dir;
  MeasurementSettings s;
  s.SetClock(&Clock);
  s.SetModelCode(5);
  s.SetSerialNumber("1001");
  s.SetFrequency(1800.25f);
  s.SetExternalOffset(-2.5f);
  s.SetDisplayRange(kPeak, 10, 50);
  s.MarkStart(true);
  for (const float v : {40.0f, 41.0f}) {
    s.AddReading(kAvg, v);
    s.AddReading(kPeak, v + 3);
  }
  const auto path = dir.File("run.psh");
  ASSERT_TRUE(WriteHistoryFile(path, s, QuantityMask{0x03}, "Tower \xC3\xA9"));

  const auto info = RunCli("psh info '" + path + "'");
  EXPECT_EQ(info.status, 0);
  const std::string when = history::FormatLocalTime(1'600'000'000);
  const std::string expected =
      "mask=0x03\nmodel=PX420B\nserial=1001\ntype=A\nfrequency=1800.25\nstart=" + when + "\nstop=" + when +
      "\noffset=-2.50\ninterval=0 ms\ntitle=Tower \xC3\xA9\npoints=2\n"
      "stats_AVG=40.00,41.00,40.53\ndisplay_AVG=20.00,60.00\n"
      "stats_REV=0.00,0.00,0.00\ndisplay_REV=20.00,60.00\n"
      "stats_PEAK=43.00,44.00,43.53\ndisplay_PEAK=10.00,50.00\n"
      "stats_VSWR=0.00,0.00,0.00\ndisplay_VSWR=1.00,2.00\n"
      "stats_PULSE=0.00,0.00,0.00\ndisplay_PULSE=20.00,60.00\n";
  EXPECT_EQ(info.out, expected);

  const auto csvPath = dir.File("run.csv");
  EXPECT_EQ(RunCli("psh csv '" + path + "' '" + csvPath + "'").status, 0);
  HistoryDocument doc;
  ASSERT_TRUE(doc.Load(path));
  EXPECT_EQ(test::ReadFileBytes(csvPath), FormatHistoryCsv(doc.Header(), doc.Points(), doc.Count(), 5));
  EXPECT_NE(test::ReadFileBytes(csvPath).find("AVG,PEAK,\r\n40.00,43.00\r\n41.00,44.00\r\n"),
            std::string::npos);

  test::WriteFileBytes(dir.File("bad.psh"), std::string(217, '\x01'));
  EXPECT_EQ(RunCli("psh info '" + dir.File("bad.psh") + "'").status, 1);
  EXPECT_EQ(RunCli("psh csv '" + dir.File("bad.psh") + "' '" + dir.File("x.csv") + "'").status, 1);
  EXPECT_EQ(RunCli("psh csv '" + path + "' '" + dir.File("missing/x.csv") + "'").status, 1);
  EXPECT_EQ(RunCli("psh info").status, 2);
  EXPECT_EQ(RunCli("psh frob '" + path + "'").status, 2);
}

}  // namespace
}  // namespace wattrix
