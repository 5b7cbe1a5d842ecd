// The shipped string table: every key the program uses has a text, and the
// texts fit the way the program shows them.
#include "core/platform/IniFile.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace wattrix {
namespace {

const IniFile& Table() {
  static const IniFile table = IniFile::Load(std::string(WATTRIX_SOURCE_DIR) + "/data/QLMXEnStr.ini");
  return table;
}

std::string Text(const std::string& section, const std::string& key) {
  return Table().Find(section, key).value_or("");
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// Every key literal in the sources: quoted "S_…" and menu keys, and the
// literal pairs of GetText("IDD_…", "…"), so that code added later cannot
// use a key the file lacks.
TEST(StringTableFile, EveryKeyLiteralInTheSourcesHasAText) {
  const std::regex keyLiteral(R"re("((S|MF_ID|MS_ID|HT_ID|PU_ID|MENU)_[A-Z0-9_]*[A-Z0-9])")re");
  const std::regex dialogPair(R"re(GetText\(\s*"(IDD_[A-Z0-9_]+)"\s*,\s*"([A-Za-z0-9_]+)"\s*\))re");
  std::set<std::pair<std::string, std::string>> used;
  int files = 0;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(std::string(WATTRIX_SOURCE_DIR) + "/src")) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    ++files;
    const auto source = IniFile::Load(entry.path().string()).Text();
    for (std::sregex_iterator m(source.begin(), source.end(), keyLiteral), end; m != end; ++m) {
      used.emplace((*m)[2] == "S" ? "STRING" : "MENU", (*m)[1]);
    }
    for (std::sregex_iterator m(source.begin(), source.end(), dialogPair), end; m != end; ++m) {
      used.emplace((*m)[1], (*m)[2]);
    }
  }
  EXPECT_GT(files, 10);
  EXPECT_GT(used.size(), 100u);  // the menu layout alone names over a hundred keys
  for (const auto& [section, key] : used) EXPECT_NE(Text(section, key), "") << section << " / " << key;
}

TEST(StringTableFile, TextsFitHowTheyAreShown) {
  EXPECT_EQ(Text("STRING", "S_VERSION"), WATTRIX_VERSION);
  // Only the help message is a format (the help file path); every other
  // message is shown as it is or inserted as a value, so a stray '%' would
  // be harmless at best.
  const auto help = Text("STRING", "S_ONAPPHELP");
  EXPECT_EQ(help.find('%'), help.find("%s"));
  EXPECT_EQ(help.find('%', help.find("%s") + 1), std::string::npos);
  Table().ForEach([](std::string_view section, std::string_view key, std::string_view value) {
    if (section == "STRING" && key != "S_ONAPPHELP") {
      EXPECT_EQ(value.find('%'), value.npos) << key;
    }
  });
  // The CCDF panels put the value right after these labels.
  for (const auto& key : Words("S_CCDF_FRAME_MODEL S_CCDF_FRAME_TYPE S_CCDF_FRAME_SN S_CCDF_FRAME_FW_VER "
                               "S_CCDF_FRAME_FREQ S_CCDF_FRAME_EXT S_CCDF_FRAME_SAMPLE S_CCDF_FRAME_SWEEP "
                               "S_CCDF_FRAME_TECH S_CCDF_FRAME_CREAST S_CCDF_FRAME_ALARM S_CCDF_FRAME_SOUND "
                               "S_CCDF_FRAME_AVG_PWR S_CCDF_FRAME_CREST S_CCDF_FRAME_FW_AVG_PWR "
                               "S_CCDF_FRAME_FW_CREST")) {
    const auto label = Text("STRING", key);
    EXPECT_TRUE(label.size() > 2 && label.ends_with(": ")) << key << " = \"" << label << "\"";
  }
}

}  // namespace
}  // namespace wattrix
