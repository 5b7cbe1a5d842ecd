#pragma once

#include "core/device/UniqueFd.h"
#include "sim/ReplyFrames.h"

#include <chrono>
#include <deque>

namespace wattrix::sim {

class SimEndpoint;
class SimSensor;

// Serves a simulated sensor on an endpoint until asked to stop: reads the
// host's bytes, feeds the sensor and writes each reply when it is due. A
// host that closes its side and opens it again is served again; when the
// sensor hangs up, the endpoint's line is dropped.
class SimServer final {
 public:
  struct Options {
    // Replies leave at 9600 baud (about 1 ms a byte) instead of at once.
    bool baudPacing = false;
  };

  SimServer(SimSensor& sensor, SimEndpoint& endpoint, Options options);
  SimServer(SimSensor& sensor, SimEndpoint& endpoint) : SimServer(sensor, endpoint, Options{}) {}

  // Serves until RequestStop(). False when the server could not start.
  bool Run();
  // Safe from any thread and from a signal handler.
  void RequestStop();

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    Clock::time_point due;
    Bytes bytes;
    std::size_t sent = 0;
  };

  void TakeInput();
  // Writes what is due; false when the output is full (wait for POLLOUT).
  bool SendDue(Clock::time_point now);
  int PollTimeoutMs(Clock::time_point now) const;

  SimSensor& m_sensor;
  SimEndpoint& m_endpoint;
  Options m_options;
  UniqueFd m_stop;
  std::deque<Pending> m_pending;
  bool m_hostGone = false;  // a pty with nobody on the other side
};

}  // namespace wattrix::sim
