#pragma once

#include "cli/CliRunner.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wattrix::test {

// wattrix-sim programs serving simulated sensors in a fresh ports and USB
// folder, and a home folder holding the string table and the settings
// files wattrix-cli uses.
class SensorCliFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts wattrix-sim with `args`; the port number it serves, or 0 (test
  // failure) when it did not come up.
  int StartSim(std::vector<std::string> args);
  CliResult Cli(const std::string& arguments) { return RunCli(arguments); }
  // The "key=value" lines of an output.
  static std::map<std::string, std::string> Values(const std::string& out);
  std::string Home() const { return m_dir.File("home"); }

  TempDir m_dir;
  std::vector<std::unique_ptr<SimProcess>> m_sims;
};

}  // namespace wattrix::test
