#include "core/platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace wattrix {

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A fresh name for the temporary file; uniqueness is finally settled by
// O_EXCL, the name only has to make clashes rare.
std::string TemporaryName(const std::string& path) {
  static std::atomic<std::uint64_t> counter{0};
  const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t tag =
      ticks ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull) ^ (static_cast<std::uint64_t>(::getpid()) << 40);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(tag));
  return DirectoryOf(path) + "/." + BaseNameOf(path) + "." + hex + ".tmp";
}

// Creates the temporary file. The mode 0666 lets the kernel apply the
// process umask, so a new file gets the permissions a plain creat() would
// give it (reading the umask with umask() would briefly change it for every
// thread); a replaced file keeps its own permissions.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    tempPath = TemporaryName(path);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      struct stat st {};
      if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  tempPath.clear();
  return -1;
}

// Makes the rename itself survive a power cut.
void SyncDirectory(const std::string& path) {
  const int fd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)) {}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open() {
  Abandon();
  m_failed = false;
  m_fd = CreateTemporary(m_path, m_tempPath);
  return m_fd >= 0;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
  if (m_fd < 0 || m_failed) return false;
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(m_fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_failed = true;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::Commit() {
  if (m_fd < 0) return false;
  bool ok = !m_failed && ::fsync(m_fd) == 0;
  ok = (::close(m_fd) == 0) && ok;
  m_fd = -1;
  if (ok) ok = ::rename(m_tempPath.c_str(), m_path.c_str()) == 0;
  if (ok) SyncDirectory(m_path);
  if (!ok) ::unlink(m_tempPath.c_str());
  m_tempPath.clear();
  return ok;
}

void AtomicFile::Abandon() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_tempPath.empty()) {
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
  }
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  AtomicFile file(path);
  return file.Open() && file.Write(bytes) && file.Commit();
}

}  // namespace wattrix
