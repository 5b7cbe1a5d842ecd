#include "core/platform/HostPaths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace wattrix {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string StripTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string HostPaths::ExecutableDir() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string path(buffer, static_cast<std::size_t>(n));
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HostPaths::HomeDir() {
  const auto home = Env("WATTRIX_HOME");
  return home.empty() ? ExecutableDir() : StripTrailingSlash(home);
}

std::string HostPaths::DataFile(const std::string& name) {
  const auto beside = HomeDir() + "/" + name;
  if (FileExists(beside)) return beside;
  // <prefix>/bin/.. is the prefix the program was installed under, which
  // may differ from the one it was configured for.
  const auto relative = ExecutableDir() + "/../share/wattrix/" + name;
  if (FileExists(relative)) return relative;
  const auto installed = std::string(WATTRIX_INSTALL_DATADIR) + "/" + name;
  if (FileExists(installed)) return installed;
  return beside;
}

std::string HostPaths::SettingsDir() {
  const auto home = HomeDir();
  if (::access(home.c_str(), W_OK) == 0) return home;
  auto config = Env("XDG_CONFIG_HOME");
  if (config.empty()) config = Env("HOME") + "/.config";
  const auto dir = StripTrailingSlash(config) + "/wattrix";
  MakeDirs(dir);
  return dir;
}

std::string HostPaths::RuntimeDir() {
  const auto runtime = Env("XDG_RUNTIME_DIR");
  if (!runtime.empty()) return StripTrailingSlash(runtime) + "/wattrix";
  return "/tmp/wattrix-" + std::to_string(::getuid());
}

std::string HostPaths::PortsDir() {
  const auto dir = Env("WATTRIX_PORTS_DIR");
  return dir.empty() ? RuntimeDir() + "/ports" : StripTrailingSlash(dir);
}

std::string HostPaths::UsbDir() {
  const auto dir = Env("WATTRIX_USB_DIR");
  return dir.empty() ? RuntimeDir() + "/usb" : StripTrailingSlash(dir);
}

bool HostPaths::MakeDirs(const std::string& path) {
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  const auto slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) MakeDirs(path.substr(0, slash));
  return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST || IsDirectory(path);
}

}  // namespace wattrix
