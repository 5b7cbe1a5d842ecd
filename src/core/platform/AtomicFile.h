#pragma once

#include <cstddef>
#include <string>

namespace wattrix {

// Writes a file so that it is either fully replaced or left as it was: the
// bytes go to a temporary file in the same folder, which Commit() flushes,
// syncs and renames over the target. Without a successful Commit() the
// temporary file is removed and the target is untouched.
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
  std::string m_tempPath;
  int m_fd = -1;
  bool m_failed = false;
};

// Replaces the file at path with the given bytes through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace wattrix
