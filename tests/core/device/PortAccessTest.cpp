#include "core/device/PortAccess.h"

#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace wattrix {
namespace {

class PortAccessTest : public testing::Test {
 protected:
  void SetUp() override {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
  }
};

// The group a serial device typically belongs to, made up when the system
// has none of that name.
gid_t SerialGroup(std::string& name) {
  if (const group* g = ::getgrnam("dialout")) {
    name = g->gr_name;
    return g->gr_gid;
  }
  name.clear();
  return 0;
}

TEST_F(PortAccessTest, ErrnoTellsMissingFromForbidden) {
  EXPECT_EQ(PortAccessOfErrno(0), PortAccess::Usable);
  EXPECT_EQ(PortAccessOfErrno(EACCES), PortAccess::NoPermission);
  EXPECT_EQ(PortAccessOfErrno(EPERM), PortAccess::NoPermission);
  EXPECT_EQ(PortAccessOfErrno(ENOENT), PortAccess::Missing);
  EXPECT_EQ(PortAccessOfErrno(ENXIO), PortAccess::Missing);
  EXPECT_EQ(PortAccessOfErrno(EIO), PortAccess::Unknown);
  EXPECT_EQ(CheckPortAccess("", [](const char*) { return 0; }), PortAccess::Missing);
  EXPECT_EQ(CheckPortAccess("/dev/ttyX", [](const char*) { return EACCES; }), PortAccess::NoPermission);
  // The real test of a file that is not there.
  EXPECT_EQ(CheckPortAccess("/nonexistent/ttyUSB9"), PortAccess::Missing);
}

TEST_F(PortAccessTest, MessageNamesTheDeviceTheGroupAndWhatToDo) {
  EXPECT_EQ(
      Substitute("{device} in {group}, {group} again; {other} {} {group", {{"device", "a"}, {"group", "b"}}),
      "a in b, b again; {other} {} {group");

  const std::string joined = PortPermissionMessage("/dev/ttyUSB0", {"dialout", false, false});
  EXPECT_NE(joined.find("/dev/ttyUSB0"), std::string::npos);
  EXPECT_NE(joined.find("\"dialout\""), std::string::npos);
  EXPECT_NE(joined.find("usermod -aG dialout"), std::string::npos);
  EXPECT_NE(joined.find("log out"), std::string::npos);
  EXPECT_EQ(joined, Substitute(strings::GetString("S_CONNECT_NO_PERMISSION"),
                               {{"device", "/dev/ttyUSB0"}, {"group", "dialout"}}));

  // Member by the group database, not yet in this session: log in again.
  EXPECT_EQ(PortPermissionMessage("/dev/ttyS0", {"uucp", true, false}),
            Substitute(strings::GetString("S_CONNECT_NO_PERMISSION_RELOGIN"),
                       {{"device", "/dev/ttyS0"}, {"group", "uucp"}}));
  // No group worth joining: ask for access.
  for (const char* group : {"", "root"})
    EXPECT_EQ(PortPermissionMessage("/dev/ttyS0", {group, false, false}),
              Substitute(strings::GetString("S_CONNECT_NO_PERMISSION_OTHER"), {{"device", "/dev/ttyS0"}}));
}

// A ports-folder entry pointing at a device this user may not open gives
// the message with the device's own path and group; USB and usable or
// missing ports give none.
TEST_F(PortAccessTest, PortProblemOfAPortsFolderEntry) {
  test::TempDir dir;
  const std::string ports = dir.Path() + "/ports";
  ASSERT_EQ(::mkdir(ports.c_str(), 0755), 0);
  const std::string device = dir.Path() + "/ttyFAKE0";
  test::WriteFileBytes(device, "");
  std::string groupName;
  const gid_t gid = SerialGroup(groupName);
  ASSERT_EQ(::chown(device.c_str(), ::geteuid(), gid), 0);
  ASSERT_EQ(::symlink(device.c_str(), (ports + "/COM7").c_str()), 0);
  ::setenv("WATTRIX_PORTS_DIR", ports.c_str(), 1);

  // Only the COM7 entry is forbidden; every other path is missing.
  const auto denied = [](const char* path) {
    return std::string(path).find("/COM7") != std::string::npos ? EACCES : ENOENT;
  };
  const std::string message = PortPermissionProblem(7, denied);
  EXPECT_NE(message.find(device), std::string::npos) << message;
  if (!groupName.empty()) {
    EXPECT_NE(message.find("\"" + groupName + "\""), std::string::npos) << message;
  }
  EXPECT_EQ(PortPermissionProblem(7, [](const char*) { return 0; }), "");
  EXPECT_EQ(PortPermissionProblem(8, denied), "");  // no such port: not a permission matter
  EXPECT_EQ(PortPermissionProblem(-1, denied), "");
  ::unsetenv("WATTRIX_PORTS_DIR");
}

// The real access test, as a user who is not root: root passes every
// permission test, so a child process gives up its privileges first.
TEST_F(PortAccessTest, RealPermissionDeniedForAnOrdinaryUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  test::TempDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
  const std::string device = dir.Path() + "/ttyFAKE1";
  test::WriteFileBytes(device, "");
  std::string groupName;
  const gid_t gid = SerialGroup(groupName);
  ASSERT_EQ(::chown(device.c_str(), 0, gid), 0);
  ASSERT_EQ(::chmod(device.c_str(), 0660), 0);
  const std::string open = dir.Path() + "/open";
  test::WriteFileBytes(open, "");
  ASSERT_EQ(::chmod(open.c_str(), 0666), 0);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // nobody:nogroup, with no supplementary groups.
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
    if (CheckPortAccess(device) != PortAccess::NoPermission) ::_exit(11);
    if (CheckPortAccess(open) != PortAccess::Usable) ::_exit(12);
    const DeviceGroupFacts facts = GroupFactsOf(device);
    if (!groupName.empty() && facts.group != groupName) ::_exit(13);
    if (facts.sessionHasIt) ::_exit(14);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace wattrix
