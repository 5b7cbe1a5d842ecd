#include "core/device/EnumPorts.h"
#include "core/device/PortMap.h"
#include "core/device/Serial.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace wattrix {
namespace {

using test::PtyPair;

TEST(PortMap, PortNamesAndNumericText) {
  int n = 0;
  EXPECT_TRUE(PortMap::ParsePortName("com7", n));
  EXPECT_EQ(n, 7);
  EXPECT_TRUE(PortMap::ParsePortName("Com12", n));
  EXPECT_EQ(n, 12);
  for (const char* name : {"COM", "LPT1", "COM1A", "COM0", "COM-3", "COM 3", "COM99999999999", "CO7", ""}) {
    EXPECT_FALSE(PortMap::ParsePortName(name, n)) << name;
  }
  EXPECT_TRUE(CEnumPorts::IsNumeric("0123", false));
  EXPECT_FALSE(CEnumPorts::IsNumeric("", false));
  EXPECT_FALSE(CEnumPorts::IsNumeric("12:3", false));
  EXPECT_TRUE(CEnumPorts::IsNumeric("12:3", true));
  EXPECT_EQ(PortMap::FixedNumber("ttyS0"), 1);
  EXPECT_EQ(PortMap::FixedNumber("ttyUSB31"), 64);
  EXPECT_EQ(PortMap::FixedNumber("ttyACM2"), 67);
  EXPECT_EQ(PortMap::FixedNumber("ttyUSB32"), 0);
  EXPECT_EQ(PortMap::FixedNumber("ttyX0"), 0);
}

// A ports folder, a sysfs tty list and a /dev, all made up in a temporary
// folder, with ptys standing in for the ttys.
class FakeHost : public ::testing::Test {
 protected:
  void SetUp() override {
    m_sources.portsDir = m_dir.File("ports");
    m_sources.sysClassTty = m_dir.File("sys");
    m_sources.devDir = m_dir.File("dev");
    for (const auto& d : {m_sources.portsDir, m_sources.sysClassTty, m_sources.devDir})
      ::mkdir(d.c_str(), 0755);
  }

  // A pty reachable as `path`.
  void Link(const std::string& path) {
    m_ptys.push_back(PtyPair::Open());
    ASSERT_EQ(::symlink(m_ptys.back().path.c_str(), path.c_str()), 0);
  }
  void Port(const std::string& name) { Link(m_sources.portsDir + "/" + name); }
  void Dev(const std::string& name) { Link(m_sources.devDir + "/" + name); }
  // A sysfs entry with a device behind it; `type` for ttyS.
  void Sys(const std::string& name, const char* type = nullptr, const std::string& deviceTarget = {}) {
    const auto dir = m_sources.sysClassTty + "/" + name;
    ::mkdir(dir.c_str(), 0755);
    if (deviceTarget.empty()) {
      ::mkdir((dir + "/device").c_str(), 0755);
    } else {
      ASSERT_EQ(::symlink(deviceTarget.c_str(), (dir + "/device").c_str()), 0);
    }
    if (type) test::WriteFileBytes(dir + "/type", std::string(type) + "\n");
  }

  std::vector<std::pair<int, std::string>> List() const {
    CEnumPorts ports(m_sources);
    std::vector<std::pair<int, std::string>> list;
    for (int i = 0; i < ports.GetCounts(); ++i)
      list.emplace_back(ports.GetPort(i, nullptr, 0), ports.GetName(i));
    return list;
  }

