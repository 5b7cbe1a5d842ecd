#pragma once

#include <array>
#include <span>

namespace wattrix::menu {

// The menus and accelerator tables of the program as plain data. Texts are
// string-table keys of section "MENU", so the user interface builds its
// menus by walking these entries and looking each key up.

enum class EntryKind { Item, Separator, Popup };

struct MenuEntry {
  EntryKind kind;
  const char* key;                      // item text or popup title key; null for a separator
  int command;                          // command id of an item, else 0
  std::span<const MenuEntry> children;  // the entries of a popup, else empty
};

enum class MenuKind {
  Main,              // the frame with no child window open
  Measurement,       // a measurement, pulse or CCDF window is active
  History,           // a history window is active
  MeasurementPopup,  // right click in a measurement window
  HistoryPopup,      // right click in a history window
};
constexpr std::array<MenuKind, 5> kAllMenus = {MenuKind::Main, MenuKind::Measurement, MenuKind::History,
                                               MenuKind::MeasurementPopup, MenuKind::HistoryPopup};

// Top-level entries of a menu: the popups of a menu bar, in order, or, for
// a right-click menu, the one popup whose children are shown.
std::span<const MenuEntry> Menu(MenuKind kind);

namespace modifier {
constexpr unsigned kCtrl = 1;
constexpr unsigned kAlt = 2;
constexpr unsigned kShift = 4;
}  // namespace modifier

struct Accelerator {
  const char* chord;   // "Ctrl+D", "Alt+X": the portable key-sequence text
  unsigned modifiers;  // modifier:: bits
  char key;            // the key, an upper-case letter
  int command;
};

enum class AcceleratorTable {
  MainFrame,    // no child window is active
  Measurement,  // a measurement, pulse or CCDF window is active
  History,      // a history window is active
};

std::span<const Accelerator> Accelerators(AcceleratorTable table);

}  // namespace wattrix::menu
