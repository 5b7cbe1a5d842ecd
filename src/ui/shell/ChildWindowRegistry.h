#pragma once

#include "ui/shell/ChildFrame.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace wattrix {

class CMainFrame;

// Who makes the main frame's child windows. The window classes register a
// creator per kind at start-up; a kind without a creator keeps its
// commands disabled.
class ChildWindowRegistry final {
 public:
  // Makes a new, not yet shown child window of the frame.
  using Creator = std::function<std::unique_ptr<ChildFrame>(CMainFrame& frame)>;
  // Loads a history file into a history window made by the History
  // creator; on success sets the model name of the loaded file.
  using HistoryLoader =
      std::function<bool(ChildFrame& child, const std::string& path, std::string& modelName)>;

  void Register(ChildKind kind, Creator creator);
  void RegisterHistoryLoader(HistoryLoader loader);
  // Called after every registration (the commands it enables).
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

  bool Has(ChildKind kind) const;
  // True when history files can be opened (creator and loader present).
  bool CanOpenHistory() const { return Has(ChildKind::History) && static_cast<bool>(m_historyLoader); }

  // A new child of that kind, or null without a creator.
  std::unique_ptr<ChildFrame> Create(ChildKind kind, CMainFrame& frame) const;
  bool LoadHistory(ChildFrame& child, const std::string& path, std::string& modelName) const;

 private:
  std::array<Creator, ChildKind::kCount> m_creators;
  HistoryLoader m_historyLoader;
  std::function<void()> m_onChange;
};

}  // namespace wattrix
