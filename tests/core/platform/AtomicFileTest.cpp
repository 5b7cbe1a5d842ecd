#include "core/platform/AtomicFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
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

int EntriesIn(const std::string& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

TEST(AtomicFile, RefusesAReadOnlyFileAndWritesThroughASymbolicLink) {
  test::TempDir dir;
  const auto locked = dir.File("locked.psh");
  test::WriteFileBytes(locked, "old");
  ::chmod(locked.c_str(), 0444);
  // Refused even for root, whom the system would let write it.
  EXPECT_FALSE(WriteFileAtomically(locked, "new"));
  EXPECT_EQ(test::ReadFileBytes(locked), "old");
  struct stat st {};
  ASSERT_EQ(::stat(locked.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);

  // A link (relative, in a chain, and one whose file does not exist yet)
  // stays a link; the file it names gets the bytes.
  std::filesystem::create_directory(dir.File("real"));
  const auto target = dir.File("real/run.psh");
  test::WriteFileBytes(target, "old");
  ::chmod(target.c_str(), 0640);
  ASSERT_EQ(::symlink("real/run.psh", dir.File("inner").c_str()), 0);
  ASSERT_EQ(::symlink("inner", dir.File("outer").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir.File("outer"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("outer")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("inner")));
  EXPECT_EQ(test::ReadFileBytes(target), "new");
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntriesIn(dir.File("real")), 1);

  ASSERT_EQ(::symlink("real/later.psh", dir.File("dangling").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir.File("dangling"), "first"));
  EXPECT_EQ(test::ReadFileBytes(dir.File("real/later.psh")), "first");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling")));
}

TEST(AtomicFile, AKilledSaveLeavesNoFileBehind) {
  test::TempDir dir;
  const auto path = dir.File("run.psh");
  test::WriteFileBytes(path, "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFile file(path);
    if (file.Open() && file.Write(std::string(100000, 'x'))) ::raise(SIGKILL);
    ::_exit(3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child could not open or write";
  EXPECT_EQ(test::ReadFileBytes(path), "old");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

}  // namespace
}  // namespace wattrix
