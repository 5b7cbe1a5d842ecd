// Exchanges with the simulated sensor over the real transports: the rate of
// single-value exchanges over the two-pipe stand-in, the time of one serial
// exchange, and the processor time a read uses while it waits for a silent
// sensor.
#include "core/vocabulary/SensorModel.h"
#include "core/device/SerialDevice.h"
#include "core/device/UsbDeviceVista.h"
#include "sim/SimEndpoint.h"
#include "sim/SimSensor.h"
#include "sim/SimServer.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <time.h>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace wattrix;

// A simulated sensor served on its own thread, with the ports and USB
// folders in a fresh temporary folder.
class ServedSensor {
 public:
  ServedSensor(sim::SimTransport transport, int modelCode) {
    char pattern[] = "/tmp/wattrix-bench-XXXXXX";
    m_dir = ::mkdtemp(pattern) ? pattern : "/tmp";
    ::setenv("WATTRIX_PORTS_DIR", (m_dir + "/ports").c_str(), 1);
    ::setenv("WATTRIX_USB_DIR", (m_dir + "/usb").c_str(), 1);
    std::string error;
    m_endpoint = sim::SimEndpoint::Create(transport, 0, "bench", error);
    if (!m_endpoint) return;
    m_sensor = std::make_unique<sim::SimSensor>(sim::SimConfig::ForModel(modelCode));
    m_server = std::make_unique<sim::SimServer>(*m_sensor, *m_endpoint);
    m_thread = std::thread([this] { m_server->Run(); });
  }
  ~ServedSensor() {
    if (m_server) {
      m_server->RequestStop();
      m_thread.join();
    }
    m_server.reset();
    m_endpoint.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  bool Ready() const { return m_server != nullptr; }
  int Port() const { return m_endpoint->PortNumber(); }

 private:
  std::string m_dir;
  std::unique_ptr<sim::SimEndpoint> m_endpoint;
  std::unique_ptr<sim::SimSensor> m_sensor;
  std::unique_ptr<sim::SimServer> m_server;
  std::thread m_thread;
};

constexpr std::uint8_t kAverage[] = {'[', 'G', 'A', 0x10, 0x27, 0, 0, ']'};  // 100 MHz

double ProcessCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_TwoPipeSingleValueExchange(benchmark::State& state) {
  ServedSensor sensor(sim::SimTransport::kUsbTwoPipe, model::kPX430A);
  CUsbDeviceVista device;
  if (!sensor.Ready() || !device.Open(-1)) return state.SkipWithError("no simulated sensor");
  std::uint8_t reply[9];
  for (auto _ : state) {
    std::size_t n = 0;
    if (!device.Write(kAverage, sizeof kAverage, &n) || !device.Read(reply, 9, &n, 500) || n != 9) {
      return state.SkipWithError("exchange failed");
    }
    benchmark::DoNotOptimize(reply);
  }
  state.counters["exchanges_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TwoPipeSingleValueExchange)->UseRealTime();

void BM_SerialSingleValueExchange(benchmark::State& state) {
  ServedSensor sensor(sim::SimTransport::kSerial, model::kPX430A);
  CSerialDevice device;
  if (!sensor.Ready() || !device.Open(sensor.Port())) return state.SkipWithError("no simulated sensor");
  std::uint8_t reply[9];
  for (auto _ : state) {
    std::size_t n = 0;
    if (!device.Write(kAverage, sizeof kAverage, &n) || !device.Read(reply, 9, &n, 500)) {
      return state.SkipWithError("exchange failed");
    }
  }
}
BENCHMARK(BM_SerialSingleValueExchange)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 2 s read that no reply ends: how much processor time the wait costs.
template <typename Device>
void SilentRead(benchmark::State& state, sim::SimTransport transport) {
  // The PX420B does not answer [GA], so the read waits out its time-out.
  ServedSensor sensor(transport, model::kPX420B);
  Device device;
  if (!sensor.Ready()) return state.SkipWithError("no simulated sensor");
  const bool open = transport == sim::SimTransport::kSerial ? device.Open(sensor.Port()) : device.Open(-1);
  if (!open) return state.SkipWithError("cannot open");
  double cpu = 0;
  std::uint8_t reply[9];
  for (auto _ : state) {
    state.PauseTiming();
    std::size_t n = 0;
    device.Write(kAverage, sizeof kAverage, &n);
    state.ResumeTiming();
    const double before = ProcessCpuSeconds();
    if (device.Read(reply, 9, &n, 2000)) return state.SkipWithError("the sensor answered");
    cpu += ProcessCpuSeconds() - before;
  }
  state.counters["cpu_ms_per_wait"] = cpu * 1000.0 / static_cast<double>(state.iterations());
}

void BM_SilentReadTwoPipe(benchmark::State& state) {
  SilentRead<CUsbDeviceVista>(state, sim::SimTransport::kUsbTwoPipe);
}
BENCHMARK(BM_SilentReadTwoPipe)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SilentReadSerial(benchmark::State& state) {
  SilentRead<CSerialDevice>(state, sim::SimTransport::kSerial);
}
BENCHMARK(BM_SilentReadSerial)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
