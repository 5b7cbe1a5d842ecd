#include "core/device/PortMap.h"

#include "core/platform/HostPaths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>

namespace wattrix {

namespace {

constexpr std::size_t kDescriptionLimit = 255;
constexpr const char* kDescriptionSuffix = ".description";

struct Kind {
  const char* prefix;
  int base;
};
constexpr std::array<Kind, 3> kKinds = {
    {{"ttyS", PortMap::kSerialBase}, {"ttyUSB", PortMap::kUsbBase}, {"ttyACM", PortMap::kAcmBase}}};

std::vector<std::string> ListFolder(const std::string& dir, bool& listed) {
  std::vector<std::string> names;
  DIR* d = ::opendir(dir.c_str());
  listed = d != nullptr;
  if (!d) return names;
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

bool IsCharacterDevice(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// The first line of a small text file, without line end or trailing blanks.
std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
  if (line.size() > kDescriptionLimit) line.resize(kDescriptionLimit);
  return line;
}

// Parses "<prefix><k>" with k decimal; false for other names.
bool SplitTtyName(std::string_view name, const Kind& kind, int& index) {
  const std::string_view prefix = kind.prefix;
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
  const auto digits = name.substr(prefix.size());
  if (!PortMap::IsNumeric(digits, false) || digits.size() > 6) return false;
  index = std::atoi(std::string(digits).c_str());
  return true;
}

std::string UartName(const std::string& typeText) {
  // Port types of the kernel's serial core that a PC is likely to carry.
  static constexpr std::array<const char*, 14> kNames = {"",       "8250",  "16450",   "16550", "16550A",
                                                         "Cirrus", "16650", "16650V2", "16750", "Startech",
                                                         "16C950", "16654", "16850",   "RSA"};
  if (!PortMap::IsNumeric(typeText, false) || typeText.size() > 3) return {};
  const auto type = static_cast<std::size_t>(std::atoi(typeText.c_str()));
  return type < kNames.size() ? kNames[type] : std::string();
}

}  // namespace

PortSources PortMap::HostSources() {
  PortSources sources;
  sources.portsDir = HostPaths::PortsDir();
  return sources;
}

PortMap::PortMap(PortSources sources) : m_sources(std::move(sources)) {}

bool PortMap::IsNumeric(std::string_view text, bool allowColon) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (allowColon && c == ':'))) return false;
  }
  return true;
}

bool PortMap::ParsePortName(std::string_view name, int& number) {
  if (name.size() <= 3) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    const char c = static_cast<char>(name[i] & ~0x20);  // upper case for letters
    if (c != "COM"[i]) return false;
  }
  const auto rest = name.substr(3);
  if (!IsNumeric(rest, false)) return false;
  long long value = 0;
  for (const char c : rest) {
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return false;
  }
  // COM0 would read as the USB sensor (port numbers of 0 and below).
  if (value < 1) return false;
  number = static_cast<int>(value);
  return true;
}

int PortMap::FixedNumber(std::string_view ttyName) {
  for (const auto& kind : kKinds) {
    int index = 0;
    if (SplitTtyName(ttyName, kind, index)) return index < kFixedPerKind ? kind.base + index : 0;
  }
  return 0;
}

bool PortMap::Scan() {
  m_ports.clear();
  m_folderNames.clear();
  ScanFolder();
  ScanMachine();
  std::sort(m_ports.begin(), m_ports.end(),
            [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });
  return m_machineListRead;
}

void PortMap::ScanFolder() {
  bool listed = false;
  const auto names = ListFolder(m_sources.portsDir, listed);
  const std::string_view suffix = kDescriptionSuffix;
  for (const auto& name : names) {
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      continue;
    }
    int number = 0;
    // "COM7" and "com7" both name port 7: the first in name order holds it.
    if (!ParsePortName(name, number) || m_folderNames.count(number)) continue;
    m_folderNames[number] = name;
    const auto path = m_sources.portsDir + "/" + name;
    // A link whose tty is gone is a left-over, not a port.
    if (!IsCharacterDevice(path)) continue;
    m_ports.push_back({number, path, FirstLine(path + kDescriptionSuffix), false});
  }
}

