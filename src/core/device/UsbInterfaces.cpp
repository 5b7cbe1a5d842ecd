#include "core/device/UsbInterfaces.h"

#include "core/platform/HostPaths.h"

#include <dirent.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wattrix::usb {

Driver SelectedDriver() {
  const char* value = std::getenv("WATTRIX_USB_DRIVER");
  return value && std::strcmp(value, "xp") == 0 ? Driver::kSingleHandle : Driver::kTwoPipe;
}

std::string InterfaceFolder(const char* interfaceClass) { return HostPaths::UsbDir() + "/" + interfaceClass; }

std::vector<std::string> DevicePaths(const char* interfaceClass) {
  const auto folder = InterfaceFolder(interfaceClass);
  std::vector<std::string> names;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      // Hidden names are the stand-ins' own scratch entries, not devices.
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  for (auto& name : names) name = folder + "/" + name;
  return names;
}

}  // namespace wattrix::usb
