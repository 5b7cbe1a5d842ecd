#include "core/device/PortMap.h"
#include "core/device/UsbDeviceVista.h"
#include "core/device/UsbInterfaces.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace wattrix {
namespace {

// wattrix-sim as a child process with its stdout and stderr on pipes.
test::SimProcess Sim(std::vector<std::string> args) { return {WATTRIX_SIM_PATH, std::move(args)}; }

class SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("WATTRIX_PORTS_DIR", m_dir.File("ports").c_str(), 1);
    ::setenv("WATTRIX_USB_DIR", m_dir.File("usb").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("WATTRIX_PORTS_DIR");
    ::unsetenv("WATTRIX_USB_DIR");
  }
  bool Exists(const std::string& path) const {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
  }
  test::TempDir m_dir;
};

// One exchange on a pty path, without the serial link's pause.
std::string Ask(const std::string& path, const std::string& frame, std::size_t length) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return "open failed";
  if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) return "write failed";
  std::string reply;
  char buffer[64];
  pollfd p{fd, POLLIN, 0};
  while (reply.size() < length && ::poll(&p, 1, 2000) > 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    reply.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return reply;
}

TEST_F(SimProgram, HelpAndUsageErrors) {
  auto help = Sim({"--help"});
  const auto text = help.Output();
  EXPECT_EQ(help.Wait(), 0);
  for (const char* option : {"--model", "--transport", "--com", "--firmware", "--serial", "--forward",
                             "--vswr", "--par", "--pulse-duty", "--pulse-width", "--ccdf-par", "--drop",
                             "--corrupt", "--delay", "--hang-up-after", "--seed", "--time-scale"}) {
    EXPECT_NE(text.find(option), std::string::npos) << option;
  }
  auto bad = Sim({"--model", "PX420B", "--bogus"});
  EXPECT_NE(bad.Errors().find("error: unknown option '--bogus'"), std::string::npos);
  EXPECT_EQ(bad.Wait(), 2);
  auto unknown = Sim({"--model", "PX999"});
  EXPECT_EQ(unknown.Wait(), 2);
  auto noModel = Sim({"--drop", "0.5"});
  EXPECT_EQ(noModel.Wait(), 2);
}

TEST_F(SimProgram, ServesAComPortThroughReconnectsAndCleansUp) {
  PortMap map;
  map.Scan();
  const int expected = map.FirstFree(1);
  auto sim = Sim({"--model", "PX470B", "--serial", "4242", "--firmware", "3.05"});
  ASSERT_EQ(sim.FirstLine(), "port=" + std::to_string(expected) + "\n");
  const auto entry = m_dir.File("ports/COM" + std::to_string(expected));
  EXPECT_EQ(test::ReadFileBytes(entry + ".description"), "Wattrix simulated PX470B\n");
  // The host opens, asks and closes, again and again.
  EXPECT_EQ(Ask(entry, "[GS]", 9), std::string("[S,\x92\x10\0\0]\r", 9));
  EXPECT_EQ(Ask(entry, "[GV]", 9), std::string("[V,\x31\x01\0\0]\r", 9));
  EXPECT_EQ(Ask(entry, "[GK]", 1536).size(), 1536u);

  // A second sensor takes the next number; a number in use is refused.
  auto second = Sim({"--model", "PX430A"});
  EXPECT_EQ(second.FirstLine(), "port=" + std::to_string(map.FirstFree(expected + 1)) + "\n");
  auto clash = Sim({"--model", "PX430A", "--com", std::to_string(expected)});
  EXPECT_EQ(clash.Wait(), 1);
  EXPECT_EQ(second.Stop(SIGINT), 0);

  EXPECT_EQ(sim.Stop(SIGTERM), 0);
  EXPECT_FALSE(Exists(entry));
  EXPECT_FALSE(Exists(entry + ".description"));
}

TEST_F(SimProgram, ServesTheTwoPipeStandIn) {
  auto sim = Sim({"--model", "PX420B", "--transport", "usb-vista", "--hang-up-after", "2"});
  ASSERT_EQ(sim.FirstLine(), "port=-1\n");
  CUsbDeviceVista device;
  std::size_t n = 0;
  std::uint8_t reply[9] = {};
  // The host comes and goes; the sensor serves each connection.
  for (int i = 0; i < 2; ++i) {
    device.Close();
    ASSERT_TRUE(device.Open(-1));
    ASSERT_TRUE(device.Write(reinterpret_cast<const std::uint8_t*>("[GD]"), 4, &n));
    ASSERT_TRUE(device.Read(reply, 9, &n, 2000));
    EXPECT_EQ(reply[3], 10);
  }
  // The line drops after the second exchange: the write may already fail.
  device.Write(reinterpret_cast<const std::uint8_t*>("[GD]"), 4, &n);
  EXPECT_FALSE(device.Read(reply, 9, &n, 2000));
  device.Close();
  EXPECT_EQ(sim.Stop(SIGTERM), 0);
  EXPECT_TRUE(usb::DevicePaths(usb::kTwoPipeInterface).empty());
}

}  // namespace
}  // namespace wattrix
