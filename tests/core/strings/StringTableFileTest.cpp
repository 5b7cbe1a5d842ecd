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

// Keys of the messages, labels and dialogs, as the windows name them.
const char* const kStringKeys =
    "S_CCDF_FRAME_ALARM S_CCDF_FRAME_ALARM_SET S_CCDF_FRAME_AVG_PWR S_CCDF_FRAME_CREAST S_CCDF_FRAME_CREST "
    "S_CCDF_FRAME_DEVICE S_CCDF_FRAME_DISTRIBUTION S_CCDF_FRAME_EXT S_CCDF_FRAME_FREQ "
    "S_CCDF_FRAME_FW_AVG_PWR "
    "S_CCDF_FRAME_FW_CREST S_CCDF_FRAME_FW_VER S_CCDF_FRAME_MEASURE S_CCDF_FRAME_MODEL "
    "S_CCDF_FRAME_PROBABILITY "
    "S_CCDF_FRAME_SAMPLE S_CCDF_FRAME_SN S_CCDF_FRAME_SOUND S_CCDF_FRAME_SWEEP S_CCDF_FRAME_TECH "
    "S_CCDF_FRAME_TYPE "
    "S_CCDF_VIEW_CONTINOUS S_CCDF_VIEW_OFF S_CCDF_VIEW_ON S_CCDF_VIEW_SINGLE S_GRAPH_AVERAGE "
    "S_GRAPH_HISTOGRAM "
    "S_GRAPH_HISTORYGRAPH S_GRAPH_MAX S_GRAPH_MIN S_GRAPH_POWER S_GRAPH_TIME S_HISTORYVIEW_ONEXPORTTOCSV "
    "S_HISTORYVIEW_ONEXPORTTOJPG S_HISTORYVIEW_ONFILESAVE S_HISTORYVIEW_ONFILESAVEAS S_IDD_CHANGETITLE_ONOK "
    "S_IDD_CONNECTED S_IDD_DISCONNECTED S_IDD_SETTING_INVAL_OFFSET S_IDD_SETTING_ONOK_IDRNG "
    "S_IDD_SETTING_ONOK_IFREQ S_IDD_SETTING_ONOK_ILRNG S_MAINFRAME_ONDEVICECONNECT S_MAINFRAME_ONFILEOPEN "
    "S_MEASUREVIEW_ABSOLUTEMODE S_MEASUREVIEW_AVG S_MEASUREVIEW_DIRECTIONAL S_MEASUREVIEW_EXTOFFSET "
    "S_MEASUREVIEW_FREQUENCY S_MEASUREVIEW_HLIMIT S_MEASUREVIEW_LLIMIT S_MEASUREVIEW_MAX S_MEASUREVIEW_MIN "
    "S_MEASUREVIEW_MODEL S_MEASUREVIEW_NA S_MEASUREVIEW_ONFILESAVE S_MEASUREVIEW_ONMEASURERESET "
    "S_MEASUREVIEW_ONMEASURESTART S_MEASUREVIEW_PAR S_MEASUREVIEW_PEAK S_MEASUREVIEW_PULSE S_MEASUREVIEW_REF "
    "S_MEASUREVIEW_RELATIVEMODE S_MEASUREVIEW_REV S_MEASUREVIEW_RL S_MEASUREVIEW_SN "
    "S_MEASUREVIEW_TERMINATING "
    "S_MEASUREVIEW_TYPE S_MEASUREVIEW_VSWR S_ONAPPHELP S_SETTING_WARNING_CLEAR_FAIL "
    "S_SETTING_WARNING_CLEAR_SUCCESS S_SETTING_WARNING_DN_0_FAIL S_SETTING_WARNING_DN_FAIL "
    "S_SETTING_WARNING_LOGGING_FAIL S_SETTING_WARNING_LOGGING_SUCCESS S_SETTING_WARNING_POWER S_VERSION";

