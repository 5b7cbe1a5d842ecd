#include "support/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace wattrix::test {

namespace {

bool DecimalIsComma() { return std::strcmp(std::localeconv()->decimal_point, ",") == 0; }

bool TryLocale(const char* name) { return std::setlocale(LC_NUMERIC, name) != nullptr && DecimalIsComma(); }

}  // namespace

CommaLocale::CommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (TryLocale(name)) {
      m_active = true;
      return;
    }
  }
  // Only the numeric category is defined; localedef warns about the others
  // and builds the locale anyway.
  m_dir = std::make_unique<TempDir>();
  const auto definition = m_dir->File("comma.def");
  std::ofstream(definition)
      << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\nEND LC_NUMERIC\n";
  const auto command =
      "localedef -c -i '" + definition + "' -f UTF-8 '" + m_dir->File("comma.UTF-8") + "' >/dev/null 2>&1";
  [[maybe_unused]] const int status = std::system(command.c_str());
  ::setenv("LOCPATH", m_dir->Path().c_str(), 1);
  m_active = TryLocale("comma.UTF-8");
}

CommaLocale::~CommaLocale() {
  std::setlocale(LC_NUMERIC, "C");
  if (m_dir) ::unsetenv("LOCPATH");
}

}  // namespace wattrix::test
