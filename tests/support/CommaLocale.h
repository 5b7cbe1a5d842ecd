#pragma once

#include "support/TempDir.h"

namespace wattrix::test {

// Switches LC_NUMERIC to a locale whose decimal separator is a comma while it
// lives, as a user's desktop may run; hosts without one get one built with
// localedef. Active() is false when neither works (the test then skips).
class CommaLocale final {
 public:
  CommaLocale();
  ~CommaLocale();
  bool Active() const { return m_active; }

 private:
  TempDir m_dir;
  bool m_active = false;
};

}  // namespace wattrix::test
