#pragma once

#include "core/vocabulary/LiveWindowKind.h"

#include <optional>

namespace wattrix {

// What a child window of the main frame shows: one of the live windows, or a
// history file. The kind picks the menu, the tool bar and the keys shown
// while the child is active. A live kind converts to it implicitly.
class ChildKind final {
 public:
  static const ChildKind History;

  constexpr ChildKind(LiveWindowKind live) : m_live(live) {}  // NOLINT(google-explicit-constructor)

  constexpr bool IsHistory() const { return !m_live.has_value(); }
  // The live window's kind; none for a history window.
  constexpr std::optional<LiveWindowKind> Live() const { return m_live; }
  // Index of the kind among the four: the live kinds in their order, then history.
  constexpr int Index() const { return m_live ? static_cast<int>(*m_live) : kLiveKindCount; }

  static constexpr int kLiveKindCount = 3;
  static constexpr int kCount = kLiveKindCount + 1;

  friend constexpr bool operator==(ChildKind, ChildKind) = default;

 private:
  constexpr ChildKind() = default;

  std::optional<LiveWindowKind> m_live;
};

inline constexpr ChildKind ChildKind::History{};

}  // namespace wattrix
