#pragma once

#include <string>
#include <vector>

namespace wattrix::usb {

// Interface classes of the two driver generations; each is a folder of the
// USB folder (HostPaths::UsbDir()).
constexpr const char* kSingleHandleInterface = "{EC347E99-6664-4F1F-817D-5317C226BDC1}";
constexpr const char* kTwoPipeInterface = "{00873FDF-61A8-11D1-AA5E-00C04FB1728B}";
// Pipes inside a two-pipe device path.
constexpr const char* kReadPipe = "PIPE01";
constexpr const char* kWritePipe = "PIPE00";

enum class Driver { kSingleHandle, kTwoPipe };

// WATTRIX_USB_DRIVER: "xp" picks the single-handle driver, "vista" (and
// anything else, or nothing) the two-pipe one.
Driver SelectedDriver();

// The interface class folder, e.g. <usb>/{EC347E99-...}.
std::string InterfaceFolder(const char* interfaceClass);
// Device paths of an interface class in interface-index order (entries of
// its folder in name order).
std::vector<std::string> DevicePaths(const char* interfaceClass);

}  // namespace wattrix::usb
