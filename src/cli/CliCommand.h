#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wattrix::cli {

// Exit codes of wattrix-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A top-level command ("ports", "identify", "psh", …). `args` holds the
// words after the command name. Errors go to stderr as "error: …".
using CommandHandler = std::function<int(const std::vector<std::string>& args)>;

// Each command's source file registers its handler with a static
// CommandRegistration, so that the commands stay in separate files.
struct CommandRegistration {
  CommandRegistration(const std::string& name, const std::string& usage, CommandHandler handler);
};

// Prints "error: <message>" to stderr and returns the exit code.
int Fail(int code, const std::string& message);

}  // namespace wattrix::cli
