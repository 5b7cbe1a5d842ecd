#include "cli/CliRunner.h"

#include "support/TempDir.h"

#include <sys/wait.h>
#include <cstdio>

namespace wattrix::test {

CliResult RunCli(const std::string& arguments, const std::string& environment) {
  return RunProgram(WATTRIX_CLI_PATH, arguments, environment);
}

CliResult RunProgram(const std::string& program, const std::string& arguments,
                     const std::string& environment) {
  CliResult result;
  TempDir dir;
  const std::string errPath = dir.File("stderr");
  const std::string command = environment + " '" + program + "' " + arguments + " 2>'" + errPath + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadFileBytes(errPath);
  return result;
}

}  // namespace wattrix::test