  test::TempDir m_dir;
  PortSources m_sources;
  std::vector<PtyPair> m_ptys;
};

TEST_F(FakeHost, ListsFolderEntriesAndMachinePortsWithStableNumbers) {
  Port("COM3");
  test::WriteFileBytes(m_sources.portsDir + "/COM3.description", "Bench sensor\r\n");
  Port("COM12");
  Port("com7");
  for (const char* skipped : {"COM", "LPT1", "COM1A", "COM0"}) Port(skipped);
  ASSERT_EQ(::symlink("/nonexistent/pts/99", (m_sources.portsDir + "/COM9").c_str()), 0);  // left over
  Port("COM33");  // the fixed number of ttyUSB0

  Sys("ttyS0", "4");
  Sys("ttyS1", "0");  // no UART behind it
  Dev("ttyS0");
  Dev("ttyS1");
  const auto usb = m_dir.File("usbdev/1-1/1-1:1.0/ttyUSB0");
  std::filesystem::create_directories(usb);
  test::WriteFileBytes(m_dir.File("usbdev/1-1/product"), "FT232R USB UART\n");
  test::WriteFileBytes(m_dir.File("usbdev/1-1/manufacturer"), "FTDI\n");
  Sys("ttyUSB0", nullptr, usb);
  Dev("ttyUSB0");
  Dev("ttyACM0");  // in /dev but not in the tty list
  Sys("ttyUSB1");  // in the tty list but not in /dev
  Sys("tty0");

  const std::vector<std::pair<int, std::string>> expected = {
      {1, "16550A UART [ttyS0] (COM1)"},
      {3, "Bench sensor (COM3)"},
      {7, "COM7"},
      {12, "COM12"},
      {33, "COM33"},
      {97, "FTDI FT232R USB UART [ttyUSB0] (COM97)"},
  };
  EXPECT_EQ(List(), expected);

  PortMap map(m_sources);
  ASSERT_TRUE(map.Scan());
  EXPECT_EQ(map.PathOf(7), m_sources.portsDir + "/com7");
  EXPECT_EQ(map.PathOf(9), m_sources.portsDir + "/COM9");  // its entry, even while dead
  EXPECT_EQ(map.PathOf(2), m_sources.devDir + "/ttyS1");   // by the rule
  EXPECT_EQ(map.PathOf(66), m_sources.devDir + "/ttyACM1");
  EXPECT_EQ(map.PathOf(97), m_sources.devDir + "/ttyUSB0");
  EXPECT_EQ(map.PathOf(200), "");
  EXPECT_EQ(map.FirstFree(1), 2);
  EXPECT_EQ(map.FirstFree(3), 4);

  // A folder entry naming a machine tty replaces it rather than listing it twice.
  ASSERT_EQ(::symlink((m_sources.devDir + "/ttyS0").c_str(), (m_sources.portsDir + "/COM20").c_str()), 0);
  const auto list = List();
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list.front(), std::make_pair(3, std::string("Bench sensor (COM3)")));
  EXPECT_EQ(list[3], std::make_pair(20, std::string("COM20")));
}

TEST_F(FakeHost, AnEmptyDeviceListIsAnAnswerAndTheOpenRouteIsNotTried) {
  ::rmdir(m_sources.portsDir.c_str());
  Dev("ttyS0");  // would open, but nothing lists it
  EXPECT_TRUE(List().empty());
}

TEST_F(FakeHost, WithoutADeviceListEveryNumberIsTriedByOpening) {
  m_sources.sysClassTty = m_dir.File("no-sysfs");
  Port("COM3");
  ASSERT_EQ(::symlink("/nonexistent/pts/99", (m_sources.portsDir + "/COM5").c_str()), 0);
  Dev("ttyS0");
  Dev("ttyUSB1");
  CSerial holder;  // another program holds COM3: still listed
  ASSERT_EQ(holder.Open(m_sources.portsDir + "/COM3"), serial_error::kSuccess);
  const std::vector<std::pair<int, std::string>> expected = {{1, "COM1"}, {3, "COM3"}, {34, "COM34"}};
  EXPECT_EQ(List(), expected);
}

TEST_F(FakeHost, GetPortCopiesNoFurtherThanTheBuffer) {
  Port("COM3");
  test::WriteFileBytes(m_sources.portsDir + "/COM3.description", "Messger\xC3\xA4t");
  Port("COM4");
  CEnumPorts ports(m_sources);
  ASSERT_EQ(ports.GetCounts(), 2);

  char buffer[32];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(ports.GetPort(2, buffer, sizeof buffer), -1);
  EXPECT_EQ(ports.GetPort(-1, buffer, sizeof buffer), -1);
  EXPECT_EQ(buffer[0], '#');

  EXPECT_EQ(ports.GetPort(0, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "Messger\xC3\xA4t (COM3)");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(ports.GetPort(0, buffer, 9), 3);  // room for 8 bytes: the 'ä' does not fit whole
  EXPECT_STREQ(buffer, "Messger");
  EXPECT_EQ(buffer[9], '#');
  EXPECT_EQ(ports.GetPort(1, buffer, 1), 4);
  EXPECT_STREQ(buffer, "");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(ports.GetPort(1, buffer, 0), 4);
  EXPECT_EQ(buffer[0], '#');
}

}  // namespace
}  // namespace wattrix
