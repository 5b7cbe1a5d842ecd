// Fault injection over the real transports: wattrix-cli against wattrix-sim
// with dropped, corrupted and late replies, a hang-up and a killed sensor.
// The simulated signal has no noise, so every stored value is known: each
// one must be the sensor's value (or, for a corrupted reply, exactly what
// the changed bytes say: a value no check without a checksum can refuse),
// never another request's answer nor a ratio from another cycle.
//
// WATTRIX_FAULT_SOAK=N runs N times as many readings and seeds (a soak).
#include "cli/SensorCliFixture.h"

#include "core/history/HistoryFile.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
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

struct Tally {
  int runs = 0;
  int readings = 0;
  int wrong = 0;
  int changedBytes = 0;  // corrupted replies whose value was still plausible
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
  void StopSims() { m_sims.clear(); }
  static std::string Env(Transport t) {
    return t == Transport::kUsbXp ? "WATTRIX_USB_DRIVER=xp" : "WATTRIX_USB_DRIVER=vista";
  }
  // Serial exchanges cost the sensor's half-second pause each.
  static int Readings(Transport t) { return (t == Transport::kSerial ? 6 : 60) * Soak(); }
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
    for (std::size_t i = 0; i < count; ++i) records.push_back({points[3 * i], points[3 * i + 1], points[3 * i + 2]});
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

  // One measure run under `faults`; checks the exit and every stored value.
  void MeasureRun(Transport t, const std::vector<std::string>& faults, bool corrupting, const Record& expected,
                  Tally& tally) {
    const int port = Start(t, faults);
    const std::string file = m_dir.File("run.psh");
    std::remove(file.c_str());
    const auto result = RunCli("measure --port " + std::to_string(port) + " --mode avgpeak --count " +
                                   std::to_string(Readings(t)) + " --save '" + file + "'",
                               Env(t));
    StopSims();
    ++tally.runs;
    ASSERT_EQ(result.status, 0) << Name(t) << " " << result.err;
    const auto values = Values(result.out);
    ASSERT_EQ(values.count("rejected"), 1u) << result.out;
    tally.rejected += std::stoull(values.at("rejected"));
    for (const auto& r : Records(file)) {
      ++tally.readings;
      for (std::size_t q = 0; q < r.size(); ++q) {
        if (r[q] == expected[q]) continue;
        // VSWR comes from two readings, either of which may carry a
        // changed byte; it must still be a ratio of the same cycle.
        const bool explained =
            corrupting && (q == 1 ? r[q] >= 100 && r[q] <= 200 : OneByteChanged(r[q], expected[q]));
        if (explained) {
          ++tally.changedBytes;
        } else {
          ++tally.wrong;
          ADD_FAILURE() << Name(t) << " quantity " << q << " stored " << r[q] << ", sensor sent " << expected[q];
        }
      }
    }
  }

  void RunFaultKind(const char* kind, const std::vector<std::string>& usbFaults,
                    const std::vector<std::string>& serialFaults, bool corrupting) {
    const Record expected = Reference();
    Tally tally;
    for (const auto t : kTransports) {
      for (const int seed : Seeds()) {
        auto faults = t == Transport::kSerial ? serialFaults : usbFaults;
        faults.insert(faults.end(), {"--seed", std::to_string(seed)});
        MeasureRun(t, faults, corrupting, expected, tally);
        if (HasFatalFailure()) return;
      }
    }
    EXPECT_EQ(tally.wrong, 0);
    std::printf("fault=%s runs=%d readings=%d exchanges~%d wrong=%d changed_bytes_kept=%d rejected=%llu\n", kind,
                tally.runs, tally.readings, tally.readings * 3, tally.wrong, tally.changedBytes, tally.rejected);
  }

  std::string m_model = "PX420A";
};

TEST_F(FaultInjection, DroppedRepliesStoreNothingWrong) {
  RunFaultKind("drop", {"--drop", "0.1"}, {"--drop", "0.1"}, false);
}

TEST_F(FaultInjection, CorruptedRepliesAreRefusedWhenNoSensorCouldSendThem) {
  RunFaultKind("corrupt", {"--corrupt", "0.1"}, {"--corrupt", "0.1"}, true);
}

TEST_F(FaultInjection, LateRepliesWithinTheTimeOutAreTheirOwnRequests) {
  // Serial replies may take the write pause and the time-out together.
  RunFaultKind("late-within", {"--delay", "300", "--delay-share", "0.3"},
               {"--delay", "800", "--delay-share", "0.3"}, false);
}

TEST_F(FaultInjection, RepliesPastTheTimeOutAreNeverTakenForTheNext) {
  RunFaultKind("late-past", {"--delay", "700", "--delay-share", "0.2"},
               {"--delay", "1200", "--delay-share", "0.2"}, false);
}

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
    const auto result = RunCli("measure --port " + std::to_string(port) + " --mode avgpeak --count 1000", Env(t));
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
      // Some exchanges go through before the sensor dies.
      ::usleep(1500 * 1000);
      m_sims.back()->Stop(SIGKILL);
      EXPECT_EQ(cli.Wait(), 1) << Name(t) << " " << command;
      EXPECT_EQ(cli.Errors(), "error: the connection to the sensor was lost\n") << Name(t) << " " << command;
      StopSims();
    }
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
    for (const int seed : Seeds()) {
      const int port = Start(t, {"--corrupt", "0.3", "--seed", std::to_string(seed)});
      const auto result = RunCli("ccdf --port " + std::to_string(port) + " --sweeps " + std::to_string(sweeps), Env(t));
      StopSims();
      ASSERT_EQ(result.status, 0) << Name(t) << " " << result.err;
      auto values = Values(result.out);
      EXPECT_EQ(values["samples"], std::to_string(sweeps * 10000));
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
