#include "core/history/BitmapFile.h"
#include "core/history/HistoryCommands.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDocument.h"
#include "core/history/LittleEndian.h"
#include "core/platform/NumberText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace wattrix {
namespace {

TEST(HistoryCsvExport, MatchesAHandWrittenFile) {
  HistoryHeader h;
  h.SetMask(QuantityMask{0x03});  // AVG and PEAK of a PX420B
  h.SetModelName("PX420B");
  h.SetSerialNumber("1234");
  h.SetSensorType('A');
  h.SetFrequencyX100(240050);
  h.SetStartTime("2024-05-06 07:08:09");
  h.SetStopTime("2024-05-06 07:09:10");
  h.SetTitle("Antenna \xC3\xA9");
  const std::vector<std::int32_t> points{4012, 4567, -5, 0, -350, 123456789};
  const std::string expected =
      "Model, PX420B\r\n"
      "SN, 1234\r\n"
      "Type, Directional\r\n"
      "Frequency, 2400.50\r\n"
      "StartTime, 2024-05-06 07:08:09\r\n"
      "StopTime, 2024-05-06 07:09:10\r\n"
      "Title, Antenna \xC3\xA9\r\n"
      "AVG,PEAK,\r\n"
      "40.12,45.67\r\n"
      "-0.05,0.00\r\n"
      "-3.50,1234567.89\r\n";
  EXPECT_EQ(FormatHistoryCsv(h, points, 3, 5), expected);

  test::TempDir dir;
  ASSERT_TRUE(ExportHistoryCsv(dir.File("out.csv"), h, points, 3, 5));
  EXPECT_EQ(test::ReadFileBytes(dir.File("out.csv")), expected);
  EXPECT_FALSE(ExportHistoryCsv(dir.File("bad.csv"), h, points, 4, 5));  // more records than values
  EXPECT_FALSE(std::filesystem::exists(dir.File("bad.csv")));
  // A full disk fails the export and keeps the previous file.
  const std::vector<std::int32_t> many(2 * 20000, 123456);
  {
    test::FileSizeLimit limit(16384);
    EXPECT_FALSE(ExportHistoryCsv(dir.File("out.csv"), h, many, 20000, 5));
  }
  EXPECT_EQ(test::ReadFileBytes(dir.File("out.csv")), expected);

  // The number texts stay in the C locale under a comma locale.
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
    EXPECT_EQ(FormatHistoryCsv(h, points, 3, 5), expected);
    std::setlocale(LC_NUMERIC, "C");
  }

  h.SetSensorType('B');
  EXPECT_NE(FormatHistoryCsv(h, points, 0, 9).find("Type, Terminating\r\nFrequency"), std::string::npos);
}

TEST(HistoryCsvExport, ColumnLinesAndHundredths) {
  EXPECT_EQ(CsvColumnLine(0, QuantityMask{0x13}), "AVG, VSWR, PEAK\r\n");
  EXPECT_EQ(CsvColumnLine(7, QuantityMask{0x01}), "AVG, VSWR, PEAK\r\n");
  EXPECT_EQ(CsvColumnLine(6, QuantityMask{0x13}), "AVG\r\n");
  EXPECT_EQ(CsvColumnLine(8, QuantityMask{0x13}), "PEAK\r\n");
  EXPECT_EQ(CsvColumnLine(4, QuantityMask{0x13}), "AVG, PAR, PEAK\r\n");
  EXPECT_EQ(CsvColumnLine(5, QuantityMask{0x1F}), "AVG,REV,VSWR,PEAK,PULSE,\r\n");
  EXPECT_EQ(CsvColumnLine(9, QuantityMask{0x18}), "PAR,PULSE,\r\n");
  EXPECT_EQ(CsvColumnLine(12, QuantityMask{0x01}), "AVG, PEAK, VSWR\r\n");

  // The integer formatting equals printf("%.2f", v / 100.0) for any i32.
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  std::vector<std::int32_t> values{0, 1, -1, 99, -99, 100, -100, INT32_MAX, INT32_MIN};
  for (int i = 0; i < 2000; ++i) values.push_back(any(random));
  for (const auto v : values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", v / 100.0);
    ASSERT_EQ(FormatHundredths(v), buffer) << v;
  }
  EXPECT_EQ(FormatFixed(-0.004, 2), "-0.00");
  EXPECT_EQ(FormatGeneral(12345.678, 4), "1.235e+04");
  EXPECT_EQ(FormatGeneral(-40, 4), "-40");
}

