#include "core/vocabulary/SensorModel.h"
#include "core/device/UsbDevice.h"
#include "core/device/UsbDeviceVista.h"
#include "core/device/UsbDeviceXP.h"
#include "core/device/UsbInterfaces.h"
#include "sim/SimSensor.h"
#include "support/RepeatedCancel.h"
#include "support/SimHarness.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <string>

namespace wattrix {
namespace {

using Clock = std::chrono::steady_clock;
using sim::SimTransport;
using Frame = std::vector<std::uint8_t>;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

Frame Command(const char* letters, std::int32_t parameter) {
  const auto u = static_cast<std::uint32_t>(parameter);
  return {'[',
          static_cast<std::uint8_t>(letters[0]),
          static_cast<std::uint8_t>(letters[1]),
          static_cast<std::uint8_t>(u),
          static_cast<std::uint8_t>(u >> 8),
          static_cast<std::uint8_t>(u >> 16),
          static_cast<std::uint8_t>(u >> 24),
          ']'};
}

Frame Command(const char* letters) {
  if (std::string(letters) == "AS") return {'[', 'A', 'S', ']', '\\'};
  return {'[', static_cast<std::uint8_t>(letters[0]), static_cast<std::uint8_t>(letters[1]), ']'};
}

bool Send(CPowerDevice& device, const Frame& frame) {
  std::size_t written = 0;
  return device.Write(frame.data(), frame.size(), &written) && written == frame.size();
}

std::string Receive(CPowerDevice& device, std::size_t count, int timeoutMs = 2000) {
  std::string reply(count, '\0');
  std::size_t received = 0;
  if (!device.Read(reinterpret_cast<std::uint8_t*>(reply.data()), count, &received, timeoutMs)) return {};
  reply.resize(received);
  return reply;
}

// What each command is answered with, and which models answer it.
struct Expected {
  const char* command;
  bool parameter;
  std::size_t length;
  char tag;
  std::vector<int> models;  // empty: every model
};

const std::vector<Expected>& Table() {
  static const std::vector<Expected> table = {
      {"GD", false, 9, 'D', {}},
      {"GV", false, 9, 'V', {}},
      {"GS", false, 9, 'S', {}},
      {"GA", true, 9, 'P', {0, 1, 2, 4, 6, 9}},
      {"GF", true, 9, 'P', {0, 2, 3, 4, 8, 9}},
      {"GR", true, 9, 'P', {0, 2}},
      {"GE", true, 14, 'P', {5}},
      {"GP", true, 59, 'P', {5}},
      {"GU", true, 29, 'P', {5, 9}},
      {"GC", true, 5, 'T', {5, 9}},
      {"GK", false, 7680, 'C', {5, 9}},
      {"SO", true, 5, 'T', {5, 9}},
      {"SZ", true, 5, 'T', {5, 6, 9}},
      {"ST", true, 5, 'T', {5}},
      {"SN", true, 5, 'T', {5}},
      {"SU", true, 5, 'T', {5, 9}},
      {"SR", true, 5, 'T', {5, 9}},
      {"AE", true, 5, 'T', {5}},
      {"AF", true, 5, 'T', {5}},
      {"AM", true, 5, 'T', {5}},
      {"AI", true, 5, 'T', {5}},
      {"AN", true, 5, 'T', {5}},
      {"AT", true, 5, 'T', {5}},
      {"AU", true, 5, 'T', {5}},
      {"AR", true, 5, 'T', {5}},
      {"AO", true, 5, 'T', {5}},
      {"AS", false, 59, 'G', {5}},
      {"AD", true, 1024, 'D', {5}},  // sent with 2 blocks
  };
  return table;
}

std::unique_ptr<CPowerDevice> OpenInner(SimTransport transport) {
  std::unique_ptr<CPowerDevice> device;
  if (transport == SimTransport::kUsbTwoPipe) {
    device = std::make_unique<CUsbDeviceVista>();
  } else {
    device = std::make_unique<CUsbDeviceXP>();
  }
  return device->Open(-1) ? std::move(device) : nullptr;
}

// Every command on every model, over the pty and over the FIFOs: the exact
// reply shape, or no reply at all (the command after it is answered first).
class EveryCommand : public ::testing::TestWithParam<SimTransport> {};

TEST_P(EveryCommand, IsAnsweredWithItsExactShapeOrNotAtAll) {
  for (const auto& model : SensorModels()) {
    SCOPED_TRACE(model.name);
    test::SimHarness harness;
    ASSERT_NE(harness.Start(GetParam(), sim::SimConfig::ForModel(model.modelCode)), nullptr);
    auto device = OpenInner(GetParam());
    ASSERT_NE(device, nullptr);
    for (const auto& e : Table()) {
      SCOPED_TRACE(e.command);
      const bool answers =
          e.models.empty() || std::find(e.models.begin(), e.models.end(), model.modelCode) != e.models.end();
      ASSERT_TRUE(Send(*device, e.parameter ? Command(e.command, e.command == std::string("AD") ? 2 : 90000)
                                            : Command(e.command)));
      if (!answers) {
        ASSERT_TRUE(Send(*device, Command("GD")));
        const auto reply = Receive(*device, 9);
        ASSERT_EQ(reply.size(), 9u);
        EXPECT_EQ(reply.substr(0, 3), "[D,");
        EXPECT_EQ(static_cast<unsigned char>(reply[3]), model.deviceCode);
        continue;
      }
      const auto reply = Receive(*device, e.length);
      ASSERT_EQ(reply.size(), e.length);
      EXPECT_EQ(reply[0], '[');
      EXPECT_EQ(reply[1], e.tag);
      EXPECT_EQ(reply.substr(e.length - 2), "]\r");
      if (e.length <= 59) {
        EXPECT_EQ(reply[2], ',');
      }
    }
    EXPECT_EQ(Receive(*device, 1, 50), "");  // nothing left over
  }
}

INSTANTIATE_TEST_SUITE_P(UsbStandIns, EveryCommand,
                         ::testing::Values(SimTransport::kUsbSingleHandle, SimTransport::kUsbTwoPipe));

TEST(CUsbDeviceVista, PiecesSeveralCommandsAtOnceAndRepliesInPieces) {
  test::SimHarness harness;
  ASSERT_NE(harness.Start(SimTransport::kUsbTwoPipe, sim::SimConfig::ForModel(5), 0, {true}), nullptr);
  CUsbDeviceVista device;
  ASSERT_TRUE(device.Open(-1));
  // One command a byte at a time, then two in one write.
  for (const auto byte : Command("GV")) ASSERT_TRUE(Send(device, Frame{byte}));
  EXPECT_EQ(Receive(device, 9).substr(0, 3), "[V,");
  Frame two = Command("GD");
  const auto serial = Command("GS");
  two.insert(two.end(), serial.begin(), serial.end());
  ASSERT_TRUE(Send(device, two));
  const auto both = Receive(device, 18);
  ASSERT_EQ(both.size(), 18u);
  EXPECT_EQ(both.substr(0, 3), "[D,");
  EXPECT_EQ(both.substr(9, 3), "[S,");
  // At 9600 baud the eleven peak values come in many writes; one read takes them all.
  ASSERT_TRUE(Send(device, Command("GP", 90000)));
  EXPECT_EQ(Receive(device, 59).size(), 59u);
}

TEST(CUsbDeviceVista, CancelDiscardAndALateReply) {
  test::SimHarness harness;
  auto config = sim::SimConfig::ForModel(5);
  config.faults.delayMs = 300;
  ASSERT_NE(harness.Start(SimTransport::kUsbTwoPipe, config), nullptr);
  CUsbDeviceVista device;
  ASSERT_TRUE(device.Open(-1));

  ASSERT_TRUE(Send(device, Command("GD")));
  auto start = Clock::now();
  {
    test::RepeatedCancel canceller(device);
    EXPECT_EQ(Receive(device, 9, 10'000), "");
  }
  EXPECT_LT(MsSince(start), 250);  // long before the reply

  // The late reply arrives after its read gave up; discarding it keeps it
  // from passing for the answer to the next command.
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  device.DiscardInput();
  ASSERT_TRUE(Send(device, Command("GV")));
  EXPECT_EQ(Receive(device, 9).substr(0, 3), "[V,");
}

TEST(CUsbDevice, HangUpEndsReadsAtOnce) {
  for (const auto transport : {SimTransport::kUsbTwoPipe, SimTransport::kUsbSingleHandle}) {
    test::SimHarness harness;
    auto config = sim::SimConfig::ForModel(5);
    config.faults.hangUpAfter = 1;
    ASSERT_NE(harness.Start(transport, config), nullptr);
    auto device = OpenInner(transport);
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(Send(*device, Command("GD")));
    EXPECT_EQ(Receive(*device, 9).size(), 9u);
    const auto start = Clock::now();
    Send(*device, Command("GV"));
    EXPECT_EQ(Receive(*device, 9, 10'000), "");
    EXPECT_LT(MsSince(start), 2000);
  }
}

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}

TEST(CUsbDeviceVista, OpensTheLowestPresentIndexThatOpensAndNeedsBothPipes) {
  test::SimHarness harness;
  const auto folder = usb::InterfaceFolder(usb::kTwoPipeInterface);
  auto first = sim::SimConfig::ForModel(5);
  first.serialNumber = 111;
  auto second = first;
  second.serialNumber = 222;
  ASSERT_NE(harness.Start(SimTransport::kUsbTwoPipe, first), nullptr);
  ASSERT_NE(harness.Start(SimTransport::kUsbTwoPipe, second), nullptr);
  // Index 0 is a file, not a device folder: it does not open and is passed over.
  test::WriteFileBytes(folder + "/0-not-a-device", "");
  {
    CUsbDeviceVista device;
    ASSERT_TRUE(device.Open(-1));
    ASSERT_TRUE(Send(device, Command("GS")));
    EXPECT_EQ(static_cast<unsigned char>(Receive(device, 9)[3]), 111);
  }

  // A device whose write pipe is missing, before the others, is not a
  // present sensor (so is the entry a killed sensor leaves): passed over.
  const auto broken = folder + "/00-broken";
  ASSERT_EQ(::mkdir(broken.c_str(), 0700), 0);
  ASSERT_EQ(::mkfifo((broken + "/PIPE01").c_str(), 0600), 0);
  {
    CUsbDeviceVista device;
    ASSERT_TRUE(device.Open(-1));
    ASSERT_TRUE(Send(device, Command("GS")));
    EXPECT_EQ(static_cast<unsigned char>(Receive(device, 9)[3]), 111);
  }

  // Alone, it fails Open, which keeps no read pipe open.
  harness.StopAll();
  CUsbDeviceVista device;
  const int before = OpenDescriptors();
  EXPECT_FALSE(device.Open(-1));
  EXPECT_FALSE(device.HasReadPipe());
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(OpenDescriptors(), before);

  // With PIPE00 there but nobody serving it the open fails at once instead
  // of waiting for a reader.
  ASSERT_EQ(::mkfifo((broken + "/PIPE00").c_str(), 0600), 0);
  EXPECT_FALSE(device.Open(-1));
  // A reader but never a writer on PIPE01: it opens, and a read waits out
  // its time-out like a silent sensor.
  const int reader = ::open((broken + "/PIPE00").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_TRUE(device.Open(-1));
  const auto start = Clock::now();
  EXPECT_EQ(Receive(device, 9, 100), "");
  EXPECT_GE(MsSince(start), 90);
  device.Close();
  ::close(reader);
}

TEST(CUsbDevice, PicksTheDriverAndStartsAfreshAfterAFailedOpen) {
  test::SimHarness harness;
  ::setenv("WATTRIX_USB_DRIVER", "xp", 1);
  CUsbDevice device;
  EXPECT_FALSE(device.Open(-1));  // no sensor yet
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(Send(device, Command("GD")));
  device.CancelPendingIo();  // harmless without an inner device
  auto config = sim::SimConfig::ForModel(9);
  config.serialNumber = 99;
  ASSERT_NE(harness.Start(SimTransport::kUsbSingleHandle, config), nullptr);
  ASSERT_TRUE(device.Open(-1));
  ASSERT_TRUE(Send(device, Command("GS")));
  EXPECT_EQ(static_cast<unsigned char>(Receive(device, 9)[3]), 99);
  device.Close();
  EXPECT_FALSE(device.IsOpen());
  // The single handle is exclusive; after Close it opens again.
  ASSERT_TRUE(device.Open(-1));
  EXPECT_FALSE(CUsbDeviceXP().Open(-1));
  ASSERT_TRUE(Send(device, Command("GD")));
  EXPECT_EQ(static_cast<unsigned char>(Receive(device, 9)[3]), 14);
  device.Close();

  // The default generation is the two-pipe driver.
  ::unsetenv("WATTRIX_USB_DRIVER");
  EXPECT_FALSE(device.Open(-1));
  ASSERT_NE(harness.Start(SimTransport::kUsbTwoPipe, config), nullptr);
  EXPECT_TRUE(device.Open(-1));
}

}  // namespace
}  // namespace wattrix
