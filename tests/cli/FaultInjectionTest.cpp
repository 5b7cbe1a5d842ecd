// Fault injection over the real transports: wattrix-cli against wattrix-sim
// with dropped, corrupted and late replies, a hang-up and a killed sensor.
// The simulated signal has no noise, so every stored value is known: each
// one must be the sensor's value (or, for a corrupted reply, exactly what
// the changed bytes say: a value no check without a checksum can refuse),
// never another request's answer nor a ratio from another cycle.
//
// WATTRIX_FAULT_SOAK=N runs N times as many readings and seeds (a soak).
#include "cli/SensorCliFixture.h"

#include "core/device/ReadingPlausibility.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/history/HistoryFile.h"
#include "core/measure/ReadingMath.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace wattrix::test {
namespace {

enum class Transport { kSerial, kUsbXp, kUsbVista };
constexpr std::array<Transport, 3> kTransports{Transport::kSerial, Transport::kUsbXp, Transport::kUsbVista};

const char* Name(Transport t) {
  return t == Transport::kSerial ? "serial" : (t == Transport::kUsbXp ? "usb-xp" : "usb-vista");
}

int Soak() {
  const char* text = std::getenv("WATTRIX_FAULT_SOAK");
  const int n = text ? std::atoi(text) : 1;
  return n > 1 ? n : 1;
}

// One record of an avgpeak run of a PX420A: AVG, VSWR, PEAK in 0.01 units.
using Record = std::array<std::int32_t, 3>;

// True when `value` differs from `expected` in exactly one byte: a reply
// with one changed value byte that still lies within what a sensor sends.
bool OneByteChanged(std::int32_t value, std::int32_t expected) {
  const auto diff = static_cast<std::uint32_t>(value ^ expected);
  int bytes = 0;
  for (int i = 0; i < 4; ++i) bytes += ((diff >> (8 * i)) & 0xFF) != 0;
  return bytes == 1;
}

// A reading as a history record holds it (0.01 units, rounded half away
// from zero).
std::int32_t Stored(float value) {
  return static_cast<std::int32_t>(value >= 0 ? (value + 0.005) * 100 : (value - 0.005) * 100);
}

// The raw reverse readings (0.01 dBm) that give the reference record's VSWR.
std::vector<std::int32_t> ReverseReadings(const std::array<std::int32_t, 3>& reference) {
  std::vector<std::int32_t> reverse;
  for (std::int32_t r = reference[0] - 6000; r <= reference[0]; ++r) {
    if (Stored(reading_math::VswrFromReadings(reference[0] / 100.0f, r / 100.0f)) == reference[1])
      reverse.push_back(r);
  }
  return reverse;
}

// Every VSWR a cycle gives when one of its two replies (average or reverse)
// had one changed, still plausible byte: a ratio of the same cycle, from a
// value no check without a checksum can refuse. (Records pair readings by
// index, so the record's own average need not be the cycle's.)
std::set<std::int32_t> VswrFromOneChangedReply(std::int32_t average,
                                               const std::vector<std::int32_t>& reverse) {
  std::set<std::int32_t> vswr;
  const auto flips = [](std::int32_t sent, auto&& use) {
    for (int shift = 0; shift < 32; shift += 8) {
      for (std::uint32_t flip = 1; flip < 256; ++flip) {
        const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(sent) ^ (flip << shift));
        if (protocol::PlausiblePower(value)) use(value);
      }
    }
  };
  for (const std::int32_t sent : reverse) {
    flips(sent, [&](std::int32_t r) {
      vswr.insert(Stored(reading_math::VswrFromReadings(average / 100.0f, r / 100.0f)));
    });
    flips(average, [&](std::int32_t a) {
      vswr.insert(Stored(reading_math::VswrFromReadings(a / 100.0f, sent / 100.0f)));
    });
  }
  return vswr;
}

struct Tally {
  int runs = 0;
  int readings = 0;
  int wrong = 0;
  int changedBytes = 0;  // corrupted replies whose value was still plausible
  int connectFailures = 0;
  unsigned long long rejected = 0;
};

class FaultInjection : public SensorCliFixture {
 protected:
  void TearDown() override {
    ::unsetenv("WATTRIX_USB_DRIVER");
    SensorCliFixture::TearDown();
  }

