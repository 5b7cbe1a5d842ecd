#pragma once

#include "sim/SimConfig.h"
#include "sim/SimEndpoint.h"
#include "sim/SimServer.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace wattrix::test {

// Simulated sensors served on real ptys and FIFOs, each on its own thread,
// with the ports and USB folders pointed at a fresh temporary folder while
// the harness lives.
class SimHarness final {
 public:
  SimHarness();
  ~SimHarness();
  SimHarness(const SimHarness&) = delete;
  SimHarness& operator=(const SimHarness&) = delete;

  // Starts one more sensor; its endpoint, or null (test failure) when it
  // could not be set up.
  sim::SimEndpoint* Start(sim::SimTransport transport, const sim::SimConfig& config, int comNumber = 0,
                          sim::SimServer::Options options = {});
  // Stops and removes every sensor.
  void StopAll();

  std::string PortsDir() const { return m_dir.File("ports"); }
  std::string UsbDir() const { return m_dir.File("usb"); }
  const TempDir& Dir() const { return m_dir; }

 private:
  struct Running;
  TempDir m_dir;
  std::string m_oldPorts;
  std::string m_oldUsb;
  bool m_hadPorts = false;
  bool m_hadUsb = false;
  std::vector<std::unique_ptr<Running>> m_running;
};

}  // namespace wattrix::test
