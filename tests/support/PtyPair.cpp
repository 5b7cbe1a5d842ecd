#include "support/PtyPair.h"

#include "core/device/FdTransfer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>
#include <climits>

namespace wattrix::test {

PtyPair PtyPair::Open() {
  PtyPair pty;
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  char name[PATH_MAX];
  if (!master.IsValid() || ::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0 ||
      ::ptsname_r(master.Get(), name, sizeof name) != 0) {
    return pty;
  }
  fdio::MakeRaw(master.Get());
  pty.master = std::move(master);
  pty.path = name;
  return pty;
}

bool PtyPair::Send(const std::string& bytes) const {
  return ::write(master.Get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::string PtyPair::Receive(int waitMs) const {
  std::string out;
  pollfd fd{master.Get(), POLLIN, 0};
  if (::poll(&fd, 1, waitMs) <= 0) return out;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::read(master.Get(), buffer, sizeof buffer)) > 0)
    out.append(buffer, static_cast<std::size_t>(n));
  return out;
}

}  // namespace wattrix::test
