#include "core/strings/StringTable.h"

#include "core/platform/MessageBoxes.h"
#include "support/Recorders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

namespace wattrix {
namespace {

using strings::GetMenuText;
using strings::GetString;
using strings::GetText;

TEST(StringTable, MissingFileGivesEmptyTextsAndNoMessageBox) {
  test::TempDir dir;
  strings::SetStringTablePath(dir.File("QLMXEnStr.ini"));
  test::RecordingMessageBoxes boxes;
  EXPECT_EQ(GetText("IDD_CONNECT", "CAPTION"), "");
  EXPECT_EQ(GetString("S_MAINFRAME_ONDEVICECONNECT"), "");
  EXPECT_EQ(strings::MessageBoxKey(nullptr, "S_MAINFRAME_ONDEVICECONNECT", mb::kIconError), -1);
  EXPECT_EQ(strings::MessageBoxKeyNoOwner("S_IDD_CONNECTED", mb::kIconInformation), -1);
  EXPECT_EQ(strings::MessageBoxText(nullptr, "", mb::kOk), -1);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(StringTable, LooksUpBySectionAndKeyAndShowsBoxesWithTheProductCaption) {
  test::TempDir dir;
  const auto path = dir.File("QLMXEnStr.ini");
  test::WriteFileBytes(path,
                       "[STRING]\nS_IDD_CONNECTED=Connected.\nS_EMPTY=\n[menu]\nmf_id_app_exit=E&xit\n"
                       "[IDD_CONNECT]\nCAPTION=Connect\n");
  strings::SetStringTablePath(path);
  test::RecordingMessageBoxes boxes;
  boxes.QueueAnswer(mb::kIdYes);
  int owner = 0;
  EXPECT_EQ(strings::MessageBoxKey(&owner, "S_IDD_CONNECTED", mb::kIconQuestion | mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(strings::MessageBoxKey(&owner, "S_EMPTY", mb::kIconError), -1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, &owner);
  EXPECT_EQ(boxes.boxes[0].text, "Connected.");
  EXPECT_EQ(boxes.boxes[0].caption, "Wattrix");
  EXPECT_EQ(boxes.boxes[0].type, mb::kIconQuestion | mb::kYesNo);
  EXPECT_EQ(GetMenuText("MF_ID_APP_EXIT"), "E&xit");  // names compare without regard to case
  EXPECT_EQ(GetText("IDD_CONNECT", "CAPTION"), "Connect");
  EXPECT_EQ(GetText("STRING", "CAPTION"), "");

  // A replaced file is read again.
  test::WriteFileBytes(path, "[STRING]\nS_IDD_CONNECTED=The sensor is connected now.\n");
  EXPECT_EQ(GetString("S_IDD_CONNECTED"), "The sensor is connected now.");
}

TEST(StringTable, TextsAreCutTo1023CharactersOnACharacterBoundary) {
  test::TempDir dir;
  const auto path = dir.File("QLMXEnStr.ini");
  const std::string e = "\xC3\xA9";          // two bytes
  const std::string g = "\xF0\x9D\x84\x9E";  // four bytes
  std::string many;
  for (int i = 0; i < 1100; ++i) many += e;
  test::WriteFileBytes(path, "[STRING]\nEXACT=" + std::string(1023, 'a') +
                                 "\nLONG=" + std::string(1024, 'b') + "\nWIDE=" + std::string(1022, 'c') + e +
                                 "\nCUT=" + std::string(1022, 'd') + g + g + "\nMANY=" + many + "\n");
  strings::SetStringTablePath(path);
  EXPECT_EQ(GetString("EXACT"), std::string(1023, 'a'));
  EXPECT_EQ(GetString("LONG"), std::string(1023, 'b'));
  EXPECT_EQ(GetString("WIDE"), std::string(1022, 'c') + e);  // 1023 characters, 1024 bytes: whole
  EXPECT_EQ(GetString("CUT"), std::string(1022, 'd') + g);
  const auto cut = GetString("MANY");
  EXPECT_EQ(cut.size(), 2046u);
  EXPECT_EQ(cut, many.substr(0, 2046));
}

TEST(StringTable, FoundBesideTheProgramInAFolderWithSpaces) {
  test::TempDir dir;
  const auto home = dir.File("Program Files/Wattrix Bench");
  std::filesystem::create_directories(home);
  test::WriteFileBytes(home + "/QLMXEnStr.ini", "[STRING]\nS_VERSION=1.0.0\n");
  ::setenv("WATTRIX_HOME", home.c_str(), 1);
  strings::InitStringTablePath();
  ::unsetenv("WATTRIX_HOME");
  EXPECT_EQ(strings::StringTablePath(), home + "/QLMXEnStr.ini");
  EXPECT_EQ(GetString("S_VERSION"), "1.0.0");
}

}  // namespace
}  // namespace wattrix
