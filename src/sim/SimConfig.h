#pragma once

#include <cstdint>
#include <limits>

namespace wattrix::sim {

// What the simulated sensor measures. Powers in dBm, ratios in dB.
struct SimSignals {
  double forwardDbm = 40.0;      // average (forward) power
  double reverseDbm = 26.02;     // reverse power (through-line models)
  double peakToAverageDb = 3.0;  // peak readings above the average
  double noiseDb = 0.02;         // standard deviation of every reading
  double pulsePowerDbm = 40.0;   // power while the pulse is on
  double dutyCycle = 0.25;       // pulse on-time / period, 0 < d <= 1
  double burstWidthUs = 577.0;   // pulse on-time
  // CCDF envelope: level of the 0.01 % point above the average. NaN picks
  // it from the technology the host set ([SO]); 9.64 dB is a Rayleigh
  // envelope (complex Gaussian signal).
  double ccdfPeakToAverageDb = std::numeric_limits<double>::quiet_NaN();
  // Average power of the CCDF sweeps; NaN uses the forward power, moved
  // into the range the block's bins cover.
  double ccdfAverageDbm = std::numeric_limits<double>::quiet_NaN();
  // Simulated seconds per real second for logging.
  double timeScale = 1.0;
};

// Deterministic faults (one seed drives every draw).
struct SimFaults {
  double dropShare = 0.0;     // share of replies never sent
  double corruptShare = 0.0;  // share of replies with one byte changed
  int delayMs = 0;            // extra wait before a reply
  double delayShare = 1.0;    // share of replies that get the delay
  int hangUpAfter = 0;        // stop answering after this many exchanges; 0 = never
  std::uint64_t seed = 1;
};

struct SimConfig {
  int modelCode = 5;
  int firmwareVersion = 291;  // as [GV] reports it: 291 is shown as 2.91
  int serialNumber = 123456;
  SimSignals signals;
  SimFaults faults;

  // Defaults that suit the model: directional sensors at 40 dBm with a
  // VSWR of 1.5, terminating ones at -5 dBm.
  static SimConfig ForModel(int modelCode);
};

// Reverse power for a forward power and a VSWR (> 1).
double ReverseForVswr(double forwardDbm, double vswr);
// Reverse power for a forward power and a return loss in dB (>= 0).
double ReverseForReturnLoss(double forwardDbm, double returnLossDb);

}  // namespace wattrix::sim
