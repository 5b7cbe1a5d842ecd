#include "core/strings/StringTable.h"

#include "core/platform/HostPaths.h"
#include "core/platform/IniFile.h"
#include "core/platform/MessageBoxes.h"
#include "core/platform/Utf8.h"

#include <sys/stat.h>
#include <cctype>
#include <mutex>
#include <unordered_map>

namespace wattrix::strings {

namespace {

// Section and key folded to one lower-case lookup key, as the file's names
// compare without regard to case.
std::string FoldKey(std::string_view section, std::string_view key) {
  std::string folded;
  folded.reserve(section.size() + key.size() + 1);
  for (const char c : section) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  folded += '\n';
  for (const char c : key) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The table in memory, re-read when the file on disk changes. Lookups also
// come from the reading path of the live windows, so they are a hash look-up
// rather than a scan of the file.
struct Table {
  std::mutex mutex;
  std::string path;
  std::unordered_map<std::string, std::string> texts;
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
  t.texts.clear();
  if (exists) {
    IniFile::Load(t.path).ForEach(
        [&t](std::string_view section, std::string_view key, std::string_view value) {
          // The first occurrence of a key wins, as in a lookup of the file.
          std::string text(value);
          TruncateUtf8(text, kMaxTextLength);
          t.texts.try_emplace(FoldKey(section, key), std::move(text));
        });
  }
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
  const auto found = t.texts.find(FoldKey(TrimBlanks(section), TrimBlanks(key)));
  return found == t.texts.end() ? std::string() : found->second;
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