  int Start(Transport t, std::vector<std::string> faults) {
    std::vector<std::string> args{"--model", m_model, "--transport", Name(t), "--noise", "0"};
    args.insert(args.end(), faults.begin(), faults.end());
    return StartSim(args);
  }
  // Ended as a user ends them, so that their entries go with them.
  void StopSims() {
    for (auto& sim : m_sims) sim->Stop(SIGTERM);
    m_sims.clear();
  }
  static std::string Env(Transport t) {
    return t == Transport::kUsbXp ? "WATTRIX_USB_DRIVER=xp" : "WATTRIX_USB_DRIVER=vista";
  }
  // Serial exchanges cost the sensor's half-second pause each.
  static int Readings(Transport t) { return (t == Transport::kSerial ? 8 : 40) * Soak(); }
  static std::vector<int> Seeds() {
    std::vector<int> seeds;
    for (int i = 0; i < 2 * Soak(); ++i) seeds.push_back(3 + 4 * i);
    return seeds;
  }

  // The records of a saved run.
  std::vector<Record> Records(const std::string& path) {
    HistoryHeader header;
    std::vector<std::int32_t> points;
    std::size_t count = 0;
    std::vector<Record> records;
    if (!ReadHistoryFile(path, header, points, count) || points.size() != count * 3) {
      ADD_FAILURE() << "cannot read " << path;
      return records;
    }
    for (std::size_t i = 0; i < count; ++i)
      records.push_back({points[3 * i], points[3 * i + 1], points[3 * i + 2]});
    return records;
  }

  // The values of a clean run: the sensor's signal.
  Record Reference() {
    const int port = Start(Transport::kUsbVista, {});
    const auto result = Cli("measure --port " + std::to_string(port) + " --mode avgpeak --count 3 --save '" +
                            m_dir.File("clean.psh") + "'");
    StopSims();
    EXPECT_EQ(result.status, 0) << result.err;
    const auto records = Records(m_dir.File("clean.psh"));
    if (records.empty()) return {};
    for (const auto& r : records) EXPECT_EQ(r, records.front());
    EXPECT_EQ(Values(result.out)["rejected"], "0");
    return records.front();
  }

  // One measure run under `faults` (and a seed); checks the exit and every
  // stored value. Identification has no second try, so a lost or changed
  // identification reply ends a run at connect (its documented exit); the
  // run is then made again with the next seed.
  void MeasureRun(Transport t, const std::vector<std::string>& faults, int seed, bool corrupting,
                  const Record& expected, Tally& tally) {
    const std::string file = m_dir.File("run.psh");
    CliResult result;
    for (int attempt = 0; attempt < 20; ++attempt, seed += 1000) {
      auto args = faults;
      args.insert(args.end(), {"--seed", std::to_string(seed)});
      const int port = Start(t, args);
      std::remove(file.c_str());
      result = RunCli("measure --port " + std::to_string(port) + " --mode avgpeak --count " +
                          std::to_string(Readings(t)) + " --save '" + file + "'",
                      Env(t));
      StopSims();
      if (result.status != 1 || result.err.rfind("error: connect failed (-3)", 0) != 0) break;
      ++tally.connectFailures;
    }
    ++tally.runs;
    ASSERT_EQ(result.status, 0) << Name(t) << " " << result.err;
    const auto values = Values(result.out);
    ASSERT_EQ(values.count("rejected"), 1u) << result.out;
    tally.rejected += std::stoull(values.at("rejected"));
    for (const auto& r : Records(file)) {
      ++tally.readings;
      for (std::size_t q = 0; q < r.size(); ++q) {
        if (r[q] == expected[q]) continue;
        const bool explained =
            corrupting && (q == 1 ? m_changedVswr.count(r[q]) > 0 : OneByteChanged(r[q], expected[q]));
        if (explained) {
          ++tally.changedBytes;
        } else {
          ++tally.wrong;
          ADD_FAILURE() << Name(t) << " quantity " << q << " stored " << r[q] << ", sensor sent "
                        << expected[q];
        }
      }
    }
  }

