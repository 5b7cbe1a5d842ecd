#pragma once

#include <optional>
#include <string>

namespace wattrix {

// Number texts of the read-outs. They never depend on the process locale
// (always a decimal point) and need no locale or stream machinery, because
// the panels build them for every reading.

// x with the decimals setting: 2 "%.2f", 1 "%.1f", 0 "%.0f"; any other
// setting gives empty text.
std::string FormatNumber(double x, int decimals);
// Appends FormatNumber(x, decimals) to out.
void AppendNumber(std::string& out, double x, int decimals);

// A power in watts as "<n> W" above 1 W, "<n> mW" above 0.0001 W (the
// single-precision 0.0001), else "<n> uW"; exactly 1 W reads in mW.
std::string FormatWatts(double watts, int decimals);

// 10^(dBm / 10) / 1000.
double DbmToWatts(double dbm);

// Return loss in dB (negative) of a VSWR above 1: -20 log10((v+1)/(v-1)),
// held within -60..0. A VSWR of 1 or less (or not a number) has no return
// loss: the result is empty, and the panel shows its N/A text. Callers that
// need a number for a VSWR of exactly 1 take -60, the limit as v -> 1.
std::optional<double> ReturnLossDb(double vswr);

}  // namespace wattrix
