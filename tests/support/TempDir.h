#pragma once

#include <string>

namespace wattrix::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir final {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace wattrix::test

namespace wattrix::test {

// Makes writes beyond `bytes` per file fail with EFBIG while it lives, the
// way a full disk fails them (works for root too, unlike read-only folders).
class FileSizeLimit final {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long m_oldSoft;
  unsigned long m_oldHard;
  void (*m_oldHandler)(int);
};

}  // namespace wattrix::test
