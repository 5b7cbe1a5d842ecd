#pragma once

#include "core/device/UniqueFd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wattrix::test {

// A pty whose master side the test drives by hand: what it writes is what
// the port under test reads.
struct PtyPair {
  UniqueFd master;
  std::string path;  // the slave side, to open like a COM port

  // Opens a fresh raw pty; an invalid master on failure.
  static PtyPair Open();
  bool Send(const std::string& bytes) const;
  // Whatever the port has written so far (waits up to `waitMs` for the first byte).
  std::string Receive(int waitMs) const;
};

}  // namespace wattrix::test
