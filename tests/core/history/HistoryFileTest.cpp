#include "core/measure/RunFile.h"

#include "core/vocabulary/SensorModel.h"
#include "core/history/HistoryLayout.h"
#include "core/history/LittleEndian.h"
#include "core/history/SingleByteText.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wattrix {
namespace {

std::int64_t g_now = 0;
std::int64_t FixedClock() { return g_now; }

std::int32_t I32At(const std::string& bytes, std::size_t offset) {
  return le::LoadI32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}
float F32At(const std::string& bytes, std::size_t offset) {
  return le::LoadF32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

TEST(HistoryLayout, QuantityOrdersAndRounding) {
  // 0x13: records AVG, VSWR, PEAK (12 bytes); 0x1F: all five (20 bytes).
  EXPECT_EQ(history::RecordLength(QuantityMask{0x13}), 3);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x13}, kAvg), 0);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x13}, kVswr), 1);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x13}, kPeak), 2);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x13}, kRev), -1);
  EXPECT_EQ(history::RecordLength(QuantityMask{0x1F}), 5);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x1F}, kRev), 1);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x1F}, kPeak), 3);
  EXPECT_EQ(history::RecordPosition(QuantityMask{0x1F}, kPulse), 4);
  EXPECT_EQ(history::RecordLength(QuantityMask{0xE0}), 0);  // only unknown bits
  EXPECT_EQ(history::TableEntry(kPeak), 2);
  EXPECT_EQ(history::TableEntry(kVswr), 3);
  EXPECT_EQ(history::FirstQuantity(QuantityMask{0x0A}), kPeak);
  EXPECT_EQ(history::FirstQuantity(QuantityMask{0x14}), kRev);

  EXPECT_EQ(history::ScaleReading(0.004f), 0);
  EXPECT_EQ(history::ScaleReading(-0.006f), -1);
  EXPECT_EQ(history::ScaleReading(1.25f), 125);
  EXPECT_EQ(history::ScaleReading(-3.5f), -350);
  EXPECT_EQ(history::ScaleReading(std::nanf("")), 0);
  EXPECT_EQ(history::ScaleReading(1e30f), INT32_MAX);
  EXPECT_EQ(history::ScaleReading(-1e30f), INT32_MIN);

  EXPECT_EQ(history::MeasurementWindowMask(model::kPX430B).Bits(), 0x01);
  EXPECT_EQ(history::MeasurementWindowMask(model::kPX450A).Bits(), 0x02);
  EXPECT_EQ(history::MeasurementWindowMask(model::kPX470B).Bits(), 0x13);
  EXPECT_EQ(history::MeasurementWindowMask(12).Bits(), 0x01);
}

TEST(HistoryHeaderFields, OffsetsTextCutsAndCodePage) {
  HistoryHeader h;
  h.SetMask(QuantityMask{0x13});
  h.SetModelName("PX420B");
  h.SetSerialNumber("12345678901234");  // cut to 9 characters and the NUL
  h.SetSensorType('A');
  h.SetFrequencyX100(240000);
  h.SetExternalOffset(-1.5f);
  h.SetStatistics(history::TableEntry(kPeak), {1, 2, 3});
  h.SetDisplay(history::TableEntry(kVswr), {1.0f, 2.0f});
  h.SetTitle("Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD");  // "Café € 中"
  const auto& b = h.Raw();
  const std::string bytes(b.begin(), b.end());
  EXPECT_EQ(bytes[0], 0x13);
  EXPECT_EQ(bytes.substr(1, 7), std::string("PX420B\0", 7));
  EXPECT_EQ(bytes.substr(11, 10), std::string("123456789\0", 10));
  EXPECT_EQ(bytes[21], 'A');
  EXPECT_EQ(I32At(bytes, 24), 240000);
  EXPECT_EQ(bytes.substr(24, 4), std::string("\x80\xA9\x03\x00", 4));  // 0x0003A980, low byte first
  EXPECT_FLOAT_EQ(F32At(bytes, 68), -1.5f);
  EXPECT_FLOAT_EQ(F32At(bytes, 108), 1.0f);
  EXPECT_FLOAT_EQ(F32At(bytes, 116), 3.0f);
  EXPECT_FLOAT_EQ(F32At(bytes, 168), 1.0f);
  EXPECT_FLOAT_EQ(F32At(bytes, 172), 2.0f);
  EXPECT_EQ(bytes.substr(184, 9), std::string("Caf\xE9 \x80 ?\0", 9));
  EXPECT_EQ(h.Title(), "Caf\xC3\xA9 \xE2\x82\xAC ?");

  // A title keeps at most 30 characters; a field without NUL reads whole.
  h.SetTitle(std::string(40, 'x'));
  EXPECT_EQ(h.Title(), std::string(30, 'x'));
  std::array<std::uint8_t, 4> field{'a', 'b', 'c', 'd'};
  EXPECT_EQ(ReadTextField(field), "abcd");
  WriteTextField(field, "\xFF\xFEok");  // invalid UTF-8 becomes '?'
  EXPECT_EQ(std::string(field.begin(), field.end()), std::string("??o\0", 4));
}

