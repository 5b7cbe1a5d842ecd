#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wattrix::cli {

// Parses "--name value" options and "--flag" switches of one command.
// Words that do not start with "--" are positional arguments.
class Options final {
 public:
  // `valued` names the options that take a value, `flags` the switches.
  Options(std::set<std::string> valued, std::set<std::string> flags);

  // False (with Error() set) on an unknown option or a missing value.
  bool Parse(const std::vector<std::string>& args);
  const std::string& Error() const { return m_error; }

  bool Has(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;
  // Numeric values; nullopt when absent, Error() set and false from
  // ValidNumbers() when present but not a number.
  std::optional<long> Int(const std::string& name);
  std::optional<double> Double(const std::string& name);
  bool ValidNumbers() const { return m_error.empty(); }
  const std::vector<std::string>& Positional() const { return m_positional; }

 private:
  std::set<std::string> m_valued;
  std::set<std::string> m_flags;
  std::map<std::string, std::string> m_values;
  std::set<std::string> m_seenFlags;
  std::vector<std::string> m_positional;
  std::string m_error;
};

}  // namespace wattrix::cli
