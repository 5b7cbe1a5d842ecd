#include "core/history/HistoryDocument.h"

#include "core/vocabulary/SensorModel.h"
#include "core/history/HistoryFile.h"
#include "core/history/LittleEndian.h"
#include "core/vocabulary/Quantity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace wattrix {
namespace {

void PutI32(std::string& b, std::size_t at, std::int32_t v) {
  le::StoreI32(reinterpret_cast<std::uint8_t*>(b.data()) + at, v);
}
void PutF32(std::string& b, std::size_t at, float v) {
  le::StoreF32(reinterpret_cast<std::uint8_t*>(b.data()) + at, v);
}
void PutText(std::string& b, std::size_t at, const char* text) {
  std::memcpy(b.data() + at, text, std::strlen(text));
}

// An older-layout file of a PX420A with two records (AVG, PEAK, VSWR).
std::string LegacyFile() {
  std::string b(244, '\0');
  b[0] = 'A';
  PutText(b, 1, "PX420A");
  PutText(b, 11, "777");
  b[21] = 'A';
  PutI32(b, 24, 180000);
  PutText(b, 28, "2020-01-02 03:04:05");
  PutText(b, 48, "2020-01-02 03:05:05");
  PutF32(b, 136, 1.25f);
  PutText(b, 140, "30000 ms");
  const float stats[9] = {40, 41, 40.5f, 45, 46, 45.5f, 1.1f, 1.3f, 1.2f};  // AVG, PEAK, VSWR
  for (int i = 0; i < 9; ++i) PutF32(b, 152 + 4 * static_cast<std::size_t>(i), stats[i]);
  const float display[6] = {20, 60, 25, 65, 1, 2};
  for (int i = 0; i < 6; ++i) PutF32(b, 188 + 4 * static_cast<std::size_t>(i), display[i]);
  PutText(b, 212, "Old run");
  std::string records(24, '\0');
  const std::int32_t values[6] = {4000, 4500, 110, 4100, 4600, 130};  // AVG, PEAK, VSWR
  for (int i = 0; i < 6; ++i) PutI32(records, 4 * static_cast<std::size_t>(i), values[i]);
  return b + records;
}

TEST(HistoryDocumentLoad, OlderLayoutIsConvertedAndHasNoPath) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("old.psh"), LegacyFile());
  HistoryDocument doc;
  ASSERT_TRUE(doc.Load(dir.File("old.psh")));
  const auto& h = doc.Header();
  EXPECT_EQ(h.Mask().Bits(), 0x13);
  EXPECT_EQ(h.ModelName(), "PX420A");
  EXPECT_EQ(h.SerialNumber(), "777");
  EXPECT_EQ(h.SensorType(), 'A');
  EXPECT_EQ(h.FrequencyX100(), 180000);
  EXPECT_EQ(h.StartTime(), "2020-01-02 03:04:05");
  EXPECT_EQ(h.StopTime(), "2020-01-02 03:05:05");
  EXPECT_FLOAT_EQ(h.ExternalOffset(), 1.25f);
  EXPECT_EQ(h.IntervalText(), "30000 ms");
  EXPECT_EQ(h.Statistics(0), (QuantityStatistics{40, 41, 40.5f}));
  EXPECT_EQ(h.Statistics(1), (QuantityStatistics{}));  // REV stays zero
  EXPECT_EQ(h.Statistics(2), (QuantityStatistics{45, 46, 45.5f}));
  EXPECT_EQ(h.Statistics(3), (QuantityStatistics{1.1f, 1.3f, 1.2f}));
  EXPECT_EQ(h.Display(2), (DisplayRange{25, 65}));
  EXPECT_EQ(h.Display(3), (DisplayRange{1, 2}));
  EXPECT_EQ(h.Display(4), (DisplayRange{}));
  EXPECT_EQ(h.Title(), "Old run");
  ASSERT_EQ(doc.Count(), 2u);
  EXPECT_EQ(std::vector<std::int32_t>(doc.Points().begin(), doc.Points().end()),
            (std::vector<std::int32_t>{4000, 110, 4500, 4100, 130, 4600}));  // AVG, VSWR, PEAK
  EXPECT_EQ(doc.Quantity(), kAvg);
  EXPECT_EQ(doc.ModelCode(), model::kPX420A);
  EXPECT_TRUE(doc.Path().empty());

  // Save fails without a path; Save As writes the current layout.
  doc.ShowQuantity(kPeak, false);
  EXPECT_EQ(doc.Save(), HistoryDocument::SaveResult::Failed);
  EXPECT_TRUE(doc.Changed());
  ASSERT_TRUE(doc.SaveAs(dir.File("new.psh")));
  EXPECT_TRUE(doc.Path().empty());
  EXPECT_TRUE(doc.Changed());
  HistoryDocument again;
  ASSERT_TRUE(again.Load(dir.File("new.psh")));
  EXPECT_EQ(again.Header(), doc.Header());
  EXPECT_EQ(again.Path(), dir.File("new.psh"));
  EXPECT_FALSE(again.Changed());
  EXPECT_EQ(test::ReadFileBytes(dir.File("new.psh")).size(), 216u + 24u);
}

