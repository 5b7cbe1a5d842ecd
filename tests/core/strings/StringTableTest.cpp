#include "core/strings/StringTable.h"

#include "core/platform/MessageBoxes.h"
#include "support/Recorders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

namespace wattrix {
namespace {

using strings::GetString;

TEST(StringTable, MissingFileOrEmptyTextShowsNoBoxAndOthersCarryTheProductCaption) {
  test::TempDir dir;
  const auto path = dir.File("QLMXEnStr.ini");
  strings::SetStringTablePath(path);
  test::RecordingMessageBoxes boxes;
  EXPECT_EQ(strings::GetText("IDD_CONNECT", "CAPTION"), "");
  EXPECT_EQ(strings::MessageBoxKey(nullptr, "S_MAINFRAME_ONDEVICECONNECT", mb::kIconError), -1);
  EXPECT_EQ(strings::MessageBoxText(nullptr, "", mb::kOk), -1);
  EXPECT_TRUE(boxes.boxes.empty());

  test::WriteFileBytes(path,
                       "[STRING]\nS_IDD_CONNECTED=Connected.\nS_EMPTY=\n[menu]\nmf_id_app_exit=E&xit\n");
  boxes.QueueAnswer(mb::kIdYes);
  int owner = 0;
  EXPECT_EQ(strings::MessageBoxKey(&owner, "S_IDD_CONNECTED", mb::kIconQuestion | mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(strings::MessageBoxKeyNoOwner("S_EMPTY", mb::kIconError), -1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, &owner);
  EXPECT_EQ(boxes.boxes[0].text, "Connected.");
  EXPECT_EQ(boxes.boxes[0].caption, "Wattrix");
  EXPECT_EQ(boxes.boxes[0].type, mb::kIconQuestion | mb::kYesNo);
  EXPECT_EQ(strings::GetMenuText("MF_ID_APP_EXIT"), "E&xit");  // names compare without regard to case
}

TEST(StringTable, TextsAreCutTo1023CharactersOnACharacterBoundary) {
  test::TempDir dir;
  const std::string e = "\xC3\xA9", g = "\xF0\x9D\x84\x9E";  // two and four bytes
  std::string many;
  for (int i = 0; i < 1100; ++i) many += e;
  test::WriteFileBytes(dir.File("t.ini"),
                       "[STRING]\nEXACT=" + std::string(1023, 'a') + "\nLONG=" + std::string(1024, 'b') +
                           "\nWIDE=" + std::string(1022, 'c') + e + "\nCUT=" + std::string(1022, 'd') + g +
                           g + "\nMANY=" + many + "\n");
  strings::SetStringTablePath(dir.File("t.ini"));
  EXPECT_EQ(GetString("EXACT"), std::string(1023, 'a'));
  EXPECT_EQ(GetString("LONG"), std::string(1023, 'b'));
  EXPECT_EQ(GetString("WIDE"), std::string(1022, 'c') + e);  // 1023 characters in 1024 bytes
  EXPECT_EQ(GetString("CUT"), std::string(1022, 'd') + g);
  EXPECT_EQ(GetString("MANY"), many.substr(0, 2046));
}

TEST(StringTable, FoundBesideTheProgramInAFolderWithSpaces) {
  test::TempDir dir;
  const auto home = dir.File("Program Files/Wattrix Bench");
  std::filesystem::create_directories(home);
  test::WriteFileBytes(home + "/QLMXEnStr.ini", "[STRING]\nS_VERSION=1.0.0\n");
  ::setenv("WATTRIX_HOME", home.c_str(), 1);
  strings::InitStringTablePath();
  ::unsetenv("WATTRIX_HOME");
  EXPECT_EQ(GetString("S_VERSION"), "1.0.0");
}

}  // namespace
}  // namespace wattrix
