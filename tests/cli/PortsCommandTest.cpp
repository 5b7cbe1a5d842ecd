#include "cli/CliRunner.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <string>

namespace wattrix {
namespace {

using test::RunCli;

TEST(PortsCommand, ListsTheFolderPortsInNumberOrder) {
  test::TempDir dir;
  const auto ports = dir.File("ports");
  ASSERT_EQ(::mkdir(ports.c_str(), 0755), 0);
  const auto a = test::PtyPair::Open();
  const auto b = test::PtyPair::Open();
  ASSERT_EQ(::symlink(a.path.c_str(), (ports + "/COM250").c_str()), 0);
  ASSERT_EQ(::symlink(b.path.c_str(), (ports + "/COM240").c_str()), 0);
  test::WriteFileBytes(ports + "/COM240.description", "Wattrix simulated PX420B\n");
  test::WriteFileBytes(ports + "/LPT1", "");

  const auto result = RunCli("ports", "WATTRIX_PORTS_DIR='" + ports + "'");
  EXPECT_EQ(result.status, 0);
  // The machine's own ports come first; ours have the highest numbers.
  const std::string tail = "240\tWattrix simulated PX420B (COM240)\n250\tCOM250\n";
  ASSERT_GE(result.out.size(), tail.size());
  EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail);

  EXPECT_EQ(RunCli("ports extra").status, 2);
}

}  // namespace
}  // namespace wattrix
