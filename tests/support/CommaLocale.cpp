#include "support/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace wattrix::test {

namespace {

bool TryLocale(const char* name) {
  return std::setlocale(LC_NUMERIC, name) != nullptr &&
         std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

}  // namespace

CommaLocale::CommaLocale() {
  if (TryLocale("de_DE.UTF-8") || TryLocale("de_DE.utf8")) {
    m_active = true;
    return;
  }
  // Only the numeric category is defined; localedef warns about the others.
  std::ofstream(m_dir.File("comma.def"))
      << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\nEND LC_NUMERIC\n";
  const auto command = "localedef -c -i '" + m_dir.File("comma.def") + "' -f UTF-8 '" +
                       m_dir.File("comma.UTF-8") + "' >/dev/null 2>&1";
  [[maybe_unused]] const int status = std::system(command.c_str());
  ::setenv("LOCPATH", m_dir.Path().c_str(), 1);
  m_active = TryLocale("comma.UTF-8");
}

CommaLocale::~CommaLocale() {
  std::setlocale(LC_NUMERIC, "C");
  ::unsetenv("LOCPATH");
}

}  // namespace wattrix::test
