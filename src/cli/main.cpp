// wattrix-cli: scripted use of a sensor and of history files.
#include "cli/CliCommand.h"

#include "core/strings/StringTable.h"

#include <cstdio>
#include <map>

namespace wattrix::cli {

namespace {

struct Command {
  std::string usage;
  CommandHandler handler;
};

std::map<std::string, Command>& Commands() {
  static std::map<std::string, Command> commands;
  return commands;
}

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "usage: wattrix-cli <command> [options]\n       wattrix-cli --help | --version\ncommands:\n");
  for (const auto& [name, command] : Commands()) std::fprintf(to, "  %s\n", command.usage.c_str());
}

}  // namespace

CommandRegistration::CommandRegistration(const std::string& name, const std::string& usage,
                                         CommandHandler handler) {
  Commands()[name] = Command{usage, std::move(handler)};
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "error: %s\n", message.c_str());
  return code;
}

}  // namespace wattrix::cli

int main(int argc, char** argv) {
  using namespace wattrix::cli;
  wattrix::strings::InitStringTablePath();
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
  }
  if (name == "--version") {
    std::printf("wattrix-cli %s\n", WATTRIX_VERSION);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
  }
  const auto it = Commands().find(name);
  if (it == Commands().end()) {
    PrintUsage(stderr);
    return Fail(kExitUsage, "unknown command '" + name + "'");
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  return it->second.handler(args);
}
