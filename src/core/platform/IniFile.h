#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wattrix {

// An INI text file with the semantics of the private-profile calls: section
// and key names compare without regard to case, values are read to the end
// of their line and trimmed, and writing a key changes only that key's line
// (creating the section when needed) while every other line, comments and
// unknown sections included, stays as it was. A UTF-8 byte-order mark, as
// editors write it, is skipped on reading and kept on writing.
class IniFile final {
 public:
  static constexpr std::size_t kMaxStringLength = 255;

  IniFile() = default;
  // Parses any bytes; lines that are neither sections nor keys are kept as
  // they are and otherwise ignored.
  static IniFile Parse(std::string_view text);
  // Reads the file; a missing or unreadable file gives an empty document.
  static IniFile Load(const std::string& path);

  // The value of the first matching key of the first matching section.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // Value, or empty text, cut to 255 characters (never inside a UTF-8
  // character).
  std::string ReadString(std::string_view section, std::string_view key) const;
  // Leading decimal number of the value; 0 when absent or not a number.
  int ReadInt(std::string_view section, std::string_view key) const;

  // Sets key=value in place, appending the key to its section or a new
  // section at the end of the file when they do not exist yet. Line breaks
  // in the names or the value become blanks, so a value can never add
  // lines of its own to the file.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  // Visits every key line in file order with its section name (as written
  // in the file), key and value.
  template <typename Visitor>
  void ForEach(Visitor&& visit) const {
    std::string_view section;
    for (const auto& line : m_lines) {
      if (const auto name = SectionName(line)) {
        section = *name;
      } else if (const auto kv = KeyValue(line)) {
        visit(section, kv->first, kv->second);
      }
    }
  }

  std::string Text() const;
  // Writes the document through a temporary file renamed into place.
  bool Save(const std::string& path) const;

 private:
  // Index of the section header line, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the key line inside the section starting after header, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  // Section name of a header line, or nothing for other lines.
  static std::optional<std::string_view> SectionName(std::string_view line);
  // Key and value of a key line, or nothing for other lines.
  static std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line);

  std::vector<std::string> m_lines;
  std::string m_newline = "\n";
  bool m_endsWithNewline = true;
  bool m_byteOrderMark = false;
};

// Leading-number parse used for integer values (optional blanks and sign,
// then digits; anything else ends the number).
int ParseLeadingInt(std::string_view text);

// One-value helpers in the manner of the private-profile calls.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key);
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key);
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace wattrix
