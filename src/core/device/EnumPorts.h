#pragma once

#include "core/device/PortMap.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// The COM ports the connect dialog offers, found once at construction:
// from the device list (ports folder and the machine's ttys, PortMap), or,
// when that list cannot be read at all, by trying to open COM1..COM255.
class CEnumPorts final {
 public:
  static constexpr int kHighestProbedPort = 255;

  CEnumPorts();
  explicit CEnumPorts(PortSources sources);

  // True when a route worked.
  bool Enumerate();
  bool EnumBySetupAPI();
  // Always true.
  bool EnumByCreateFile();

  static bool IsNumeric(std::string_view text, bool allowColon) {
    return PortMap::IsNumeric(text, allowColon);
  }

  int GetCounts() const { return static_cast<int>(m_arPorts.size()); }
  // Port number of entry `index`, or -1 (buffer untouched) when there is no
  // such entry. The display name goes into `name` when given, cut to
  // `length` - 1 bytes on a character boundary and NUL-terminated.
  int GetPort(int index, char* name, std::size_t length) const;
  // The display name of entry `index` ("" when there is none).
  std::string GetName(int index) const;

 private:
  void Add(int number, const std::string& name);

  PortSources m_sources;
  std::vector<std::string> m_arNames;
  std::vector<int> m_arPorts;
};

}  // namespace wattrix
