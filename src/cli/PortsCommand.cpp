// wattrix-cli ports: the port list the connect dialog offers.
#include "cli/CliCommand.h"

#include "core/device/EnumPorts.h"

#include <cstdio>

namespace wattrix::cli {

namespace {

int Ports(const std::vector<std::string>& args) {
  if (!args.empty()) return Fail(kExitUsage, "ports takes no arguments");
  const CEnumPorts ports;
  for (int i = 0; i < ports.GetCounts(); ++i) {
    std::printf("%d\t%s\n", ports.GetPort(i, nullptr, 0), ports.GetName(i).c_str());
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

const CommandRegistration kRegistration("ports", "ports", Ports);

}  // namespace

}  // namespace wattrix::cli