const std::pair<const char*, const char*> kDialogKeys[] = {
    {"IDD_ABOUTBOX", "CAPTION IDC_STATIC_NAME IDC_STATIC_COPY IDOK"},
    {"IDD_CHANGETITLE", "CAPTION IDC_STATIC_TITLE IDOK IDCANCEL"},
    {"IDD_CONNECT", "CAPTION IDC_STATIC_SELECT IDC_SERIAL IDC_USB IDOK IDCANCEL"},
    {"IDD_DOWNLOADER",
     "CAPTION IDC_STATIC_DEVICE IDC_STATIC_MODEL IDC_STATIC_SN IDC_STATIC_VER IDC_STATIC_REFERENCE2 "
     "IDC_LOG_CHECK_FWD IDC_LOG_CHECK_PEAK IDC_LOG_CHECK_REV IDC_LOG_CHECK_PULSE IDC_STATIC_DATA_DN "
     "IDC_STATIC_DN_TITLE IDC_DOWN_BTN_LOAD_SCREEN IDC_DOWN_BTN_RESET IDC_DOWN_BTN_SAVE_FILE IDOK"},
    {"IDD_PRINT", "CAPTION IDOK IDCANCEL IDC_TEXT"},
    {"IDD_REPORT",
     "CAPTION IDC_STATIC_TITLE IDC_STATIC_DATE IDC_STATIC_ENGIN IDC_STATIC_SITE IDC_STATIC_TEST "
     "IDC_STATIC_RESULT IDC_STATIC_REMARK IDOK IDCANCEL IDC_PRINT_SETUP"},
    {"IDD_RANGE",
     "CAPTION IDC_STATIC_DISPLAY IDC_STATIC_DMIN IDC_STATIC_DMAX IDC_STATIC_LIMIT IDC_ENABLE IDC_ALARM "
     "IDC_STATIC_LMIN IDC_STATIC_LMAX IDC_STATIC_BEEP"},
    {"IDD_SETTING_MAIN", "CAPTION IDOK IDCANCEL TAB_AVG TAB_PEAK TAB_PULSE TAB_AVGPEAK TAB_CCDF TAB_LOGGING"},
    {"IDD_SETTING_AVG",
     "CAPTION IDC_STATIC_DEVICE IDC_STATIC_MODEL IDC_STATIC_SN IDC_STATIC_VER IDC_STATIC_MEASURE "
     "IDC_STATIC_FREQ "
     "IDC_STATIC_MHZ IDC_STATIC_EXTOFF IDC_STATIC_DB IDC_STATIC_MODE IDC_ABSOLUTE IDC_RELATIVE "
     "IDC_STATIC_DECIMAL "
     "IDC_STATIC_SWEEP IDC_CONTINUOUS IDC_Single IDC_STATIC_TECH IDC_STATIC_REPEAT"},
    {"IDD_SETTING_PEAK", "CAPTION"},
    {"IDD_SETTING_PULSE",
     "CAPTION IDC_STATIC_DEVICE IDC_STATIC_MODEL IDC_STATIC_SN IDC_STATIC_VER IDC_STATIC_MEASURE "
     "IDC_STATIC_FREQ "
     "IDC_STATIC_MHZ IDC_STATIC_EXTOFF IDC_STATIC_DB IDC_STATIC_DECIMAL IDC_STATIC_SWEEP IDC_CONTINUOUS "
     "IDC_Single "
     "IDC_STATIC_TECH IDC_STATIC_DUTY IDC_DUTY_AUTO IDC_DUTY_MANUAL IDC_STATIC_REFERENCE "
     "IDC_REFERENCE_AUTO_PEAK "
     "IDC_DUTY_MANUAL2"},
    {"IDD_SETTING_CCDF",
     "CAPTION IDC_STATIC_DEVICE IDC_STATIC_MODEL IDC_STATIC_SN IDC_STATIC_VER IDC_STATIC_MEASURE "
     "IDC_STATIC_FREQ "
     "IDC_STATIC_MHZ IDC_STATIC_EXTOFF IDC_STATIC_DB IDC_STATIC_DECIMAL IDC_STATIC_SWEEP IDC_CONTINUOUS "
     "IDC_Single "
     "IDC_STATIC_TECH IDC_STATIC_RATE IDC_CCDF_ALARM IDC_CCDF_LIMIT IDC_STATIC_CREAST IDC_STATIC_ALARM"},
    {"IDD_SETTING_LOGGING",
     "CAPTION IDC_STATIC_DEVICE IDC_STATIC_MODEL IDC_STATIC_SN IDC_STATIC_VER IDC_STATIC_MEASURE "
     "IDC_STATIC_FREQ "
     "IDC_STATIC_MHZ IDC_STATIC_EXTOFF IDC_STATIC_DB IDC_STATIC_TECH IDC_STATIC_REPEAT IDC_STATIC_RATE "
     "IDC_STATIC_DUTY IDC_DUTY_AUTO IDC_DUTY_MANUAL IDC_STATIC_REFERENCE IDC_REFERENCE_AUTO_PEAK "
     "IDC_DUTY_MANUAL2 "
     "IDC_STATIC_REFERENCE2 IDC_LOG_CHECK_FWD IDC_LOG_CHECK_PEAK IDC_LOG_CHECK_REV IDC_LOG_CHECK_PULSE "
     "IDC_LOG_STATIC_INTER IDC_LOG_STATIC_TIME IDC_LOG_BTN_SET IDC_LOG_BTN_CLEAR"},
};

TEST(StringTableFile, EveryMessageLabelAndDialogKeyHasAText) {
  for (const auto& key : Words(kStringKeys)) EXPECT_NE(Text("STRING", key), "") << key;
  for (const auto& [section, keys] : kDialogKeys) {
    for (const auto& key : Words(keys)) EXPECT_NE(Text(section, key), "") << section << " / " << key;
  }
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
  // The tabs of one settings dialog have distinct mnemonics.
  std::set<char> letters;
  for (const auto& key : Words("TAB_AVGPEAK TAB_CCDF TAB_PULSE TAB_LOGGING")) {
    const auto tab = Text("IDD_SETTING_MAIN", key);
    const auto amp = tab.find('&');
    ASSERT_NE(amp, std::string::npos) << key;
    EXPECT_TRUE(letters.insert(static_cast<char>(std::tolower(tab[amp + 1]))).second) << key;
  }
}

}  // namespace
}  // namespace wattrix
