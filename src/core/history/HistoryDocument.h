#pragma once

#include "core/history/HistoryCommands.h"
#include "core/history/HistoryHeader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// The in-memory history a history window holds: the header as in the file,
// the point records, which quantity is shown and how, the model code, the
// path it came from and whether it changed. The window shows the error
// boxes; this class only reports success or failure.
class HistoryDocument final {
 public:
  enum class SaveResult { NotNeeded, Saved, Failed };

  // Opens a history file of either layout. The older layout is converted
  // and keeps no path (so Save fails and Save As stores the current layout).
  // On failure the document is left as it was.
  bool Load(const std::string& path);

  // Rewrites the file at the remembered path when the history changed;
  // success clears the changed flag. Fails without a remembered path.
  SaveResult Save();
  // Writes the history to path; the remembered path and the changed flag
  // stay as they are.
  bool SaveAs(const std::string& path) const;

  // Change Title: at most 30 characters are taken, trailing white space is
  // removed; an empty result is refused (false) and nothing changes.
  bool ChangeTitle(std::string_view text);
  // The title the title dialog opens with.
  std::string Title() const { return m_header.Title(); }
  // Title proposed for a report: the history's, or "History Graph".
  std::string ReportTitle() const;

  // Change Scale: the display pair of the shown quantity's table entry. The
  // changed flag is not touched.
  void ChangeScale(float top, float bottom);
  // Min and max of the shown quantity from the header's statistics.
  QuantityStatistics ShownStatistics() const;
  ScaleProposal ProposedScale() const;

  // A quantity command: shows the quantity (0..4) with the return-loss flag
  // and marks the history changed.
  void ShowQuantity(wattrix::Quantity quantity, bool returnLoss);
  // Enabled and checked state of a command for this history.
  CommandState StateOf(HistoryCommand command) const;

  // Writes the CSV export.
  bool ExportCsv(const std::string& path) const;

  bool IsLoaded() const { return m_loaded; }
  const HistoryHeader& Header() const { return m_header; }
  std::span<const std::int32_t> Points() const { return m_points; }
  std::size_t Count() const { return m_count; }
  // Values per record (the mask's quantities).
  int RecordLength() const;
  wattrix::Quantity Quantity() const { return m_quantity; }
  int ModelCode() const { return m_modelCode; }
  const std::string& Path() const { return m_path; }
  bool Changed() const { return m_changed; }
  bool ReturnLoss() const { return m_returnLoss; }

 private:
  HistoryHeader m_header;
  std::vector<std::int32_t> m_points;
  std::size_t m_count = 0;
  wattrix::Quantity m_quantity = kAvg;
  int m_modelCode = 0;
  std::string m_path;
  bool m_changed = false;
  bool m_returnLoss = false;
  bool m_loaded = false;
};

}  // namespace wattrix
