#include "ui/shell/ChildWindowRegistry.h"

namespace wattrix {

namespace {

std::size_t IndexOf(ChildKind kind) { return static_cast<std::size_t>(kind.Index()); }

}  // namespace

void ChildWindowRegistry::Register(ChildKind kind, Creator creator) {
  m_creators[IndexOf(kind)] = std::move(creator);
  if (m_onChange) m_onChange();
}

void ChildWindowRegistry::RegisterHistoryLoader(HistoryLoader loader) {
  m_historyLoader = std::move(loader);
  if (m_onChange) m_onChange();
}

bool ChildWindowRegistry::Has(ChildKind kind) const { return static_cast<bool>(m_creators[IndexOf(kind)]); }

std::unique_ptr<ChildFrame> ChildWindowRegistry::Create(ChildKind kind, CMainFrame& frame) const {
  const auto& creator = m_creators[IndexOf(kind)];
  return creator ? creator(frame) : nullptr;
}

bool ChildWindowRegistry::LoadHistory(ChildFrame& child, const std::string& path,
                                      std::string& modelName) const {
  return m_historyLoader && m_historyLoader(child, path, modelName);
}

}  // namespace wattrix
