#include "sim/CommandParser.h"

#include <cstring>

namespace wattrix::sim {

namespace {

constexpr const char* kWithParameter[] = {"GA", "GF", "GR", "GE", "GP", "GU", "GC", "SO",
                                          "SZ", "ST", "SN", "SU", "SR", "AE", "AF", "AM",
                                          "AI", "AN", "AT", "AU", "AR", "AO", "AD"};
constexpr const char* kWithoutParameter[] = {"GD", "GV", "GS", "GK", "AS"};

constexpr std::size_t kShortFrame = 4;  // "[XY]"
constexpr std::size_t kLongFrame = 8;   // "[XY" + 4 bytes + "]"

}  // namespace

bool CommandParser::TakesParameter(char a, char b, bool& known) {
  known = true;
  for (const char* name : kWithParameter) {
    if (name[0] == a && name[1] == b) return true;
  }
  for (const char* name : kWithoutParameter) {
    if (name[0] == a && name[1] == b) return false;
  }
  known = false;
  return false;
}

void CommandParser::Feed(const std::uint8_t* data, std::size_t count) {
  m_buffer.insert(m_buffer.end(), data, data + count);
}

void CommandParser::Reset() {
  m_buffer.clear();
  m_skipped = 0;
}

bool CommandParser::Next(Command& command) {
  for (;;) {
    while (!m_buffer.empty() && m_buffer.front() != '[') {
      m_buffer.pop_front();
      ++m_skipped;
    }
    if (m_buffer.size() < 3) return false;
    bool known = false;
    const char a = static_cast<char>(m_buffer[1]);
    const char b = static_cast<char>(m_buffer[2]);
    const bool withParameter = TakesParameter(a, b, known);
    const std::size_t length = withParameter ? kLongFrame : kShortFrame;
    if (known && m_buffer.size() < length) return false;  // the rest is on its way
    if (!known || m_buffer[length - 1] != ']') {
      // Not a frame: look for the next "[" after this one.
      m_buffer.pop_front();
      ++m_skipped;
      continue;
    }
    command = Command{};
    command.letters[0] = a;
    command.letters[1] = b;
    command.hasParameter = withParameter;
    if (withParameter) {
      std::uint32_t value = 0;
      for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(m_buffer[3 + static_cast<std::size_t>(i)]) << (8 * i);
      command.parameter = static_cast<std::int32_t>(value);
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(length));
    // The status query ends with a backslash of its own.
    if (command.Is("AS") && !m_buffer.empty() && m_buffer.front() == '\\') m_buffer.pop_front();
    return true;
  }
}

}  // namespace wattrix::sim
