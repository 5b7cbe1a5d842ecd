#pragma once

#include <string>

namespace wattrix {

// Where the program finds its files on this host. "Next to the executable"
// is WATTRIX_HOME when set, else the executable's own folder; read-only
// data falls back to the installed data folder, writable settings to the
// user's configuration folder.
class HostPaths final {
 public:
  // Folder of the running executable (/proc/self/exe), no trailing slash.
  static std::string ExecutableDir();
  // WATTRIX_HOME, or ExecutableDir().
  static std::string HomeDir();
  // A data file (string table, help document): beside the program when it
  // is there, else in the installed data folder (<exe>/../share/wattrix,
  // then the configured one); the beside-the-program path when it is in
  // none of these places.
  static std::string DataFile(const std::string& name);
  // Folder for the per-model settings files: HomeDir() when writable,
  // otherwise $XDG_CONFIG_HOME/wattrix (default ~/.config/wattrix), created
  // on demand.
  static std::string SettingsDir();
  // The COM port folder: WATTRIX_PORTS_DIR, else <runtime>/ports.
  static std::string PortsDir();
  // The USB stand-in folder: WATTRIX_USB_DIR, else <runtime>/usb.
  static std::string UsbDir();
  // $XDG_RUNTIME_DIR/wattrix, or /tmp/wattrix-<uid> without it.
  static std::string RuntimeDir();

  // Creates a folder and its parents; true when it exists afterwards.
  static bool MakeDirs(const std::string& path);
};

}  // namespace wattrix