TEST(HistoryDocumentEdit, TitleScaleQuantityAndSave) {
  test::TempDir dir;
  std::string file(216, '\0');
  file[0] = 0x0A;  // PEAK and PULSE
  PutText(file, 1, "PX470B");
  file += std::string(8, '\0');
  const auto path = dir.File("run.psh");
  test::WriteFileBytes(path, file);
  HistoryDocument doc;
  ASSERT_TRUE(doc.Load(path));
  EXPECT_EQ(doc.Quantity(), kPeak);
  EXPECT_EQ(doc.ModelCode(), model::kPX470B);
  EXPECT_EQ(doc.Path(), path);
  EXPECT_EQ(doc.ReportTitle(), "History Graph");
  EXPECT_EQ(doc.Save(), HistoryDocument::SaveResult::NotNeeded);

  // Blank titles are refused; a long one keeps 30 characters without the
  // trailing blanks.
  EXPECT_FALSE(doc.ChangeTitle("   \t "));
  EXPECT_FALSE(doc.ChangeTitle(""));
  EXPECT_FALSE(doc.Changed());
  EXPECT_TRUE(doc.ChangeTitle(std::string(28, 'T') + "  " + "cut"));
  EXPECT_EQ(doc.Title(), std::string(28, 'T'));
  EXPECT_TRUE(doc.Changed());
  EXPECT_EQ(doc.ReportTitle(), std::string(28, 'T'));

  // Change Scale writes the shown quantity's pair (PEAK: entry 2 at 160)
  // and leaves the changed flag alone.
  ASSERT_EQ(doc.Save(), HistoryDocument::SaveResult::Saved);
  EXPECT_FALSE(doc.Changed());
  doc.ChangeScale(12.5f, -7.25f);
  EXPECT_FALSE(doc.Changed());
  const auto& raw = doc.Header().Raw();
  EXPECT_FLOAT_EQ(le::LoadF32(&raw[160]), -7.25f);
  EXPECT_FLOAT_EQ(le::LoadF32(&raw[164]), 12.5f);
  EXPECT_EQ(doc.Header().Display(0), (DisplayRange{}));

  doc.ShowQuantity(kPulse, false);
  EXPECT_TRUE(doc.Changed());
  EXPECT_EQ(doc.Quantity(), kPulse);
  ASSERT_EQ(doc.Save(), HistoryDocument::SaveResult::Saved);
  const auto saved = test::ReadFileBytes(path);
  ASSERT_EQ(saved.size(), file.size());
  EXPECT_EQ(saved.substr(184, 29), std::string(28, 'T') + '\0');
  EXPECT_EQ(saved.substr(160, 8), std::string(reinterpret_cast<const char*>(&raw[160]), 8));

  // A failed load leaves the document as it was.
  EXPECT_FALSE(doc.Load(dir.File("missing.psh")));
  EXPECT_EQ(doc.Path(), path);
  EXPECT_EQ(doc.Count(), 1u);

  // A save that cannot be written fails and keeps the flag.
  doc.ShowQuantity(kPeak, false);
  std::filesystem::remove_all(dir.Path());
  EXPECT_EQ(doc.Save(), HistoryDocument::SaveResult::Failed);
  EXPECT_TRUE(doc.Changed());
}

}  // namespace
}  // namespace wattrix
