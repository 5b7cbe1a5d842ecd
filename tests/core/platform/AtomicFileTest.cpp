#include "core/platform/AtomicFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>

namespace wattrix {
namespace {

TEST(AtomicFile, ReplacesOnlyOnCommitAndLeavesNoTemporaryBehind) {
  test::TempDir dir;
  const auto path = dir.File("data.bin");
  test::WriteFileBytes(path, "old");
  {
    AtomicFile file(path);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("new content"));
    EXPECT_EQ(test::ReadFileBytes(path), "old");  // not committed yet
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new content"));
  EXPECT_EQ(test::ReadFileBytes(path), "new content");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, FailsCleanlyInAMissingFolderOrAFullDisk) {
  test::TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.File("missing/x.ini"), "x"));

  const auto path = dir.File("keep.ini");
  test::WriteFileBytes(path, "old");
  {
    test::FileSizeLimit full(4);  // the disk takes no more than 4 bytes
    EXPECT_FALSE(WriteFileAtomically(path, "longer than four bytes"));
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old");
}

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  test::TempDir dir;
  const mode_t old = ::umask(027);
  const auto fresh = dir.File("fresh.ini");
  const auto kept = dir.File("kept.ini");
  test::WriteFileBytes(kept, "old");
  ::chmod(kept.c_str(), 0600);
  const bool wroteFresh = WriteFileAtomically(fresh, "x");
  const bool wroteKept = WriteFileAtomically(kept, "y");
  ::umask(old);
  ASSERT_TRUE(wroteFresh);
  ASSERT_TRUE(wroteKept);
  struct stat st {};
  ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  ASSERT_EQ(::stat(kept.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace wattrix
