#include "sim/SimEndpoint.h"

#include "core/device/FdTransfer.h"
#include "core/device/PortMap.h"
#include "core/device/UsbInterfaces.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/HostPaths.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

namespace wattrix::sim {

namespace {

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string LinkTarget(const std::string& path) {
  char target[PATH_MAX];
  const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
  return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

// A link left behind by a sensor that did not clean up: its tty is gone.
bool IsStaleLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0;
}

// Creates the link; a stale one in the way is replaced.
bool MakeLink(const std::string& target, const std::string& path) {
  if (::symlink(target.c_str(), path.c_str()) == 0) return true;
  if (errno != EEXIST || !IsStaleLink(path)) return false;
  ::unlink(path.c_str());
  return ::symlink(target.c_str(), path.c_str()) == 0;
}

std::string DeviceName() { return "sim-" + std::to_string(::getpid()); }

}  // namespace

std::unique_ptr<SimEndpoint> SimEndpoint::Create(SimTransport transport, int comNumber,
                                                 const std::string& description, std::string& error) {
  std::unique_ptr<SimEndpoint> endpoint(new SimEndpoint());
  endpoint->m_transport = transport;
  bool ok = false;
  switch (transport) {
    case SimTransport::kSerial:
      ok = endpoint->CreatePty(error) && endpoint->RegisterComPort(comNumber, description, error);
      break;
    case SimTransport::kUsbSingleHandle:
      ok = endpoint->CreatePty(error) && endpoint->RegisterUsbLink(error);
      break;
    case SimTransport::kUsbTwoPipe:
      ok = endpoint->CreatePipes(error);
      break;
  }
  if (!ok) return nullptr;
  return endpoint;
}

SimEndpoint::~SimEndpoint() { RemoveEntries(); }

bool SimEndpoint::CreatePty(std::string& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master.IsValid() || ::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0) {
    error = ErrnoText("cannot create a pty");
    return false;
  }
  char name[PATH_MAX];
  if (::ptsname_r(master.Get(), name, sizeof name) != 0) {
    error = ErrnoText("cannot name the pty");
    return false;
  }
  // No echo and no line editing before the host opens its side: the
  // master's termios are the slave's.
  fdio::MakeRaw(master.Get());
  m_ptyPath = name;
  m_input = std::move(master);
  return true;
}

bool SimEndpoint::RegisterComPort(int comNumber, const std::string& description, std::string& error) {
  PortMap map;
  map.Scan();
  if (!HostPaths::MakeDirs(map.Sources().portsDir)) {
    error = ErrnoText("cannot create the ports folder " + map.Sources().portsDir);
    return false;
  }
  if (comNumber > 0 && map.IsTaken(comNumber)) {
    error = "COM" + std::to_string(comNumber) + " is taken";
    return false;
  }
  int number = comNumber > 0 ? comNumber : map.FirstFree(1);
  for (;;) {
    const auto entry = map.EntryPath(number);
    if (MakeLink(m_ptyPath, entry)) {
      m_port = number;
      m_entry = entry;
      break;
    }
    // Another sensor took the number a moment ago: try the next one.
    if (errno != EEXIST || comNumber > 0) {
      error = ErrnoText("cannot create " + entry);
      return false;
    }
    number = map.FirstFree(number + 1);
  }
  m_descriptionFile = map.DescriptionPath(m_port);
  if (!WriteFileAtomically(m_descriptionFile, description + "\n")) m_descriptionFile.clear();
  return true;
}

bool SimEndpoint::RegisterUsbLink(std::string& error) {
  const auto folder = usb::InterfaceFolder(usb::kSingleHandleInterface);
  if (!HostPaths::MakeDirs(folder)) {
    error = ErrnoText("cannot create " + folder);
    return false;
  }
  const auto entry = folder + "/" + DeviceName();
  if (!MakeLink(m_ptyPath, entry)) {
    error = ErrnoText("cannot create " + entry);
    return false;
  }
  m_entry = entry;
  return true;
}

bool SimEndpoint::CreatePipes(std::string& error) {
  const auto folder = usb::InterfaceFolder(usb::kTwoPipeInterface);
  if (!HostPaths::MakeDirs(folder)) {
    error = ErrnoText("cannot create " + folder);
    return false;
  }
  // Built under a hidden name and renamed, so a host never finds half a device.
  const auto scratch = folder + "/." + DeviceName();
  const auto entry = folder + "/" + DeviceName();
  const auto writePipe = std::string("/") + usb::kWritePipe;
  const auto readPipe = std::string("/") + usb::kReadPipe;
  if (::mkdir(scratch.c_str(), 0700) != 0 || ::mkfifo((scratch + writePipe).c_str(), 0600) != 0 ||
      ::mkfifo((scratch + readPipe).c_str(), 0600) != 0) {
    error = ErrnoText("cannot create the pipes in " + scratch);
    ::unlink((scratch + writePipe).c_str());
    ::unlink((scratch + readPipe).c_str());
    ::rmdir(scratch.c_str());
    return false;
  }
  // Both ends held open by the sensor itself (read and write), so that a
  // host coming and going never makes the sensor see end of file or SIGPIPE.
  m_input.Reset(::open((scratch + writePipe).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  m_output.Reset(::open((scratch + readPipe).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  if (!m_input.IsValid() || !m_output.IsValid() || ::rename(scratch.c_str(), entry.c_str()) != 0) {
    error = ErrnoText("cannot set up " + entry);
    m_entry = scratch;
    RemoveEntries();
    return false;
  }
  m_entry = entry;
  return true;
}

void SimEndpoint::HangUp() {
  m_input.Reset();
  m_output.Reset();
}

void SimEndpoint::RemoveEntries() {
  HangUp();
  if (m_entry.empty()) return;
  if (m_transport == SimTransport::kUsbTwoPipe) {
    ::unlink((m_entry + "/" + usb::kWritePipe).c_str());
    ::unlink((m_entry + "/" + usb::kReadPipe).c_str());
    ::rmdir(m_entry.c_str());
  } else if (LinkTarget(m_entry) == m_ptyPath) {
    // Only our own link: the number may already serve another sensor.
    ::unlink(m_entry.c_str());
    if (!m_descriptionFile.empty()) ::unlink(m_descriptionFile.c_str());
  }
  m_entry.clear();
}

}  // namespace wattrix::sim
