#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace wattrix::sim {

// One command frame the host sent: two letters and, for the commands that
// carry one, the 32-bit parameter.
struct Command {
  char letters[3] = {};  // NUL-terminated
  bool hasParameter = false;
  std::int32_t parameter = 0;

  std::string Name() const { return letters; }
  bool Is(const char* name) const { return letters[0] == name[0] && letters[1] == name[1]; }
};

// Cuts commands out of the byte stream as it arrives: frames may come in
// pieces or several at once, and bytes that do not start a frame of a
// known command are skipped.
class CommandParser final {
 public:
  void Feed(const std::uint8_t* data, std::size_t count);
  // The next complete command, in arrival order.
  bool Next(Command& command);
  // Bytes skipped as garbage so far.
  std::size_t Skipped() const { return m_skipped; }
  void Reset();

  // True for the two letters of a command with a parameter (8-byte frame);
  // false for those without (4-byte frame). `known` tells whether the
  // letters name a command at all.
  static bool TakesParameter(char a, char b, bool& known);

 private:
  std::deque<std::uint8_t> m_buffer;
  std::size_t m_skipped = 0;
};

}  // namespace wattrix::sim
