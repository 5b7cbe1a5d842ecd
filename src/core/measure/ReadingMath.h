#pragma once

namespace wattrix {

// The arithmetic of the live windows' reading operations: external offset,
// VSWR from a return loss, technology and pulse corrections, PAR, duty
// cycle and burst width. Powers arrive from the sensor as integers in
// 0.01 dBm; results are what the windows store.
namespace reading_math {

inline constexpr double kVswrNoReturnLoss = 9999;  // no reflection measured
inline constexpr double kVswrMin = 1;
inline constexpr double kVswrMax = 65;

// O + power / 100, as a stored reading.
float WithOffset(int power, float offset);

// VSWR of a return loss in 0.01 dB: ≤ 0 gives 9999; otherwise
// (10^x + 1) / (10^x − 1) + 0.005 with x = RL / 100 / 20; clamped to [1, 65].
float VswrFromReturnLoss(double returnLossHundredths);

// The reverse-reading path: RL = (F − r) × 100 with F the last forward
// reading when −100 < F < 100, else 0.
float VswrFromReadings(float lastForward, float reverse);

// The forward-and-reverse path: from the uncorrected difference of the raw
// values (0.01 dB).
float VswrFromRaw(int forward, int reverse);

// Correction c(P) in dB subtracted from forward and reverse power of the
// average-and-reverse reading: linear in ln(f/100 − 2) and |P − K| from 300
// to 1000 MHz, a constant above 1000 MHz, 0 below 300 MHz and for the
// technologies without a table row (6 "GSM", 7 "etc", any other value).
double AverageTechnologyCorrection(int technology, double frequencyMHz, double power);

// Pulse power after the technology correction (technologies 0, 3 and 4;
// the others return P unchanged).
double PulseCorrected(int technology, double frequencyMHz, double power);

// Peak-to-average ratio in dB.
float Par(float peak, float lastAverage);

// Duty cycle in percent: the fixed setting (thousandths) when not 0,
// else count1 / count2. A zero divisor gives not-a-number ("N/A"):
// a duty cycle or burst width that cannot be measured is not infinite.
float DutyCyclePercent(int dutySetting, int count1, int count2);

// Microseconds per count of a pulse timebase code (1, 2, 4, 8; any other).
double TimebaseMicroseconds(int timebase);
// count1 / count3 × w(timebase); not-a-number for a zero divisor.
float BurstWidth(int count1, int count3, int timebase);

}  // namespace reading_math
}  // namespace wattrix
