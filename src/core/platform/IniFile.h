#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// An INI text file with the semantics of the private-profile calls: section
// and key names compare without regard to case, values are read to the end
// of their line and trimmed, and writing a key changes only that key's line
// (creating the section when needed) while every other line, comments and
// unknown sections included, stays as it was.
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
  // Value, or empty text, cut to 255 characters.
  std::string ReadString(std::string_view section, std::string_view key) const;
  // Leading decimal number of the value; 0 when absent or not a number.
  int ReadInt(std::string_view section, std::string_view key) const;

  // Sets key=value in place, appending the key to its section or a new
  // section at the end of the file when they do not exist yet.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;
  // Writes the document through a temporary file renamed into place.
  bool Save(const std::string& path) const;

 private:
  // Index of the section header line, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the key line inside the section starting after header, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::vector<std::string> m_lines;
  std::string m_newline = "\n";
  bool m_endsWithNewline = true;
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
