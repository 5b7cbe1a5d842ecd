#pragma once

#include <string>
#include <string_view>

namespace wattrix {

// Number texts that never depend on the process locale: the desktop
// application runs with the user's LC_NUMERIC, which would otherwise turn
// the decimal point of files, read-outs and command-line output into a
// comma.

// printf-style formatting in the C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Decimal text to number in the C locale, as strtod reads it (leading
// blanks, optional sign, fraction, exponent). Text that does not start with
// a finite number gives 0.
double ParseDouble(std::string_view text);
// The same for single precision; a value beyond the float range also gives
// 0, so that a hand-edited file can never carry an infinite setting.
float ParseFloat(std::string_view text);

}  // namespace wattrix