  // Runs of one fault kind over one transport, with several seeds.
  void RunFaultKind(Transport t, const char* kind, const std::vector<std::string>& usbFaults,
                    const std::vector<std::string>& serialFaults, bool corrupting) {
    const Record expected = Reference();
    const auto reverse = ReverseReadings(expected);
    ASSERT_FALSE(reverse.empty());
    m_changedVswr = VswrFromOneChangedReply(expected[0], reverse);
    Tally tally;
    for (const int seed : Seeds()) {
      MeasureRun(t, t == Transport::kSerial ? serialFaults : usbFaults, seed, corrupting, expected, tally);
      if (HasFatalFailure()) return;
    }
    EXPECT_EQ(tally.wrong, 0);
    std::printf(
        "fault=%s transport=%s runs=%d connect_failures=%d readings=%d exchanges~%d wrong=%d "
        "changed_bytes_kept=%d rejected=%llu\n",
        kind, Name(t), tally.runs, tally.connectFailures, tally.readings, tally.readings * 3, tally.wrong,
        tally.changedBytes, tally.rejected);
  }

  std::string m_model = "PX420A";
  std::set<std::int32_t> m_changedVswr;  // see VswrFromOneChangedReply
};

// The fault kinds, each over every transport as a test of its own.
class FaultKinds : public FaultInjection, public ::testing::WithParamInterface<Transport> {};

TEST_P(FaultKinds, DroppedRepliesStoreNothingWrong) {
  RunFaultKind(GetParam(), "drop", {"--drop", "0.1"}, {"--drop", "0.1"}, false);
}

TEST_P(FaultKinds, CorruptedRepliesAreRefusedWhenNoSensorCouldSendThem) {
  RunFaultKind(GetParam(), "corrupt", {"--corrupt", "0.1"}, {"--corrupt", "0.1"}, true);
}

TEST_P(FaultKinds, LateRepliesWithinTheTimeOutAreTheirOwnRequests) {
  // Serial replies may take the write pause and the time-out together.
  RunFaultKind(GetParam(), "late-within", {"--delay", "300", "--delay-share", "0.3"},
               {"--delay", "800", "--delay-share", "0.3"}, false);
}

TEST_P(FaultKinds, RepliesPastTheTimeOutAreNeverTakenForTheNext) {
  RunFaultKind(GetParam(), "late-past", {"--delay", "700", "--delay-share", "0.2"},
               {"--delay", "1200", "--delay-share", "0.2"}, false);
}

