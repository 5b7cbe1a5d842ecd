#include "core/device/PortAccess.h"

#include "core/device/PortMap.h"
#include "core/strings/StringTable.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wattrix {

namespace {

std::string ResolvedPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

}  // namespace

int ProbeReadWrite(const char* path) {
  return ::faccessat(AT_FDCWD, path, R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

PortAccess PortAccessOfErrno(int error) {
  switch (error) {
    case 0:
      return PortAccess::Usable;
    case EACCES:
    case EPERM:
      return PortAccess::NoPermission;
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
    case ELOOP:
      return PortAccess::Missing;
    default:
      return PortAccess::Unknown;
  }
}

PortAccess CheckPortAccess(const std::string& path, AccessProbe probe) {
  if (path.empty()) return PortAccess::Missing;
  return PortAccessOfErrno(probe(path.c_str()));
}

DeviceGroupFacts GroupFactsOf(const std::string& path) {
  DeviceGroupFacts facts;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return facts;
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return facts;
  facts.group = found->gr_name;

  std::vector<char> userBuffer(16384);
  passwd user{};
  passwd* me = nullptr;
  if (::getpwuid_r(::geteuid(), &user, userBuffer.data(), userBuffer.size(), &me) == 0 && me) {
    facts.userListed = me->pw_gid == info.st_gid;
    for (char** member = found->gr_mem; member && *member && !facts.userListed; ++member)
      facts.userListed = std::strcmp(*member, me->pw_name) == 0;
  }
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)) + 1);
  const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
  facts.sessionHasIt = ::getegid() == info.st_gid ||
                       std::find(groups.begin(), groups.begin() + std::max(count, 0), info.st_gid) !=
                           groups.begin() + std::max(count, 0);
  return facts;
}

std::string PortPermissionMessage(const std::string& path, const DeviceGroupFacts& facts) {
  if (facts.group.empty() || facts.group == "root")
    return Substitute(strings::GetString("S_CONNECT_NO_PERMISSION_OTHER"), {{"device", path}});
  const std::vector<std::pair<std::string, std::string>> values{{"device", path}, {"group", facts.group}};
  if (facts.userListed && !facts.sessionHasIt)
    return Substitute(strings::GetString("S_CONNECT_NO_PERMISSION_RELOGIN"), values);
  return Substitute(strings::GetString("S_CONNECT_NO_PERMISSION"), values);
}

std::string PortPermissionProblem(int port, AccessProbe probe) {
  if (port < 1) return {};
  PortMap map;
  map.Scan();
  const std::string path = map.PathOf(port);
  if (CheckPortAccess(path, probe) != PortAccess::NoPermission) return {};
  // The message names the device itself, whose group is the one to join.
  return PortPermissionMessage(ResolvedPath(path), GroupFactsOf(path));
}

std::string Substitute(const std::string& text,
                       const std::vector<std::pair<std::string, std::string>>& values) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '{') {
      for (const auto& [name, value] : values) {
        if (text.compare(i + 1, name.size(), name) == 0 && i + 1 + name.size() < text.size() &&
            text[i + 1 + name.size()] == '}') {
          out += value;
          i += name.size() + 2;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

}  // namespace wattrix
