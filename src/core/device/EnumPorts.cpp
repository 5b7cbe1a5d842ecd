#include "core/device/EnumPorts.h"

#include "core/platform/TraceSink.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace wattrix {

namespace {

std::string PortLabel(int number) { return "COM" + std::to_string(number); }

// Bytes of `text` that fit in `room` bytes without splitting a UTF-8 character.
std::size_t FittingBytes(const std::string& text, std::size_t room) {
  if (text.size() <= room) return text.size();
  std::size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace

CEnumPorts::CEnumPorts() : CEnumPorts(PortMap::HostSources()) {}

CEnumPorts::CEnumPorts(PortSources sources) : m_sources(std::move(sources)) { Enumerate(); }

bool CEnumPorts::Enumerate() {
  if (EnumBySetupAPI()) return true;
  Trace("CEnumPorts EnumBySetupAPI failed, trying to open COM1..COM255");
  return EnumByCreateFile();
}

void CEnumPorts::Add(int number, const std::string& name) {
  m_arPorts.push_back(number);
  m_arNames.push_back(name);
}

bool CEnumPorts::EnumBySetupAPI() {
  PortMap map(m_sources);
  if (!map.Scan()) {
    Trace("CEnumPorts the machine's tty list cannot be read");
    return false;
  }
  for (const auto& port : map.Ports()) {
    Add(port.number, port.description.empty() ? PortLabel(port.number)
                                              : port.description + " (" + PortLabel(port.number) + ")");
  }
  return true;
}

bool CEnumPorts::EnumByCreateFile() {
  PortMap map(m_sources);
  map.Scan();
  for (int n = 1; n <= kHighestProbedPort; ++n) {
    const auto path = map.PathOf(n);
    if (path.empty()) continue;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Held by another program or not ours to open: the port is there all the same.
    const bool present = fd >= 0 || errno == EACCES || errno == EBUSY;
    if (fd >= 0) ::close(fd);
    if (present) Add(n, PortLabel(n));
  }
  return true;
}

int CEnumPorts::GetPort(int index, char* name, std::size_t length) const {
  if (index < 0 || index >= GetCounts()) return -1;
  const auto i = static_cast<std::size_t>(index);
  if (name && length > 0) {
    const auto n = FittingBytes(m_arNames[i], length - 1);
    std::memcpy(name, m_arNames[i].data(), n);
    name[n] = '\0';
  }
  return m_arPorts[i];
}

std::string CEnumPorts::GetName(int index) const {
  if (index < 0 || index >= GetCounts()) return {};
  return m_arNames[static_cast<std::size_t>(index)];
}

}  // namespace wattrix
