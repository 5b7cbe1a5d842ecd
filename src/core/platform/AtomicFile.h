#pragma once

#include <cstddef>
#include <string>

namespace wattrix {

// Writes a file so that it is either fully replaced or left as it was: the
// bytes go to an unnamed file in the target's folder (O_TMPFILE; a named
// temporary file where the file system lacks it), which Commit() flushes,
// syncs, names and renames over the target. Without a successful Commit()
// nothing is left behind and the target is untouched; a killed process
// leaves no partial file (with the named fall-back it may). A path that is
// a symbolic link writes the file the link names; a file without write
// permission is not replaced (Open fails).
class AtomicFile final {
 public:
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file; false when the folder cannot take it.
  bool Open();
  bool IsOpen() const { return m_fd >= 0; }
  // Appends bytes; a failed write makes every later call and Commit() fail.
  bool Write(const void* data, std::size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  // Makes the written bytes the content of the target path.
  bool Commit();
  // Drops the temporary file, leaving the target as it was.
  void Abandon();

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  std::string m_target;  // m_path with symbolic links followed
  std::string m_tempPath;
  bool m_unnamed = false;
  int m_fd = -1;
  bool m_failed = false;
};

// Replaces the file at path with the given bytes through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace wattrix
