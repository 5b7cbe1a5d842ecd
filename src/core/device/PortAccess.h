#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wattrix {

// Whether this process may open a serial device for reading and writing,
// told apart from a device that is not there.
enum class PortAccess { Usable, Missing, NoPermission, Unknown };

// The access test of a path: 0 when it may be read and written, else the
// errno (faccessat with the effective ids in the application; tests inject
// their own, since root passes every permission test).
using AccessProbe = int (*)(const char* path);
int ProbeReadWrite(const char* path);

// The errno of an access test as a PortAccess.
PortAccess PortAccessOfErrno(int error);
PortAccess CheckPortAccess(const std::string& path, AccessProbe probe = &ProbeReadWrite);

// What the system tells about the group that owns a device, for the advice
// on how to get access to it.
struct DeviceGroupFacts {
  std::string group;          // name of the owning group; empty when unknown
  bool userListed = false;    // the user is a member of it in the group database
  bool sessionHasIt = false;  // this process already runs with that group
};
DeviceGroupFacts GroupFactsOf(const std::string& path);

// The message of a port that may not be opened, from the string table:
// names the device and its group and says what to do (join the group, or
// log in again when the membership is newer than the session).
std::string PortPermissionMessage(const std::string& path, const DeviceGroupFacts& facts);

// The message for COM<port> when this user may not open it (read and
// write), empty when the port may be opened, is missing or is USB (< 1).
std::string PortPermissionProblem(int port, AccessProbe probe = &ProbeReadWrite);

// `text` with every "{name}" of `values` replaced by its value; other
// braces are left as they are.
std::string Substitute(const std::string& text,
                       const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace wattrix
