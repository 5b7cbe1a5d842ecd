#include "support/SimProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wattrix::test {

SimProcess::SimProcess(const std::string& program, std::vector<std::string> args) {
  int out[2];
  int err[2];
  if (::pipe(out) != 0) return;
  if (::pipe(err) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  m_out = out[0];
  m_err = err[0];
}

SimProcess::~SimProcess() {
  if (m_pid > 0) {
    ::kill(m_pid, SIGKILL);
    Wait();
  }
  if (m_out >= 0) ::close(m_out);
  if (m_err >= 0) ::close(m_err);
}

std::string SimProcess::Drain(int fd, int ms, bool lineOnly) {
  std::string text;
  char buffer[4096];
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, ms) > 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (lineOnly && text.find('\n') != std::string::npos) break;
  }
  return text;
}

int SimProcess::Port(int fallback) {
  const std::string line = FirstLine();
  if (line.rfind("port=", 0) != 0) return fallback;
  try {
    return std::stoi(line.substr(5));
  } catch (...) {
    return fallback;
  }
}

int SimProcess::Stop(int signal) {
  // Once waited for, the id is -1, and kill(-1) would reach every process.
  if (m_pid <= 0) return -1;
  ::kill(m_pid, signal);
  return Wait();
}

int SimProcess::Wait() {
  if (m_pid <= 0) return -1;
  int status = 0;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace wattrix::test