void PortMap::ScanMachine() {
  const auto names = ListFolder(m_sources.sysClassTty, m_machineListRead);
  std::set<std::string> folderDevices;
  for (const auto& port : m_ports) folderDevices.insert(RealPath(port.path));

  struct Candidate {
    std::size_t kind;
    int index;
    std::string name;
  };
  std::vector<Candidate> candidates;
  for (const auto& name : names) {
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
      int index = 0;
      if (SplitTtyName(name, kKinds[k], index)) candidates.push_back({k, index, name});
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.kind != b.kind ? a.kind < b.kind : a.index < b.index;
  });

  std::vector<PortEntry> displaced;
  for (const auto& c : candidates) {
    const auto sys = m_sources.sysClassTty + "/" + c.name;
    struct stat st {};
    if (::stat((sys + "/device").c_str(), &st) != 0) continue;  // nothing behind the tty
    // The kernel keeps ttyS0..n for every possible UART; type 0 means none.
    if (c.kind == 0 && UartName(FirstLine(sys + "/type")).empty()) continue;
    const auto dev = m_sources.devDir + "/" + c.name;
    if (!IsCharacterDevice(dev)) continue;
    if (folderDevices.count(RealPath(dev))) continue;  // the folder names it already
    PortEntry entry{0, dev, MachineDescription(c.name), true};
    const int fixed = c.index < kFixedPerKind ? kKinds[c.kind].base + c.index : 0;
    if (fixed != 0 && !IsTaken(fixed)) {
      entry.number = fixed;
      m_ports.push_back(entry);
    } else {
      displaced.push_back(entry);
    }
  }
  for (auto& entry : displaced) {
    entry.number = FirstFree(kOverflowBase);
    m_ports.push_back(entry);
  }
}

std::string PortMap::MachineDescription(const std::string& name) const {
  const auto sys = m_sources.sysClassTty + "/" + name;
  std::string text;
  if (name.rfind("ttyS", 0) == 0) {
    text = UartName(FirstLine(sys + "/type"));
    if (!text.empty()) text += " UART";
  } else {
    // USB adapters: the product string sits on the USB device, a few levels up.
    std::string dir = RealPath(sys + "/device");
    for (int level = 0; level < 4 && dir.size() > 1; ++level) {
      const auto product = FirstLine(dir + "/product");
      if (!product.empty()) {
        const auto maker = FirstLine(dir + "/manufacturer");
        text = maker.empty() || product.rfind(maker, 0) == 0 ? product : maker + " " + product;
        break;
      }
      dir = dir.substr(0, dir.find_last_of('/'));
    }
  }
  return text.empty() ? name : text + " [" + name + "]";
}

std::string PortMap::PathOf(int number) const {
  for (const auto& port : m_ports) {
    if (port.number == number) return port.path;
  }
  const auto named = m_folderNames.find(number);
  if (named != m_folderNames.end()) return m_sources.portsDir + "/" + named->second;
  for (auto k = kKinds.size(); k-- > 0;) {
    const int base = kKinds[k].base;
    if (number >= base && number < base + kFixedPerKind) {
      return m_sources.devDir + "/" + kKinds[k].prefix + std::to_string(number - base);
    }
  }
  return {};
}

bool PortMap::IsTaken(int number) const {
  return std::any_of(m_ports.begin(), m_ports.end(),
                     [number](const PortEntry& p) { return p.number == number; });
}

int PortMap::FirstFree(int from) const {
  int number = std::max(from, 1);
  while (IsTaken(number)) ++number;
  return number;
}

std::string PortMap::EntryPath(int number) const {
  const auto named = m_folderNames.find(number);
  const auto name = named != m_folderNames.end() ? named->second : "COM" + std::to_string(number);
  return m_sources.portsDir + "/" + name;
}

std::string PortMap::DescriptionPath(int number) const { return EntryPath(number) + kDescriptionSuffix; }

}  // namespace wattrix
