#include "core/shell/WindowTitles.h"

#include "core/strings/StringTable.h"

#include <algorithm>

namespace wattrix::titles {

std::string ModeWindowTitle(const std::string& connection, const std::string& model, LiveWindowKind kind) {
  const char* key = "S_MAINFRAME_TITLE_MEASURE";
  if (kind == LiveWindowKind::Pulse) key = "S_MAINFRAME_TITLE_PULSE";
  if (kind == LiveWindowKind::Ccdf) key = "S_MAINFRAME_TITLE_CCDF";
  std::string title = connection + ", " + model;
  const std::string name = strings::GetString(key);
  if (!name.empty()) title += " - " + name;
  return title;
}

std::string UniqueTitle(const std::string& title, const std::vector<std::string>& others) {
  const auto taken = [&others](const std::string& candidate) {
    return std::find(others.begin(), others.end(), candidate) != others.end();
  };
  if (!taken(title)) return title;
  for (int n = 2;; ++n) {
    std::string candidate = title + " [" + std::to_string(n) + "]";
    if (!taken(candidate)) return candidate;
  }
}

}  // namespace wattrix::titles