// Fills every history with n readings and marks start and last-reading times.
void FillRun(MeasurementSettings& s, int n) {
  g_now = 1'700'000'000;
  s.SetClock(&FixedClock);
  s.MarkStart(true);
  for (int i = 0; i < n; ++i) {
    g_now += 2;
    s.AddReading(kAvg, 40.0f + 0.013f * static_cast<float>(i));
    s.AddReading(kRev, 20.5f - 0.25f * static_cast<float>(i));
    s.AddReading(kVswr, 1.1f + 0.004f * static_cast<float>(i));
    s.AddReading(kPeak, -3.5f - 0.006f * static_cast<float>(i));
    s.AddReading(kPulse, -0.004f * static_cast<float>(i));
  }
}

TEST(HistoryFileRoundTrip, LiveRunsOfEveryModelAndMask) {
  test::TempDir dir;
  constexpr int kN = 7;
  for (const auto& row : SensorModels()) {
    for (const QuantityMask mask :
         {history::MeasurementWindowMask(row.modelCode), history::kPulseWindowMask, QuantityMask{0x1F}}) {
      MeasurementSettings s;
      s.SetModelCode(row.modelCode);
      s.SetSerialNumber("424242");
      s.SetFrequency(915.3f);
      s.SetExternalOffset(0.75f);
      FillRun(s, kN);
      const auto path = dir.File(std::string(row.name) + ".psh");
      ASSERT_TRUE(WriteHistoryFile(path, s, mask, "")) << row.name;

      const int k = history::RecordLength(mask);
      const auto bytes = test::ReadFileBytes(path);
      ASSERT_EQ(bytes.size(), 216u + 4u * k * kN) << row.name << " mask " << mask.Bits();
      EXPECT_EQ(bytes[0], mask.Bits());
      ASSERT_FALSE(IsLegacyHistoryFile(path));

      HistoryHeader h;
      std::vector<std::int32_t> points;
      std::size_t count = 0;
      ASSERT_TRUE(ReadHistoryFile(path, h, points, count));
      ASSERT_EQ(count, static_cast<std::size_t>(kN));
      EXPECT_EQ(h.ModelName(), row.name);
      EXPECT_EQ(h.SerialNumber(), "424242");
      EXPECT_EQ(h.SensorType(), row.sensorKind == 0 ? 'A' : 'B');
      EXPECT_EQ(h.FrequencyX100(), static_cast<std::int32_t>(915.3f * 100.0f));
      EXPECT_EQ(h.StartTime(), history::FormatLocalTime(1'700'000'000));
      EXPECT_EQ(h.StopTime(), history::FormatLocalTime(1'700'000'000 + 2 * kN));
      EXPECT_EQ(h.IntervalText(), "2000 ms");
      EXPECT_TRUE(h.Title().empty());
      for (int entry = 0; entry < 5; ++entry) {
        const Quantity q = history::kTableOrder[entry];
        EXPECT_EQ(h.Statistics(entry), (QuantityStatistics{s.Min(q), s.Max(q), s.Average(q)}));
        EXPECT_EQ(h.Display(entry), (DisplayRange{s.DisplayLow(q), s.DisplayHigh(q)}));
      }
      for (int i = 0; i < kN; ++i) {
        for (const Quantity q : history::kRecordOrder) {
          const int position = history::RecordPosition(mask, q);
          if (position < 0) continue;
          int n = 0;
          EXPECT_EQ(points[static_cast<std::size_t>(i * k + position)],
                    history::ScaleReading(s.GetReadings(q, n)[i]));
        }
      }
    }
  }
}

TEST(HistoryFileWriter, IntervalRecordCountTitleAndRefusedMask) {
  test::TempDir dir;
  MeasurementSettings s;
  g_now = 5000;
  s.SetClock(&FixedClock);
  s.MarkStart(true);
  const auto path = dir.File("empty.psh");
  ASSERT_TRUE(WriteHistoryFile(path, s, QuantityMask{0x13}, "Bench 3"));
  HistoryHeader h;
  std::vector<std::int32_t> points;
  std::size_t count = 99;
  ASSERT_TRUE(ReadHistoryFile(path, h, points, count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(h.IntervalText(), "0 ms");
  EXPECT_EQ(h.Title(), "Bench 3");

  MeasurementSettings never;  // never started: the interval field stays empty
  EXPECT_EQ(BuildHistoryHeader(never, QuantityMask{0x01}, "").IntervalText(), "");

  // 10 s over 3 samples is 3333 ms; a quantity one reading behind limits
  // the records to complete ones.
  s.AddReading(kAvg, 1);
  s.AddReading(kAvg, 2);
  s.AddReading(kAvg, 3);
  s.AddReading(kVswr, 1.5f);
  s.AddReading(kVswr, 1.5f);
  s.AddReading(kPeak, 4);
  s.AddReading(kPeak, 5);
  s.AddReading(kPeak, 6);
  s.SetLastReadingTime(5010);
  EXPECT_EQ(HistoryRecordCount(s, QuantityMask{0x13}), 2u);
  EXPECT_EQ(HistoryRecordCount(s, QuantityMask{0x03}), 3u);
  EXPECT_EQ(BuildHistoryHeader(s, QuantityMask{0x03}, "").IntervalText(), "3333 ms");

  EXPECT_FALSE(WriteHistoryFile(dir.File("none.psh"), s, QuantityMask{0xE0}, ""));
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.psh")));
}

TEST(HistoryFileReader, RejectsBadFilesAndKnowsTheOlderLayout) {
  test::TempDir dir;
  std::vector<std::int32_t> points{7};
  std::size_t count = 42;
  HistoryHeader h;
  const auto read = [&](const std::string& bytes) {
    test::WriteFileBytes(dir.File("f.psh"), bytes);
    return ReadHistoryFile(dir.File("f.psh"), h, points, count);
  };
  std::string header(216, '\0');
  header[0] = 0x01;
  EXPECT_TRUE(read(header));  // exactly a header: zero points
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(points.empty());

  count = 42;
  EXPECT_FALSE(read(header + "x"));  // 217 bytes, payload 1
  EXPECT_EQ(count, 42u);             // outputs untouched on failure
  EXPECT_FALSE(read(header.substr(0, 215)));
  header[0] = 0x03;
  EXPECT_FALSE(read(header + std::string(4, '\0')));  // half a record of 8 bytes
  EXPECT_TRUE(read(header + std::string(16, '\0')));
  EXPECT_EQ(count, 2u);
  header[0] = static_cast<char>(0xE0);
  EXPECT_FALSE(read(header + std::string(8, '\0')));  // no known bit
  EXPECT_FALSE(ReadHistoryFile(dir.File("missing.psh"), h, points, count));

  // Folders and FIFOs are refused at once instead of blocking.
  EXPECT_FALSE(ReadHistoryFile(dir.Path(), h, points, count));
  const auto fifo = dir.File("pipe.psh");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadHistoryFile(fifo, h, points, count));
  EXPECT_FALSE(IsLegacyHistoryFile(fifo));

  // The first byte decides the layout, whatever the length.
  std::string b(216 + 12, '\0');
  b[0] = 'B';
  test::WriteFileBytes(dir.File("b.psh"), b);
  EXPECT_TRUE(IsLegacyHistoryFile(dir.File("b.psh")));
  for (const char first : {'\0', 'A', 'C'}) {
    b[0] = first;
    test::WriteFileBytes(dir.File("b.psh"), b);
    EXPECT_TRUE(IsLegacyHistoryFile(dir.File("b.psh")));
  }
  b[0] = 0x13;
  test::WriteFileBytes(dir.File("b.psh"), b);
  EXPECT_FALSE(IsLegacyHistoryFile(dir.File("b.psh")));
  EXPECT_FALSE(IsLegacyHistoryFile(dir.File("missing.psh")));

  LegacyHistoryHeader legacy;
  test::WriteFileBytes(dir.File("l.psh"), std::string(244 + 24, '\0'));
  EXPECT_TRUE(ReadLegacyHistoryFile(dir.File("l.psh"), legacy, points, count));
  EXPECT_EQ(count, 2u);
  test::WriteFileBytes(dir.File("l.psh"), std::string(244 + 20, '\0'));
  EXPECT_FALSE(ReadLegacyHistoryFile(dir.File("l.psh"), legacy, points, count));
}

TEST(HistoryFileWriter, FullDiskKeepsTheOldFile) {
  test::TempDir dir;
  const auto path = dir.File("run.psh");
  test::WriteFileBytes(path, "old contents");
  MeasurementSettings s;
  FillRun(s, 5000);  // 216 + 5000 × 12 bytes
  {
    test::FileSizeLimit limit(8192);
    EXPECT_FALSE(WriteHistoryFile(path, s, QuantityMask{0x13}, ""));
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old contents");
  HistoryHeader h;
  std::vector<std::int32_t> points(5000 * 3, 1);
  h.SetMask(QuantityMask{0x13});
  {
    test::FileSizeLimit limit(8192);
    EXPECT_FALSE(RewriteHistoryFile(path, h, points, 5000));
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old contents");
  EXPECT_FALSE(RewriteHistoryFile(path, h, points, 5001));  // fewer values than records
  // Nothing but the old file is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace wattrix
