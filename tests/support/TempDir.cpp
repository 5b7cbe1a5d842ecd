#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace wattrix::test {

TempDir::TempDir() {
  const auto base = std::filesystem::temp_directory_path() / "wattrix-test-XXXXXX";
  std::string pattern = base.string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  m_path = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace wattrix::test

#include <csignal>
#include <sys/resource.h>

namespace wattrix::test {

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  m_oldSoft = old.rlim_cur;
  m_oldHard = old.rlim_max;
  m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited{bytes, old.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit old{m_oldSoft, m_oldHard};
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, m_oldHandler);
}

}  // namespace wattrix::test
