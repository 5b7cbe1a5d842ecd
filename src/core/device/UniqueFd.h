#pragma once

#include <sys/types.h>
#include <cstddef>

namespace wattrix {

// Owns one file descriptor and closes it when it goes.
class UniqueFd final {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return m_fd; }
  bool IsValid() const { return m_fd >= 0; }
  int Release();
  void Reset(int fd = -1);

 private:
  int m_fd = -1;
};

// write() that reports a reader gone as EPIPE instead of raising SIGPIPE,
// which would end the whole process (FIFOs raise it; ttys do not). The
// signal is blocked for the calling thread only and a pending one consumed.
ssize_t WriteWithoutSigpipe(int fd, const void* data, std::size_t count);

}  // namespace wattrix
