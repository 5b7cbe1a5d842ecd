// wattrix-cli identify --port N: connect, identify, print, disconnect.
#include "cli/CliCommand.h"
#include "cli/ConnectedSensor.h"
#include "cli/Options.h"

#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/device/SensorProtocol.h"

#include <cstdio>

namespace wattrix::cli {

namespace {

int RunIdentify(const std::vector<std::string>& args) {
  Options options({"port"}, {});
  if (!options.Parse(args)) return Fail(kExitUsage, options.Error());
  if (!options.Positional().empty())
    return Fail(kExitUsage, "unexpected argument '" + options.Positional()[0] + "'");
  int portExit = kExitUsage;
  const auto port = RequiredPort(options, "identify", portExit);
  if (!port) return portExit;

  // Only the link: identification needs no settings record, so no
  // settings file is read or written.
  auto& link = SensorLink::Instance();
  const int code = link.Connect(*port);
  if (code != 0) return Fail(kExitFailed, "connect failed (" + std::to_string(code) + ")");

  const int deviceCode = link.DeviceCode();
  const int serial = link.SerialNumber();
  const int version = link.FirmwareVersion();
  link.Disconnect();

  std::printf("model=%s\n", ModelNameByCode(FindModelByDeviceCode(deviceCode)->modelCode).c_str());
  std::printf("device_code=%d\n", deviceCode);
  std::printf("serial=%d\n", serial);
  std::printf("version=%s\n", protocol::VersionText(version).c_str());
  return kExitOk;
}

const CommandRegistration kIdentify("identify", "identify --port N", RunIdentify);

}  // namespace
}  // namespace wattrix::cli
