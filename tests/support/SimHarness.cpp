#include "support/SimHarness.h"

#include "sim/SimSensor.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace wattrix::test {

struct SimHarness::Running {
  std::unique_ptr<sim::SimSensor> sensor;
  std::unique_ptr<sim::SimEndpoint> endpoint;
  std::unique_ptr<sim::SimServer> server;
  std::thread thread;
};

namespace {

bool Remember(const char* name, std::string& old) {
  const char* value = std::getenv(name);
  if (value) old = value;
  return value != nullptr;
}

void Restore(const char* name, bool had, const std::string& old) {
  if (had) {
    ::setenv(name, old.c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

}  // namespace

SimHarness::SimHarness() {
  m_hadPorts = Remember("WATTRIX_PORTS_DIR", m_oldPorts);
  m_hadUsb = Remember("WATTRIX_USB_DIR", m_oldUsb);
  ::setenv("WATTRIX_PORTS_DIR", PortsDir().c_str(), 1);
  ::setenv("WATTRIX_USB_DIR", UsbDir().c_str(), 1);
}

SimHarness::~SimHarness() {
  StopAll();
  Restore("WATTRIX_PORTS_DIR", m_hadPorts, m_oldPorts);
  Restore("WATTRIX_USB_DIR", m_hadUsb, m_oldUsb);
}

sim::SimEndpoint* SimHarness::Start(sim::SimTransport transport, const sim::SimConfig& config, int comNumber,
                                    sim::SimServer::Options options) {
  auto running = std::make_unique<Running>();
  std::string error;
  running->endpoint = sim::SimEndpoint::Create(transport, comNumber, "Test sensor", error);
  if (!running->endpoint) {
    ADD_FAILURE() << "cannot start the simulated sensor: " << error;
    return nullptr;
  }
  running->sensor = std::make_unique<sim::SimSensor>(config);
  running->server = std::make_unique<sim::SimServer>(*running->sensor, *running->endpoint, options);
  auto* server = running->server.get();
  running->thread = std::thread([server] { server->Run(); });
  m_running.push_back(std::move(running));
  return m_running.back()->endpoint.get();
}

void SimHarness::StopAll() {
  for (auto& running : m_running) {
    running->server->RequestStop();
    running->thread.join();
  }
  m_running.clear();
}

}  // namespace wattrix::test
