#include "core/shell/MenuLayout.h"

#include "core/platform/IniFile.h"

#include <gtest/gtest.h>
#include <cctype>
#include <map>
#include <set>
#include <string>

namespace wattrix::menu {
namespace {

std::string MenuText(const char* key) {
  static const IniFile table = IniFile::Load(std::string(WATTRIX_SOURCE_DIR) + "/data/QLMXEnStr.ini");
  return table.Find("MENU", key).value_or("");
}

// The mnemonic letter of a menu text, lower case; 0 when the text has none
// or is malformed (a lone '&' at the end or before a non-alphanumeric
// character, or more than one mnemonic). "&&" is a literal ampersand.
char Mnemonic(const std::string& text) {
  char letter = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (i + 1 < text.size() && text[i + 1] == '&') {
      ++i;
      continue;
    }
    if (letter != 0 || i + 1 == text.size() || !std::isalnum(static_cast<unsigned char>(text[i + 1])))
      return 0;
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
  }
  return letter;
}

// Checks one level of a menu (the entries shown side by side) and every
// popup below it.
void CheckLevel(std::span<const MenuEntry> entries, const std::string& where) {
  ASSERT_FALSE(entries.empty()) << where;
  EXPECT_NE(entries.front().kind, EntryKind::Separator) << where;
  EXPECT_NE(entries.back().kind, EntryKind::Separator) << where;
  std::map<char, std::string> letters;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    if (e.kind == EntryKind::Separator) {
      EXPECT_NE(entries[i - 1].kind, EntryKind::Separator) << where << ": two separators in a row";
      continue;
    }
    ASSERT_NE(e.key, nullptr) << where;
    const auto text = MenuText(e.key);
    EXPECT_NE(text, "") << where << " / " << e.key;
    const char letter = Mnemonic(text);
    EXPECT_NE(letter, 0) << where << " / " << e.key << " = \"" << text << "\"";
    if (letter != 0) {
      const auto [it, fresh] = letters.emplace(letter, e.key);
      EXPECT_TRUE(fresh) << where << ": " << e.key << " and " << it->second << " share '" << letter << "'";
    }
    if (e.kind == EntryKind::Item) {
      EXPECT_NE(e.command, 0) << e.key;
      EXPECT_TRUE(e.children.empty()) << e.key;
    } else {
      CheckLevel(e.children, where + " / " + e.key);
    }
  }
}

TEST(MenuLayout, EveryLevelHasTextsWithDistinctMnemonicsAndSoundSeparators) {
  for (const auto kind : kAllMenus) {
    const auto top = Menu(kind);
    ASSERT_FALSE(top.empty()) << std::to_string(static_cast<int>(kind));
    for (const auto& e : top) ASSERT_EQ(e.kind, EntryKind::Popup) << std::to_string(static_cast<int>(kind));
    if (kind == MenuKind::MeasurementPopup || kind == MenuKind::HistoryPopup) {
      // A right-click menu shows the children of its one popup; the title
      // itself is never shown as a menu item.
      ASSERT_EQ(top.size(), 1u);
      EXPECT_NE(MenuText(top[0].key), "") << top[0].key;
      CheckLevel(top[0].children, std::to_string(static_cast<int>(kind)));
    } else {
      CheckLevel(top, std::to_string(static_cast<int>(kind)));
    }
  }
  EXPECT_EQ(Mnemonic("A&VG && Peak Power"), 'v');
  EXPECT_EQ(Mnemonic("AVG & Peak"), 0);
  EXPECT_EQ(Mnemonic("&File &Open"), 0);
}

TEST(MenuLayout, AcceleratorChordsMatchTheirKeysAndAreUniquePerTable) {
  for (const auto table :
       {AcceleratorTable::MainFrame, AcceleratorTable::Measurement, AcceleratorTable::History}) {
    std::set<std::string> chords;
    for (const auto& a : Accelerators(table)) {
      std::string chord;
      if (a.modifiers & modifier::kCtrl) chord += "Ctrl+";
      if (a.modifiers & modifier::kAlt) chord += "Alt+";
      if (a.modifiers & modifier::kShift) chord += "Shift+";
      chord += a.key;
      EXPECT_EQ(chord, a.chord);
      EXPECT_TRUE(chords.insert(chord).second) << chord;
    }
  }
}

}  // namespace
}  // namespace wattrix::menu
