#pragma once

#include <string>

namespace wattrix::test {

// What one run of wattrix-cli gave.
struct CliResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs wattrix-cli with `arguments` (shell words) and, before them,
// `environment` assignments (may be empty).
CliResult RunCli(const std::string& arguments, const std::string& environment = "");
// The same for another program by path.
CliResult RunProgram(const std::string& program, const std::string& arguments,
                     const std::string& environment = "");

}  // namespace wattrix::test
