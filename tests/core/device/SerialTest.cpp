#include "core/device/Serial.h"
#include "core/device/SerialDevice.h"
#include "support/PtyPair.h"
#include "support/RepeatedCancel.h"
#include "support/SimHarness.h"

#include <gtest/gtest.h>

#include <termios.h>
#include <unistd.h>
#include <chrono>
#include <thread>

namespace wattrix {
namespace {

using test::PtyPair;
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(CSerial, OpenTwiceSharingSettingsAndClosedPort) {
  const auto pty = PtyPair::Open();
  ASSERT_TRUE(pty.master.IsValid());
  CSerial serial;
  char byte = 0;
  EXPECT_EQ(serial.Read(&byte, 1), serial_error::kInvalidHandle);
  EXPECT_EQ(serial.Setup(9600, 8, CSerial::kParityNone, CSerial::kStopOne), serial_error::kInvalidHandle);
  EXPECT_EQ(serial.Close(), serial_error::kSuccess);  // closing a closed port is no error

  ASSERT_EQ(serial.Open(pty.path, 0, 0, true), serial_error::kSuccess);
  EXPECT_EQ(serial.GetEventMask(), 193u);
  EXPECT_EQ(serial.Open(pty.path, 0, 0, true), serial_error::kAlreadyInitialized);
  CSerial other;
  EXPECT_EQ(other.Open(pty.path), EBUSY);  // no sharing
  EXPECT_FALSE(other.IsOpen());

  // The first handle is untouched by the refused opens.
  ASSERT_EQ(serial.Setup(9600, 8, CSerial::kParityNone, CSerial::kStopOne), serial_error::kSuccess);
  EXPECT_EQ(serial.GetBaudRate(), 9600);
  EXPECT_EQ(serial.GetDataBits(), 8);
  EXPECT_EQ(serial.GetParity(), CSerial::kParityNone);
  EXPECT_EQ(serial.GetStopBits(), CSerial::kStopOne);
  ASSERT_TRUE(pty.Send("ok"));
  char two[2] = {};
  std::size_t got = 0;
  EXPECT_EQ(serial.SetupReadTimeouts(CSerial::kReadBlocking), serial_error::kSuccess);
  EXPECT_EQ(serial.Read(two, 2, &got, 1000), serial_error::kSuccess);
  EXPECT_EQ(std::string(two, got), "ok");

  EXPECT_EQ(serial.Setup(12345, 8, CSerial::kParityNone, CSerial::kStopOne), serial_error::kInvalidParameter);
  EXPECT_EQ(serial.Setup(9600, 8, CSerial::kParityNone, CSerial::kStopOneAndHalf),
            serial_error::kInvalidParameter);
  EXPECT_EQ(serial.GetBaudRate(), 9600);
  EXPECT_EQ(serial.SetupReadTimeouts(2), serial_error::kInvalidArgument);

  // After Close the port can be opened again, by anyone.
  serial.Close();
  EXPECT_EQ(other.Open(pty.path), serial_error::kSuccess);
}

TEST(CSerial, HandshakingAndWaitsOnAPortNotOpenedOverlapped) {
  const auto pty = PtyPair::Open();
  CSerial serial;
  ASSERT_EQ(serial.Open(pty.path, 0, 0, false), serial_error::kSuccess);
  EXPECT_EQ(serial.SetupHandshaking(CSerial::kHandshakeSoftware), serial_error::kSuccess);
  EXPECT_EQ(serial.GetHandshaking(), CSerial::kHandshakeSoftware);
  termios before{};
  ASSERT_EQ(::tcgetattr(pty.master.Get(), &before), 0);
  EXPECT_EQ(serial.SetupHandshaking(3), serial_error::kInvalidArgument);
  EXPECT_EQ(serial.GetLastError(), serial_error::kInvalidArgument);
  termios after{};
  ASSERT_EQ(::tcgetattr(pty.master.Get(), &after), 0);
  EXPECT_EQ(serial.GetHandshaking(), CSerial::kHandshakeSoftware);
  EXPECT_EQ(before.c_iflag, after.c_iflag);
  EXPECT_EQ(before.c_cflag, after.c_cflag);
  EXPECT_EQ(serial.SetupHandshaking(CSerial::kHandshakeHardware), serial_error::kSuccess);
  EXPECT_EQ(serial.GetHandshaking(), CSerial::kHandshakeHardware);

  // A finite time-out needs a port opened for overlapped use.
  char byte = 0;
  EXPECT_EQ(serial.Read(&byte, 1, nullptr, 100), serial_error::kInvalidFunction);
  EXPECT_EQ(serial.WaitEvent(100), serial_error::kInvalidFunction);
  EXPECT_EQ(serial.Write("x", 1, nullptr, 100), serial_error::kInvalidFunction);
  EXPECT_EQ(serial.Write("x", 1, nullptr, -1), serial_error::kSuccess);
  EXPECT_EQ(pty.Receive(1000), "x");
}

TEST(CSerial, WaitEventReportsInputAndTimesOut) {
  const auto pty = PtyPair::Open();
  CSerial serial;
  ASSERT_EQ(serial.Open(pty.path, 0, 0, true), serial_error::kSuccess);
  EXPECT_EQ(serial.WaitEvent(30), serial_error::kTimeout);
  ASSERT_TRUE(pty.Send("["));
  EXPECT_EQ(serial.WaitEvent(1000), serial_error::kSuccess);
  EXPECT_EQ(serial.GetReceivedEvents(), CSerial::kEvRxChar);
  // Non-blocking reads (the default) take what is there and return at once.
  char buffer[9] = {};
  std::size_t got = 0;
  EXPECT_EQ(serial.Read(buffer, sizeof buffer, &got, 5000), serial_error::kSuccess);
  EXPECT_EQ(got, 1u);
}

TEST(CSerialDevice, ReadsWholeRepliesFromPiecesAndKeepsTheCountOnTimeOut) {
  const auto pty = PtyPair::Open();
  CSerialDevice device;
  ASSERT_TRUE(device.OpenPath(pty.path));
  EXPECT_EQ(device.Port().GetBaudRate(), 9600);

  std::thread sender([&] {
    for (const auto& piece :
         {std::string("[P,"), std::string("\x10\x27"), std::string(2, '\0'), std::string("]\r")}) {
      pty.Send(piece);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  EXPECT_TRUE(device.Read(reply, 9, &received, 2000));
  sender.join();
  EXPECT_EQ(received, 9u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 9), std::string("[P,\x10\x27\0\0]\r", 9));

  // Five of nine bytes in time: false, and the out count stays as it was.
  ASSERT_TRUE(pty.Send("[P,\x01\x02"));
  received = 77;
  const auto start = Clock::now();
  EXPECT_FALSE(device.Read(reply, 9, &received, 150));
  EXPECT_GE(MsSince(start), 140);
  EXPECT_EQ(received, 77u);
}

TEST(CSerialDevice, DiscardInputDropsALateReply) {
  const auto pty = PtyPair::Open();
  CSerialDevice device;
  ASSERT_TRUE(device.OpenPath(pty.path));
  ASSERT_TRUE(pty.Send("[T,]\r"));  // an acknowledge nobody waited for
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  device.DiscardInput();
  ASSERT_TRUE(pty.Send(std::string("[D,\x0a\0\0\0]\r", 9)));
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  ASSERT_TRUE(device.Read(reply, 9, &received, 1000));
  EXPECT_EQ(reply[1], 'D');
}

TEST(CSerialDevice, CancelEndsAWaitingReadAndTheWritePauseAtOnce) {
  const auto pty = PtyPair::Open();
  CSerialDevice device;
  ASSERT_TRUE(device.OpenPath(pty.path));
  std::uint8_t reply[9] = {};
  std::size_t received = 0;

  auto start = Clock::now();
  {
    test::RepeatedCancel canceller(device);
    EXPECT_FALSE(device.Read(reply, 9, &received, 10'000));
  }
  EXPECT_LT(MsSince(start), 2000);

  // The cancel was for that read only: the next one waits normally.
  ASSERT_TRUE(pty.Send("[T,]\r"));
  EXPECT_TRUE(device.Read(reply, 5, &received, 1000));

  start = Clock::now();
  std::size_t written = 0;
  {
    test::RepeatedCancel canceller(device);
    EXPECT_FALSE(device.Write(reinterpret_cast<const std::uint8_t*>("[GD]"), 4, &written));
  }
  EXPECT_EQ(written, 4u);
  EXPECT_LT(MsSince(start), CSerialDevice::kWritePauseMs);
  EXPECT_EQ(pty.Receive(1000), "[GD]");
}

TEST(CSerialDevice, HangUpEndsTheReadAtOnce) {
  auto pty = PtyPair::Open();
  CSerialDevice device;
  ASSERT_TRUE(device.OpenPath(pty.path));
  std::thread hangUp([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.master.Reset();
  });
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  const auto start = Clock::now();
  EXPECT_FALSE(device.Read(reply, 9, &received, 10'000));
  hangUp.join();
  EXPECT_LT(MsSince(start), 2000);
}

// Whole exchanges with the simulated sensor through the port mapping; each
// write costs the 500 ms pause, so only a few.
TEST(CSerialDevice, ExchangesWithTheSimulatedSensorOnComPortsAboveNine) {
  test::SimHarness harness;
  auto config = sim::SimConfig::ForModel(0);  // PX420A
  config.serialNumber = 4711;
  ASSERT_NE(harness.Start(sim::SimTransport::kSerial, config, 12), nullptr);
  ASSERT_NE(harness.Start(sim::SimTransport::kSerial, sim::SimConfig::ForModel(5), 3), nullptr);

  CSerialDevice device;
  ASSERT_TRUE(device.Open(12));
  EXPECT_FALSE(CSerialDevice().Open(12));  // held by `device`
  std::size_t written = 0;
  const auto start = Clock::now();
  ASSERT_TRUE(device.Write(reinterpret_cast<const std::uint8_t*>("[GS]"), 4, &written));
  EXPECT_GE(MsSince(start), CSerialDevice::kWritePauseMs);
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  ASSERT_TRUE(device.Read(reply, 9, &received, 500));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 9), std::string("[S,\x67\x12\0\0]\r", 9));

  // Closing and opening again reaches the same sensor.
  device.Close();
  ASSERT_TRUE(device.Open(12));
  const std::uint8_t average[] = {'[', 'G', 'A', 0x10, 0x27, 0, 0, ']'};
  ASSERT_TRUE(device.Write(average, sizeof average, &written));
  ASSERT_TRUE(device.Read(reply, 9, &received, 500));
  EXPECT_EQ(reply[1], 'P');

  CSerialDevice px420b;
  ASSERT_TRUE(px420b.Open(3));
  ASSERT_TRUE(px420b.Write(reinterpret_cast<const std::uint8_t*>("[GD]"), 4, &written));
  ASSERT_TRUE(px420b.Read(reply, 9, &received, 500));
  EXPECT_EQ(reply[3], 10);                  // the PX420B's device code
  EXPECT_FALSE(CSerialDevice().Open(250));  // maps to nothing
  EXPECT_FALSE(CSerialDevice().Open(0));
}

}  // namespace
}  // namespace wattrix
