#pragma once

#include "support/TempDir.h"

#include <memory>

namespace wattrix::test {

// Switches LC_NUMERIC to a locale whose decimal separator is a comma while
// it lives, as a user's desktop may run. Hosts without such a locale get
// one built with localedef in a temporary folder. Active() is false when
// neither works (the test should then skip).
class CommaLocale final {
 public:
  CommaLocale();
  ~CommaLocale();
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool Active() const { return m_active; }

 private:
  std::unique_ptr<TempDir> m_dir;
  bool m_active = false;
};

}  // namespace wattrix::test
