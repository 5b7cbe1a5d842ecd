#pragma once

namespace wattrix {

// Index of a measured quantity: reading buffers, per-quantity settings and
// panels are numbered by it. Slot 2 carries PAR on the PX470A and PX470B.
enum Quantity : int {
  kAvg = 0,
  kRev = 1,
  kVswr = 2,
  kPeak = 3,
  kPulse = 4,
  kCcdf = 5,
};

constexpr int kQuantityCount = 6;   // settings blocks, CCDF included
constexpr int kHistoryCount = 5;    // reading buffers, AVG to PULSE

// Bits of a QuantityMask (model table, history files, logging).
namespace mask {
constexpr int kAvg = 0x01;
constexpr int kPeak = 0x02;
constexpr int kRev = 0x04;
constexpr int kPulse = 0x08;
constexpr int kVswr = 0x10;
}  // namespace mask

// The mask bit of a quantity (0 for CCDF).
constexpr int MaskBit(int quantity) {
  switch (quantity) {
    case kAvg: return mask::kAvg;
    case kRev: return mask::kRev;
    case kVswr: return mask::kVswr;
    case kPeak: return mask::kPeak;
    case kPulse: return mask::kPulse;
    default: return 0;
  }
}

// Section name of a quantity in the settings file.
constexpr const char* QuantitySection(int quantity) {
  constexpr const char* kNames[kQuantityCount] = {"AVG", "REV", "VSWR", "PEAK", "PULSE", "CCDF"};
  return quantity >= 0 && quantity < kQuantityCount ? kNames[quantity] : "";
}

// True for the quantities whose readings are powers in dBm.
constexpr bool IsPowerQuantity(int quantity) {
  return quantity == kAvg || quantity == kRev || quantity == kPeak || quantity == kPulse;
}

}  // namespace wattrix
