#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace wattrix::test {

// A program run as a child process with its stdout and stderr on pipes;
// killed when the object goes, if it is still running.
class ChildProcess final {
 public:
  ChildProcess(const std::string& program, std::vector<std::string> args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Everything the program printed on the stream until it closed it or
  // `ms` passed with nothing new; with `lineOnly`, up to the first newline.
  static std::string Drain(int fd, int ms, bool lineOnly);
  std::string FirstLine() { return Drain(m_out, 5000, true); }
  std::string Output() { return Drain(m_out, 5000, false); }
  std::string Errors() { return Drain(m_err, 5000, false); }

  // Sends `signal` and waits; the exit status, -1 when it did not exit.
  int Stop(int signal);
  int Wait();

 private:
  pid_t m_pid = -1;
  int m_out = -1;
  int m_err = -1;
};

}  // namespace wattrix::test
