#include "cli/Options.h"

#include <cerrno>
#include <cstdlib>

namespace wattrix::cli {

Options::Options(std::set<std::string> valued, std::set<std::string> flags)
    : m_valued(std::move(valued)), m_flags(std::move(flags)) {}

bool Options::Parse(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto& word = args[i];
    if (word.rfind("--", 0) != 0 || word.size() == 2) {
      m_positional.push_back(word);
      continue;
    }
    const auto name = word.substr(2);
    if (m_flags.count(name)) {
      m_seenFlags.insert(name);
    } else if (m_valued.count(name)) {
      if (i + 1 >= args.size()) {
        m_error = "option --" + name + " needs a value";
        return false;
      }
      m_values[name] = args[++i];
    } else {
      m_error = "unknown option --" + name;
      return false;
    }
  }
  return true;
}

bool Options::Has(const std::string& name) const { return m_values.count(name) || m_seenFlags.count(name); }

std::optional<std::string> Options::Value(const std::string& name) const {
  const auto it = m_values.find(name);
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

std::optional<long> Options::Int(const std::string& name) {
  const auto text = Value(name);
  if (!text) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text->c_str(), &end, 0);
  if (text->empty() || *end != '\0' || errno == ERANGE) {
    m_error = "option --" + name + " needs a whole number, not '" + *text + "'";
    return std::nullopt;
  }
  return v;
}

std::optional<double> Options::Double(const std::string& name) {
  const auto text = Value(name);
  if (!text) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(text->c_str(), &end);
  if (text->empty() || *end != '\0' || errno == ERANGE) {
    m_error = "option --" + name + " needs a number, not '" + *text + "'";
    return std::nullopt;
  }
  return v;
}

}  // namespace wattrix::cli