TEST(HistoryBitmapExport, TenByTenImage) {
  std::vector<std::uint32_t> pixels(100);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
  const auto bytes = EncodeBitmap({10, 10, pixels});
  ASSERT_EQ(bytes.size(), 454u);
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(le::LoadU32(b + 2), 454u);
  EXPECT_EQ(le::LoadU32(b + 6), 0u);
  EXPECT_EQ(le::LoadU32(b + 10), 54u);
  EXPECT_EQ(le::LoadU32(b + 14), 40u);
  EXPECT_EQ(le::LoadI32(b + 18), 10);
  EXPECT_EQ(le::LoadI32(b + 22), 10);
  EXPECT_EQ(b[26] | (b[27] << 8), 1);
  EXPECT_EQ(b[28] | (b[29] << 8), 32);
  for (std::size_t at = 30; at < 54; ++at) EXPECT_EQ(b[at], 0) << at;
  // The first stored row is the image's bottom row, pixels as B, G, R, A.
  EXPECT_EQ(le::LoadU32(b + 54), pixels[90]);
  EXPECT_EQ(b[54], 90);
  EXPECT_EQ(b[57], 0xFF);
  EXPECT_EQ(le::LoadU32(b + 54 + 9 * 40 + 4 * 3), pixels[3]);

  EXPECT_TRUE(EncodeBitmap({10, 10, std::span(pixels).first(99)}).empty());
  EXPECT_TRUE(EncodeBitmap({0, 10, pixels}).empty());

  test::TempDir dir;
  const auto path = dir.File("graph.bmp");
  ASSERT_TRUE(WriteBitmapFile(path, {10, 10, pixels}));
  EXPECT_EQ(test::ReadFileBytes(path), bytes);

  // A full disk fails the export and keeps the file that was there.
  std::vector<std::uint32_t> large(400 * 300);
  {
    test::FileSizeLimit limit(4096);
    EXPECT_FALSE(WriteBitmapFile(path, {400, 300, large}));
  }
  EXPECT_EQ(test::ReadFileBytes(path), bytes);
}

TEST(HistoryCommands, EnablingCheckingAndScale) {
  const auto enabled = [](HistoryCommand c, int model, int mask) {
    return HistoryCommandState(c, model, QuantityMask(mask), kAvg, false, false).enabled;
  };
  using C = HistoryCommand;
  EXPECT_TRUE(enabled(C::Avg, 7, 0));
  EXPECT_FALSE(enabled(C::Avg, 3, 0x1F));
  EXPECT_FALSE(enabled(C::Avg, 10, 0x1F));
  EXPECT_TRUE(enabled(C::Avg, 5, 0x01));
  EXPECT_FALSE(enabled(C::Avg, 9, 0x1E));
  EXPECT_TRUE(enabled(C::Rev, 5, 0x04));
  EXPECT_FALSE(enabled(C::Rev, 0, 0x1F));
  EXPECT_TRUE(enabled(C::Peak, 8, 0));
  EXPECT_FALSE(enabled(C::Peak, 1, 0x1F));
  EXPECT_FALSE(enabled(C::Peak, 5, 0x01));
  EXPECT_TRUE(enabled(C::Pulse, 9, 0x08));
  EXPECT_FALSE(enabled(C::Pulse, 0, 0x1F));
  EXPECT_TRUE(enabled(C::Vswr, 2, 0));
  EXPECT_TRUE(enabled(C::ReturnLoss, 5, 0x10));
  EXPECT_FALSE(enabled(C::Vswr, 9, 0x1F));
  EXPECT_TRUE(enabled(C::Par, 4, 0));
  EXPECT_TRUE(enabled(C::Par, 9, 0x10));
  EXPECT_FALSE(enabled(C::Par, 5, 0x1F));

  EXPECT_TRUE(HistoryCommandState(C::Vswr, 0, QuantityMask{0x13}, kVswr, false, false).checked);
  EXPECT_FALSE(HistoryCommandState(C::Vswr, 0, QuantityMask{0x13}, kVswr, true, false).checked);
  EXPECT_TRUE(HistoryCommandState(C::ReturnLoss, 0, QuantityMask{0x13}, kVswr, true, false).checked);
  EXPECT_FALSE(HistoryCommandState(C::Rev, 0, QuantityMask{0x1F}, kRev, false, false).checked);
  EXPECT_TRUE(HistoryCommandState(C::Rev, 5, QuantityMask{0x1F}, kRev, false, false).checked);
  EXPECT_EQ(HistoryCommandState(C::Save, 0, QuantityMask{0}, kAvg, false, true), (CommandState{true, false}));
  EXPECT_FALSE(HistoryCommandState(C::Save, 0, QuantityMask{0x1F}, kAvg, false, false).enabled);
  EXPECT_TRUE(QuantityOfCommand(C::ReturnLoss)->returnLoss);
  EXPECT_FALSE(QuantityOfCommand(C::Save));

  const auto flat = ProposeScale(3.5f, 3.5f);
  EXPECT_EQ(flat.top, 3.5f);
  EXPECT_EQ(flat.bottom, 3.5f);
  const auto spread = ProposeScale(10, 30);
  EXPECT_FLOAT_EQ(spread.top, 32);
  EXPECT_FLOAT_EQ(spread.bottom, 8);
  EXPECT_FLOAT_EQ(ParseScaleField(" -12.5 "), -12.5f);
  EXPECT_EQ(ParseScaleField("abc"), 0.0f);
  EXPECT_EQ(ParseScaleField(""), 0.0f);
  EXPECT_EQ(ParseScaleField("1e300"), std::numeric_limits<float>::max());
}

}  // namespace
}  // namespace wattrix
