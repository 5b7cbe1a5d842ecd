// wattrix-sim: a simulated sensor reachable like a real one, on a COM port
// of the ports folder or through the USB stand-in.
#include "sim/SimEndpoint.h"
#include "sim/SimOptions.h"
#include "sim/SimSensor.h"
#include "sim/SimServer.h"

#include <signal.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

wattrix::sim::SimServer* g_server = nullptr;

void OnStopSignal(int) {
  if (g_server) g_server->RequestStop();
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "error: %s\n", message.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace wattrix::sim;
  SimProgramOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fputs(SimUsage().c_str(), stderr);
    return Fail(2, error);
  }
  if (options.help) {
    std::fputs(SimUsage().c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (options.version) {
    std::printf("wattrix-sim %s\n", WATTRIX_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  // Stop signals are held back until the server can take them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  SimSensor sensor(options.config);
  auto endpoint = SimEndpoint::Create(options.transport, options.comNumber, options.description, error);
  if (!endpoint) return Fail(1, error);
  SimServer server(sensor, *endpoint, SimServer::Options{options.baudPacing});
  g_server = &server;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);

  std::printf("port=%d\n", endpoint->PortNumber());
  std::fflush(stdout);
  const bool served = server.Run();
  g_server = nullptr;
  endpoint.reset();  // removes the port or device entry
  return served ? 0 : Fail(1, "serving failed");
}
