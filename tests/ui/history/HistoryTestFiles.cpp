#include "HistoryTestFiles.h"

#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/vocabulary/Quantity.h"
#include "support/TempDir.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace wattrix::test {

namespace {

std::int64_t g_now = 0;
std::int64_t Now() { return g_now; }

void PutI32(std::string& bytes, std::size_t offset, std::int32_t v) { std::memcpy(&bytes[offset], &v, 4); }

}  // namespace

float RunAvg(int i) { return 10.0f + 0.05f * static_cast<float>(i % 200); }

void WriteRunFile(const std::string& path, int modelCode, int mask, int n, const std::string& title) {
  MeasurementSettings s;
  s.SetModelCode(modelCode);
  s.SetSerialNumber("1234");
  s.SetFrequency(2400);
  s.SetDisplayRange(kAvg, -40, 50);
  s.SetDisplayRange(kVswr, 1, 3);
  s.SetDisplayRange(kPeak, -40, 50);
  g_now = 1'700'000'000;
  s.SetClock(&Now);
  s.MarkStart(true);
  for (int i = 0; i < n; ++i) {
    s.AddReading(kAvg, RunAvg(i));
    s.AddReading(kVswr, 1.2f + 0.001f * static_cast<float>(i % 300));
    s.AddReading(kPeak, 15.0f + 0.02f * static_cast<float>(i % 100));
    s.AddReading(kRev, -5.0f);
    s.AddReading(kPulse, 3.0f);
  }
  g_now += 60;
  s.MarkLastReading();
  if (!WriteHistoryFile(path, s, QuantityMask(mask), title))
    throw std::runtime_error("history file not written: " + path);
}

void WriteLegacyFile(const std::string& path, int n) {
  std::string bytes(244, '\0');
  bytes[0] = 'A';
  std::memcpy(&bytes[1], "PX420A", 6);
  bytes[21] = 'A';
  PutI32(bytes, 24, 240000);
  std::memcpy(&bytes[212], "Old run", 7);
  for (int i = 0; i < n; ++i) {
    std::string record(12, '\0');
    PutI32(record, 0, 1000 + i);  // AVG
    PutI32(record, 4, 2000 + i);  // PEAK
    PutI32(record, 8, 120 + i);   // VSWR
    bytes += record;
  }
  WriteFileBytes(path, bytes);
}

}  // namespace wattrix::test