std::string TestName(const ::testing::TestParamInfo<Transport>& transport) {
  switch (transport.param) {
    case Transport::kSerial:
      return "Serial";
    case Transport::kUsbXp:
      return "UsbXp";
    default:
      return "UsbVista";
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, FaultKinds, ::testing::ValuesIn(kTransports), TestName);

TEST_F(FaultInjection, ASensorThatAlwaysAnswersLateStoresNothing) {
  // Every reply misses its time-out: the run gives up with nothing stored.
  const int port = Start(Transport::kUsbVista, {"--delay", "700"});
  const auto result = Cli("measure --port " + std::to_string(port) + " --mode avgpeak --count 3");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("error: the sensor delivered no reading"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
}

TEST_F(FaultInjection, AHangUpEndsTheRunAtOnce) {
  for (const auto t : kTransports) {
    const int port = Start(t, {"--hang-up-after", "20"});
    const auto result =
        RunCli("measure --port " + std::to_string(port) + " --mode avgpeak --count 1000", Env(t));
    StopSims();
    EXPECT_EQ(result.status, 1) << Name(t);
    EXPECT_EQ(result.err, "error: the connection to the sensor was lost\n") << Name(t);
  }
}

TEST_F(FaultInjection, AKilledSensorEndsMeasureAndCcdf) {
  m_model = "PX420B";
  for (const auto t : kTransports) {
    for (const char* command : {"measure", "ccdf"}) {
      const int port = Start(t, {});
      ::setenv("WATTRIX_USB_DRIVER", t == Transport::kUsbXp ? "xp" : "vista", 1);
      std::vector<std::string> args{command, "--port", std::to_string(port)};
      if (std::string(command) == "measure") {
        args.insert(args.end(), {"--mode", "avgpeak", "--count", "100000"});
      } else {
        args.insert(args.end(), {"--sweeps", "1000000"});
      }
      SimProcess cli(WATTRIX_CLI_PATH, args);
      // Some exchanges go through before the sensor dies (over serial the
      // identification and start commands take their half-second pauses).
      ::usleep((t == Transport::kSerial ? 5000 : 1500) * 1000);
      m_sims.back()->Stop(SIGKILL);
      EXPECT_EQ(cli.Wait(), 1) << Name(t) << " " << command;
      EXPECT_EQ(cli.Errors(), "error: the connection to the sensor was lost\n") << Name(t) << " " << command;
      StopSims();
    }
  }
}

TEST_F(FaultInjection, TheSameSensorBackOnItsPortConnectsAgain) {
  SensorLink link;
  for (const auto t : kTransports) {
    ::setenv("WATTRIX_USB_DRIVER", t == Transport::kUsbXp ? "xp" : "vista", 1);
    const std::vector<std::string> com{"--com", "17"};
    const int port = Start(t, t == Transport::kSerial ? com : std::vector<std::string>{});
    ASSERT_EQ(link.Connect(port), 0) << Name(t);
    std::atomic<int> announced{0};
    link.SetLineLostHandler([&] { ++announced; });
    m_sims.back()->Stop(SIGKILL);
    // The next exchange finds the line gone.
    for (int i = 0; i < 100 && !link.LineLost(); ++i) {
      link.RequestMeasurement({RequestKind::Average, 240000, 500, 0}, nullptr);
      ::usleep(20 * 1000);
    }
    EXPECT_TRUE(link.LineLost()) << Name(t);
    EXPECT_FALSE(link.IsConnected()) << Name(t);
    EXPECT_FALSE(link.RequestMeasurement({RequestKind::Average, 240000, 500, 0}, nullptr));
    StopSims();
    EXPECT_EQ(Start(t, t == Transport::kSerial ? com : std::vector<std::string>{}), port) << Name(t);
    EXPECT_EQ(link.Connect(port), 0) << Name(t);
    EXPECT_FALSE(link.LineLost());
    EXPECT_EQ(link.DeviceCode(), 4) << Name(t);
    link.SetLineLostHandler({});
    EXPECT_EQ(announced.load(), 1) << Name(t);
    link.Disconnect();
    StopSims();
  }
}

TEST_F(FaultInjection, CcdfSweepsWithChangedCountsAreDiscarded) {
  m_model = "PX420B";
  const int sweeps = 10 * Soak();
  const int clean = Start(Transport::kUsbVista, {});
  const auto reference = Values(Cli("ccdf --port " + std::to_string(clean) + " --sweeps 20").out);
  StopSims();
  ASSERT_EQ(reference.count("average_power"), 1u);
  for (const auto t : {Transport::kUsbXp, Transport::kUsbVista}) {
    for (int seed : Seeds()) {
      CliResult result;
      // A changed identification reply ends a run at connect: next seed.
      for (int attempt = 0; attempt < 20; ++attempt, seed += 1000) {
        const int port = Start(t, {"--corrupt", "0.2", "--seed", std::to_string(seed)});
        result =
            RunCli("ccdf --port " + std::to_string(port) + " --sweeps " + std::to_string(sweeps), Env(t));
        StopSims();
        // A changed byte in the version reply that still reads as a
        // version picks another block length: every sweep is then refused
        // and the run ends on its documented stall. Next seed, too.
        if (result.err.rfind("error: connect failed (-3)", 0) != 0 &&
            result.err.rfind("error: no CCDF sweep from the sensor within", 0) != 0)
          break;
      }
      ASSERT_EQ(result.status, 0) << Name(t) << " " << result.err;
      auto values = Values(result.out);
      EXPECT_EQ(values["samples"], std::to_string(sweeps * 10000));
      EXPECT_EQ(values.count("rejected"), 1u) << result.out;
      // Sweeps of one signal agree closely; a changed count moves the
      // average far more.
      EXPECT_NEAR(std::stod(values["average_power"]), std::stod(reference.at("average_power")), 0.1);
      std::printf("fault=ccdf-corrupt transport=%s seed=%d sweeps=%d rejected=%s\n", Name(t), seed, sweeps,
                  values["rejected"].c_str());
    }
  }
}

}  // namespace
}  // namespace wattrix::test
