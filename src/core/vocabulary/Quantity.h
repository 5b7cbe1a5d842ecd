#pragma once

#include <cstddef>

namespace wattrix {

// A measured quantity: reading buffers, per-quantity settings and panels are
// indexed by it (through Index). Slot kVswr carries PAR on the PX470A and
// PX470B. The values are the indices the settings and panels always used.
enum class Quantity : int {
  kAvg = 0,
  kRev = 1,
  kVswr = 2,
  kPeak = 3,
  kPulse = 4,
  kCcdf = 5,
};
using enum Quantity;

constexpr int kQuantityCount = 6;  // settings blocks, CCDF included
constexpr int kHistoryCount = 5;   // reading buffers, AVG to PULSE

// Array index of a quantity. A value outside the enumerators (only made by
// a cast) gives an index beyond every table, which the Has* tests refuse.
constexpr std::size_t Index(Quantity q) { return static_cast<std::size_t>(static_cast<int>(q)); }
// True for the six quantities with a settings block.
constexpr bool HasSettingsBlock(Quantity q) { return Index(q) < kQuantityCount; }
// True for the five quantities with a reading buffer (all but CCDF).
constexpr bool HasReadingBuffer(Quantity q) { return Index(q) < kHistoryCount; }

// The quantities first..last-1 in index order, for range-for loops.
class QuantityRange final {
 public:
  class Iterator final {
   public:
    constexpr explicit Iterator(int index) : m_index(index) {}
    constexpr Quantity operator*() const { return static_cast<Quantity>(m_index); }
    constexpr Iterator& operator++() {
      ++m_index;
      return *this;
    }
    constexpr bool operator==(const Iterator&) const = default;

   private:
    int m_index;
  };
  constexpr QuantityRange(int first, int last) : m_first(first), m_last(last) {}
  constexpr Iterator begin() const { return Iterator(m_first); }
  constexpr Iterator end() const { return Iterator(m_last); }

 private:
  int m_first;
  int m_last;
};

// All six quantities, and the five with reading buffers.
constexpr QuantityRange AllQuantities() { return {0, kQuantityCount}; }
constexpr QuantityRange HistoryQuantities() { return {0, kHistoryCount}; }

// A set of quantities as the model table, history files and the logging
// set-up store it: one bit per quantity (AVG 0x01, PEAK 0x02, REV 0x04,
// PULSE 0x08, VSWR 0x10). Bits() is the stored byte.
class QuantityMask final {
 public:
  constexpr QuantityMask() = default;
  constexpr explicit QuantityMask(int bits) : m_bits(bits) {}

  constexpr int Bits() const { return m_bits; }
  constexpr bool Empty() const { return m_bits == 0; }
  constexpr explicit operator bool() const { return m_bits != 0; }
  constexpr bool Has(Quantity q) const;

  friend constexpr QuantityMask operator|(QuantityMask a, QuantityMask b) {
    return QuantityMask(a.m_bits | b.m_bits);
  }
  friend constexpr QuantityMask operator&(QuantityMask a, QuantityMask b) {
    return QuantityMask(a.m_bits & b.m_bits);
  }
  constexpr QuantityMask& operator|=(QuantityMask other) {
    m_bits |= other.m_bits;
    return *this;
  }
  constexpr bool operator==(const QuantityMask&) const = default;

 private:
  int m_bits = 0;
};

namespace mask {
inline constexpr QuantityMask kAvg{0x01};
inline constexpr QuantityMask kPeak{0x02};
inline constexpr QuantityMask kRev{0x04};
inline constexpr QuantityMask kPulse{0x08};
inline constexpr QuantityMask kVswr{0x10};
}  // namespace mask

// The mask bit of a quantity (empty for CCDF).
constexpr QuantityMask MaskBit(Quantity q) {
  switch (q) {
    case kAvg: return mask::kAvg;
    case kRev: return mask::kRev;
    case kVswr: return mask::kVswr;
    case kPeak: return mask::kPeak;
    case kPulse: return mask::kPulse;
    case kCcdf:
      break;
  }
  return {};
}

constexpr bool QuantityMask::Has(Quantity q) const { return (*this & MaskBit(q)).m_bits != 0; }

// Section name of a quantity in the settings file.
constexpr const char* QuantitySection(Quantity q) {
  constexpr const char* kNames[kQuantityCount] = {"AVG", "REV", "VSWR", "PEAK", "PULSE", "CCDF"};
  return HasSettingsBlock(q) ? kNames[Index(q)] : "";
}

// True for the quantities whose readings are powers in dBm.
constexpr bool IsPowerQuantity(Quantity q) { return q == kAvg || q == kRev || q == kPeak || q == kPulse; }

}  // namespace wattrix
