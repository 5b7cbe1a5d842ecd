#include "core/platform/IniFile.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <iterator>

namespace wattrix {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view Trim(std::string_view s) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool IsComment(std::string_view trimmed) {
  return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of text: line breaks become blanks.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (auto& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

}  // namespace

std::optional<std::string_view> IniFile::SectionName(std::string_view line) {
  const auto t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.find(']');
  if (close == npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

std::optional<std::pair<std::string_view, std::string_view>> IniFile::KeyValue(std::string_view line) {
  const auto t = Trim(line);
  if (t.empty() || IsComment(t) || t.front() == '[') return std::nullopt;
  const auto eq = t.find('=');
  if (eq == npos) return std::nullopt;
  const auto key = Trim(t.substr(0, eq));
  if (key.empty()) return std::nullopt;
  auto value = Trim(t.substr(eq + 1));
  // A value in matching quotes is read without them.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::make_pair(key, value);
}

int ParseLeadingInt(std::string_view text) {
  auto t = Trim(text);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  long long value = 0;
  for (const char c : t) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    file.m_byteOrderMark = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  if (text.find("\r\n") != npos) file.m_newline = "\r\n";
  file.m_endsWithNewline = text.empty() || text.back() == '\n';
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == npos) end = text.size();
    auto line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    file.m_lines.emplace_back(line);
    start = end + 1;
  }
  return file;
}

IniFile IniFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniFile{};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Parse(text);
}

std::size_t IniFile::FindSection(std::string_view section) const {
  const auto wanted = Trim(section);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const auto name = SectionName(m_lines[i]);
    if (name && EqualNoCase(*name, wanted)) return i;
  }
  return npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const {
  const auto wanted = Trim(key);
  for (std::size_t i = header + 1; i < m_lines.size(); ++i) {
    if (SectionName(m_lines[i])) break;
    const auto kv = KeyValue(m_lines[i]);
    if (kv && EqualNoCase(kv->first, wanted)) return i;
  }
  return npos;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const auto header = FindSection(section);
  if (header == npos) return std::nullopt;
  const auto line = FindKey(header, key);
  if (line == npos) return std::nullopt;
  return std::string(KeyValue(m_lines[line])->second);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key) const {
  auto value = Find(section, key).value_or(std::string{});
  TruncateUtf8(value, kMaxStringLength);
  return value;
}

int IniFile::ReadInt(std::string_view section, std::string_view key) const {
  const auto value = Find(section, key);
  return value ? ParseLeadingInt(*value) : 0;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const auto sectionLine = OneLine(section);
  const auto keyLine = OneLine(key);
  std::string entry = std::string(Trim(keyLine)) + "=" + OneLine(value);
  const auto header = FindSection(sectionLine);
  if (header == npos) {
    // A new section goes after the last line, separated by nothing more
    // than the line break the file already uses.
    m_lines.push_back("[" + std::string(Trim(sectionLine)) + "]");
    m_lines.push_back(std::move(entry));
    m_endsWithNewline = true;
    return;
  }
  const auto existing = FindKey(header, keyLine);
  if (existing != npos) {
    m_lines[existing] = std::move(entry);
    return;
  }
  // Append after the last non-blank line of the section.
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < m_lines.size() && !SectionName(m_lines[i]); ++i) {
    if (!Trim(m_lines[i]).empty()) insertAt = i + 1;
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

std::string IniFile::Text() const {
  std::string out(m_byteOrderMark ? kByteOrderMark : std::string_view{});
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    out += m_lines[i];
    if (i + 1 < m_lines.size() || m_endsWithNewline) out += m_newline;
  }
  return out;
}

bool IniFile::Save(const std::string& path) const { return WriteFileAtomically(path, Text()); }

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key) {
  return IniFile::Load(path).ReadString(section, key);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key) {
  return IniFile::Load(path).ReadInt(section, key);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  auto file = IniFile::Load(path);
  file.Write(section, key, value);
  return file.Save(path);
}

}  // namespace wattrix
