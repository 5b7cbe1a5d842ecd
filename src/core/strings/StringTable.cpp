#include "core/strings/StringTable.h"

#include "core/platform/HostPaths.h"
#include "core/platform/IniFile.h"
#include "core/platform/MessageBoxes.h"

#include <sys/stat.h>
#include <mutex>

namespace wattrix::strings {

namespace {

// The parsed table, re-read when the file on disk changes.
struct Table {
  std::mutex mutex;
  std::string path;
  IniFile file;
  bool loaded = false;
  timespec mtime{};
  off_t size = -1;
};

Table& TheTable() {
  static Table table;
  return table;
}

void RefreshLocked(Table& t) {
  struct stat st {};
  const bool exists = !t.path.empty() && ::stat(t.path.c_str(), &st) == 0;
  const off_t size = exists ? st.st_size : -1;
  const timespec mtime = exists ? st.st_mtim : timespec{};
  if (t.loaded && size == t.size && mtime.tv_sec == t.mtime.tv_sec && mtime.tv_nsec == t.mtime.tv_nsec)
    return;
  t.file = exists ? IniFile::Load(t.path) : IniFile{};
  t.size = size;
  t.mtime = mtime;
  t.loaded = true;
}

}  // namespace

void InitStringTablePath() { SetStringTablePath(HostPaths::DataFile(kFileName)); }

void SetStringTablePath(const std::string& path) {
  auto& t = TheTable();
  std::lock_guard lock(t.mutex);
  t.path = path;
  t.loaded = false;
}

std::string StringTablePath() {
  auto& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.path;
}

std::string GetText(std::string_view section, std::string_view key) {
  auto& t = TheTable();
  std::lock_guard lock(t.mutex);
  RefreshLocked(t);
  auto text = t.file.Find(section, key).value_or(std::string{});
  if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
  return text;
}

std::string GetString(std::string_view key) { return GetText("STRING", key); }

std::string GetMenuText(std::string_view key) { return GetText("MENU", key); }

int MessageBoxText(void* owner, const std::string& text, unsigned type) {
  if (text.empty()) return -1;
  return CurrentMessageBoxes().Show(owner, text, kCaption, type);
}

int MessageBoxKey(void* owner, std::string_view key, unsigned type) {
  return MessageBoxText(owner, GetString(key), type);
}

int MessageBoxKeyNoOwner(std::string_view key, unsigned type) { return MessageBoxKey(nullptr, key, type); }

}  // namespace wattrix::strings
