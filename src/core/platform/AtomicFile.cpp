#include "core/platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
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

// The file a save really writes: a symbolic link is followed to the file
// it names (which need not exist yet), so that the link stays a link.
std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
    if (n <= 0) return current;
    target[n] = '\0';
    current = target[0] == '/' ? std::string(target) : DirectoryOf(current) + "/" + target;
  }
  return current;  // a loop: the open below fails on it
}

// A file that exists without any write permission is not replaced, not
// even by a user (root) whom the system would let write it.
bool ReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// An unnamed file in the target's folder: it only gets a name once it is
// complete, so a save that is killed leaves nothing behind. -1 where the
// file system does not offer it.
int CreateUnnamed(const std::string& path) {
  const int fd = ::open(DirectoryOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  return fd;
}

// Gives an unnamed file a temporary name beside the target (linkat cannot
// replace a name, so the rename that follows does).
bool NameUnnamed(int fd, const std::string& path, std::string& tempPath) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 64; ++attempt) {
    tempPath = TemporaryName(path);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) break;
  }
  tempPath.clear();
  return false;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)) {}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open() {
  Abandon();
  m_failed = false;
  m_target = ResolveLinks(m_path);
  if (ReadOnly(m_target)) {
    errno = EACCES;
    return false;
  }
  m_fd = CreateUnnamed(m_target);
  m_unnamed = m_fd >= 0;
  // Where unnamed files are not offered: a named temporary file, removed
  // again on every way out but a killed process.
  if (!m_unnamed) m_fd = CreateTemporary(m_target, m_tempPath);
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
  // The target may have become read-only since Open.
  ok = ok && !ReadOnly(m_target);
  if (ok && m_unnamed) ok = NameUnnamed(m_fd, m_target, m_tempPath);
  ok = (::close(m_fd) == 0) && ok;
  m_fd = -1;
  if (ok) ok = ::rename(m_tempPath.c_str(), m_target.c_str()) == 0;
  if (ok) SyncDirectory(m_target);
  if (!ok && !m_tempPath.empty()) ::unlink(m_tempPath.c_str());
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
