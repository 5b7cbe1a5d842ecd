#pragma once

#include <string>

namespace wattrix::test {

// A history file as a live run writes it: n readings of AVG (ramp from
// 10 dBm), VSWR (from 1.2) and PEAK (from 15 dBm), the AVG display range
// -40 … 50 dBm, start and stop times set.
void WriteRunFile(const std::string& path, int modelCode, int mask, int n, const std::string& title);

// A file of the older layout of a PX420A with n records.
void WriteLegacyFile(const std::string& path, int n);

// The AVG reading i of WriteRunFile.
float RunAvg(int i);

}  // namespace wattrix::test
