#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace wattrix::test {

// wattrix-sim (or any program) as a child process with its stdout and
// stderr on pipes; killed when the object goes.
class SimProcess final {
 public:
  SimProcess(const std::string& program, std::vector<std::string> args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Everything the program printed on the stream until it closed it or
  // `ms` passed with nothing new.
  static std::string Drain(int fd, int ms, bool lineOnly);
  std::string FirstLine() { return Drain(m_out, 5000, true); }
  std::string Output() { return Drain(m_out, 5000, false); }
  std::string Errors() { return Drain(m_err, 5000, false); }
  // The port number of the "port=<n>" line a simulated sensor prints when
  // it is ready; `fallback` when the line does not come.
  int Port(int fallback = 0);

  int Stop(int signal);
  int Wait();

 private:
  pid_t m_pid = -1;
  int m_out = -1;
  int m_err = -1;
};

}  // namespace wattrix::test
