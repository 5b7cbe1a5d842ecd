#include "core/device/UniqueFd.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

namespace wattrix {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

int UniqueFd::Release() {
  const int fd = m_fd;
  m_fd = -1;
  return fd;
}

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = fd;
}

ssize_t WriteWithoutSigpipe(int fd, const void* data, std::size_t count) {
  sigset_t pipeOnly;
  sigset_t old;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  // Was a SIGPIPE already pending before this write? Then it is not ours to eat.
  sigset_t pending;
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
  const ssize_t n = ::write(fd, data, count);
  const int error = errno;
  if (n < 0 && error == EPIPE && !wasPending) {
    const timespec zero{};
    while (sigtimedwait(&pipeOnly, nullptr, &zero) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  errno = error;
  return n;
}

}  // namespace wattrix
