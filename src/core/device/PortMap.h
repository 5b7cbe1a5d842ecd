#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// Where the COM ports of this host come from: the ports folder with its
// COM<n> entries, and the machine's ttys as sysfs lists them.
struct PortSources {
  std::string portsDir;
  std::string sysClassTty = "/sys/class/tty";
  std::string devDir = "/dev";
};

// One COM port: its number, the path that opens it and its description
// (empty when it has none).
struct PortEntry {
  int number = 0;
  std::string path;
  std::string description;
  bool machinePort = false;  // a tty of the machine, not an entry of the ports folder
};

// COM number <-> device path. Entries of the ports folder keep the number of
// their name. The machine's serial ports get fixed numbers:
//   ttyS<k> -> COM<k+1>, ttyUSB<k> -> COM<k+33>, ttyACM<k> -> COM<k+65>
// for k = 0..31. A machine port whose number a ports-folder entry already
// holds (for another device), or whose k is 32 or more, takes the lowest
// free number from 97 up, in the order ttyS, ttyUSB, ttyACM and k.
class PortMap final {
 public:
  static constexpr int kSerialBase = 1;
  static constexpr int kUsbBase = 33;
  static constexpr int kAcmBase = 65;
  static constexpr int kOverflowBase = 97;
  static constexpr int kFixedPerKind = 32;

  // The host's folders: HostPaths::PortsDir(), /sys/class/tty, /dev.
  static PortSources HostSources();

  explicit PortMap(PortSources sources = HostSources());

  // Reads both sources afresh. False when the machine's tty list cannot be
  // read (no device database); the ports folder is read anyway.
  bool Scan();
  bool MachineListRead() const { return m_machineListRead; }
  const PortSources& Sources() const { return m_sources; }

  // The ports that are present, in ascending number.
  const std::vector<PortEntry>& Ports() const { return m_ports; }
  // The path that COM<number> opens; empty when the number maps to nothing.
  // Without a present port the ports folder's entry or the fixed rule
  // decides, so that probing by opening works without sysfs.
  std::string PathOf(int number) const;
  // True when a present port (folder entry or machine port) has the number.
  bool IsTaken(int number) const;
  // Lowest number from `from` up that IsTaken() does not claim.
  int FirstFree(int from = 1) const;

  // The folder entry's path and its description file for COM<number>.
  std::string EntryPath(int number) const;
  std::string DescriptionPath(int number) const;

  // "PortName" rule: longer than three characters, "COM" in any case, then
  // decimal digits only; the number must be at least 1.
  static bool ParsePortName(std::string_view name, int& number);
  // Every character a decimal digit (":" too when allowed); false for "".
  static bool IsNumeric(std::string_view text, bool allowColon);
  // The fixed number of a machine tty name, 0 when the rule has none.
  static int FixedNumber(std::string_view ttyName);

 private:
  void ScanFolder();
  void ScanMachine();
  std::string MachineDescription(const std::string& name) const;

  PortSources m_sources;
  bool m_machineListRead = false;
  std::vector<PortEntry> m_ports;
  std::map<int, std::string> m_folderNames;  // every valid COM<n> name in the folder
};

}  // namespace wattrix
