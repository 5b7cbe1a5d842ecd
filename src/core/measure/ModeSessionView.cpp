// The live window's panels: selection, "Set as default", full and multi
// screen, the history graph, display mode, limit and alarm commands, and
// where the children sit.
#include "core/measure/MeasurementSettings.h"
#include "core/measure/ModeSession.h"
#include "core/measure/ModeSessionHost.h"
#include "core/vocabulary/Quantity.h"

namespace wattrix {

namespace {

constexpr int kSmallLayout = 1;
constexpr int kFullScreenLayout = 2;

bool ValidPanel(int panel) { return panel >= 0 && panel < mode_view::kPanelCount; }

std::size_t At(int panel) { return static_cast<std::size_t>(panel); }

}  // namespace

std::optional<Quantity> ModeSession::PanelQuantity(int panel) const {
  if (!ValidPanel(panel)) return std::nullopt;
  return m_panelQuantity[At(panel)];
}

bool ModeSession::PanelAlarm(int panel) const { return ValidPanel(panel) && m_panelAlarm[At(panel)]; }

void ModeSession::SetPanelQuantity(int panel, Quantity quantity) {
  m_panelQuantity[At(panel)] = quantity;
  if (auto* p = m_panels[At(panel)]) p->SetQuantity(quantity);
}

void ModeSession::SetPanelLayout(int panel, int layout) {
  if (auto* p = m_panels[At(panel)]) p->SetLayout(layout);
}

void ModeSession::SetPanelAlarm(int panel, bool on) {
  m_panelAlarm[At(panel)] = on;
  if (auto* p = m_panels[At(panel)]) p->SetAlarmState(on);
}

void ModeSession::RefreshPanels(PanelRefresh kind) {
  for (auto* panel : m_panels) {
    if (panel) panel->Refresh(kind);
  }
}

bool ModeSession::TakeMainQuantity(int panel) {
  const Quantity quantity = m_panelQuantity[At(panel)];
  if (panel == 0 || quantity == m_mainQuantity) return false;
  m_mainQuantity = quantity;
  SetPanelQuantity(0, quantity);
  SetPanelAlarm(0, m_panelAlarm[At(panel)]);
  // The small panel that shows the main quantity moves to the top right.
  for (int i = 1; i < mode_view::kPanelCount; ++i) {
    if (m_panelQuantity[At(i)] == quantity) {
      m_topRightPanel = i;
      break;
    }
  }
  m_host.GraphShowQuantity(ModelCode(), quantity);
  if (auto* p = m_panels[0]) p->Refresh(PanelRefresh::All);
  return true;
}

void ModeSession::SetAsDefault() {
  if (TakeMainQuantity(m_selectedPanel)) m_host.Relayout();
}

void ModeSession::FullScreen() {
  if (m_fullScreenPanel >= 0) return;
  m_fullScreenPanel = m_selectedPanel;
  if (m_fullScreenPanel != 0) SetPanelLayout(m_fullScreenPanel, kFullScreenLayout);
  // The main quantity is what panel 0 shows: it follows, so that the
  // check marks and the grid agree on return to multi screen.
  TakeMainQuantity(m_fullScreenPanel);
  m_graphShown = false;
  m_host.Relayout();
}

void ModeSession::MultiScreen() {
  if (m_fullScreenPanel < 0) return;
  if (m_fullScreenPanel != 0) SetPanelLayout(m_fullScreenPanel, kSmallLayout);
  m_fullScreenPanel = -1;
  m_graphShown = mode_view::GraphShownByDefault(m_view, ModelCode());
  m_host.Relayout();
}

void ModeSession::ToggleHistoryGraph() {
  if (m_fullScreenPanel >= 0) {
    MultiScreen();
    m_graphShown = true;
  } else if (!m_graphShown) {
    TakeMainQuantity(m_selectedPanel);
    m_graphShown = true;
  } else {
    m_graphShown = false;
  }
  m_host.Relayout();
}

void ModeSession::SetDisplayRelative(bool relative) {
  if (m_settings.Relative() == relative) return;
  m_settings.SetRelative(relative);
  RefreshPanels(PanelRefresh::All);
  for (auto* panel : m_panels) {
    if (panel) panel->Relayout();
  }
  m_host.GraphUpdate(false);
}

void ModeSession::SetLimitCheck(bool on) {
  const Quantity quantity = SelectedQuantity();
  m_settings.SetLimitCheck(quantity, on);
  // The limit texts appear or disappear: the panels lay out again.
  for (int i = 0; i < mode_view::kPanelCount; ++i) {
    auto* panel = m_panels[At(i)];
    if (!panel || m_panelQuantity[At(i)] != quantity) continue;
    panel->Refresh(PanelRefresh::Limits);
    panel->Relayout();
  }
  // The graph always shows the main quantity.
  if (m_mainQuantity == quantity) m_host.GraphUpdate(false);
}

void ModeSession::SetAlarm(bool on) {
  const Quantity quantity = SelectedQuantity();
  // Nothing is redrawn: the next reading shows the effect.
  if (m_settings.BeepAlarm(quantity) != on) m_settings.SetBeepAlarm(quantity, on);
}

bool ModeSession::PanelVisible(int panel) const {
  if (m_fullScreenPanel >= 0) return panel == m_fullScreenPanel;
  if (panel == 0 || panel == m_topRightPanel) return true;
  return !m_graphShown;
}

bool ModeSession::SelectPanel(int panel) {
  if (!ValidPanel(panel) || !PanelVisible(panel)) return false;
  if (!mode_view::PanelSelectable(m_view, ModelCode(), panel)) return false;
  if (panel == m_selectedPanel) return false;
  m_selectedPanel = panel;
  return true;
}

void ModeSession::DoubleClickPanel(int panel) {
  if (!ValidPanel(panel) || !PanelVisible(panel)) return;
  if (m_fullScreenPanel >= 0) {
    MultiScreen();
    return;
  }
  if (!mode_view::PanelSelectable(m_view, ModelCode(), panel)) return;
  m_selectedPanel = panel;
  if (panel != 0 && m_panelQuantity[At(panel)] != m_mainQuantity) {
    SetAsDefault();
  } else {
    FullScreen();
  }
}

ModeArrangement ModeSession::RowArrangement(int width, int height) const {
  // A wide, low window (a horizontal tile) has no room for two rows of
  // readable panels: they stand side by side in the grid's reading order,
  // the graph taking the place of the two lower panels.
  ModeArrangement arrangement;
  const int h = height - 2;
  const auto cell = [width](int from, int to) {
    const int left = 1 + (width - 1) * from / 4;
    const int right = (width - 1) * to / 4;
    return ModeArrangement::Rect{left, 1, right - left, 0};
  };
  auto place = [&](int panelIndex, int from, int to) {
    ModeArrangement::Rect r = cell(from, to);
    r.height = h;
    if (panelIndex < 0) {
      arrangement.graph = r;
    } else {
      arrangement.panels[At(panelIndex)] = r;
    }
  };
  place(0, 0, 1);
  place(m_topRightPanel, 1, 2);
  if (m_graphShown) {
    place(-1, 2, 4);
    return arrangement;
  }
  int slot = 2;
  for (int i = 1; i < mode_view::kPanelCount; ++i) {
    if (i == m_topRightPanel) continue;
    place(i, slot, slot + 1);
    ++slot;
  }
  return arrangement;
}

ModeArrangement ModeSession::Arrangement(int width, int height) const {
  ModeArrangement arrangement;
  if (m_fullScreenPanel >= 0) {
    arrangement.panels[At(m_fullScreenPanel)] = {0, 0, width, height};
    return arrangement;
  }
  const int e = (width - 3) / 2;
  const int c = (height - 3) / 2;
  if (c < kMinGridCellHeight && (width - 5) / 4 >= kMinGridCellHeight) return RowArrangement(width, height);
  const int rightWidth = width - e - 3;
  const int bottomHeight = height - c - 3;
  arrangement.panels[0] = {1, 1, e, c};
  arrangement.panels[At(m_topRightPanel)] = {e + 2, 1, rightWidth, c};
  if (m_graphShown) {
    arrangement.graph = {1, c + 2, width - 2, bottomHeight};
    return arrangement;
  }
  bool left = true;
  for (int i = 1; i < mode_view::kPanelCount; ++i) {
    if (i == m_topRightPanel) continue;
    arrangement.panels[At(i)] = left ? ModeArrangement::Rect{1, c + 2, e, bottomHeight}
                                     : ModeArrangement::Rect{e + 2, c + 2, rightWidth, bottomHeight};
    left = false;
  }
  return arrangement;
}

}  // namespace wattrix
