#include "core/history/HistoryDocument.h"

#include "core/vocabulary/SensorModel.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryFile.h"
#include "core/history/HistoryLayout.h"
#include "core/history/SingleByteText.h"

#include <algorithm>

namespace wattrix {

namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

bool HistoryDocument::Load(const std::string& path) {
  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  const bool legacy = IsLegacyHistoryFile(path);
  if (legacy) {
    LegacyHistoryHeader old;
    if (!ReadLegacyHistoryFile(path, old, points, count)) return false;
    ConvertLegacyRecords(points);
    header = old.ToCurrent();
  } else if (!ReadHistoryFile(path, header, points, count)) {
    return false;
  }

  m_header = header;
  m_points = std::move(points);
  m_count = count;
  if (!legacy) {
    m_path = path;
    m_changed = false;
  }
  m_quantity = history::FirstQuantity(m_header.Mask()).value_or(kAvg);
  m_modelCode = ModelCodeByName(m_header.ModelName());
  m_returnLoss = false;
  m_loaded = true;
  return true;
}

HistoryDocument::SaveResult HistoryDocument::Save() {
  if (!m_changed) return SaveResult::NotNeeded;
  if (m_path.empty() || !RewriteHistoryFile(m_path, m_header, m_points, m_count)) return SaveResult::Failed;
  m_changed = false;
  return SaveResult::Saved;
}

bool HistoryDocument::SaveAs(const std::string& path) const {
  return m_loaded && RewriteHistoryFile(path, m_header, m_points, m_count);
}

bool HistoryDocument::ChangeTitle(std::string_view text) {
  std::string title = Utf8Prefix(text, HistoryHeader::kMaxTitleLength);
  while (!title.empty() && IsWhiteSpace(title.back())) title.pop_back();
  if (title.empty()) return false;
  m_header.SetTitle(title);
  m_changed = true;
  return true;
}

std::string HistoryDocument::ReportTitle() const {
  const auto title = m_header.Title();
  return title.empty() ? std::string("History Graph") : title;
}

void HistoryDocument::ChangeScale(float top, float bottom) {
  m_header.SetDisplay(history::TableEntry(m_quantity), DisplayRange{bottom, top});
}

QuantityStatistics HistoryDocument::ShownStatistics() const {
  return m_header.Statistics(history::TableEntry(m_quantity));
}

ScaleProposal HistoryDocument::ProposedScale() const {
  const auto stats = ShownStatistics();
  return ProposeScale(stats.min, stats.max);
}

void HistoryDocument::ShowQuantity(wattrix::Quantity quantity, bool returnLoss) {
  if (history::TableEntry(quantity) < 0) return;
  m_quantity = quantity;
  m_returnLoss = returnLoss;
  m_changed = true;
}

CommandState HistoryDocument::StateOf(HistoryCommand command) const {
  return HistoryCommandState(command, m_modelCode, m_header.Mask(), m_quantity, m_returnLoss, m_changed);
}

bool HistoryDocument::ExportCsv(const std::string& path) const {
  return m_loaded && ExportHistoryCsv(path, m_header, m_points, m_count, m_modelCode);
}

int HistoryDocument::RecordLength() const { return history::RecordLength(m_header.Mask()); }

}  // namespace wattrix
