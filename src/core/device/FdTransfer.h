#pragma once

#include "core/device/IoCanceller.h"

#include <cstddef>
#include <cstdint>

namespace wattrix {

// Reads and writes on a non-blocking descriptor (pty, FIFO) that wait with
// poll, honour a deadline and end at once on cancel.
namespace fdio {

enum class Outcome { kComplete, kTimedOut, kCancelled, kHungUp, kFailed };

// Gathers up to `count` bytes until all are there, the deadline passes, the
// writer hangs up or the ticket is cancelled; `got` gets what arrived. A
// FIFO that never had a writer is waited on like a silent one.
Outcome ReadGather(int fd, IoCanceller& canceller, std::uint64_t ticket, std::uint8_t* buffer,
                   std::size_t count, IoCanceller::Clock::time_point deadline, std::size_t& got);

// Writes all bytes (a FIFO whose reader is gone fails with kHungUp, without
// SIGPIPE).
Outcome WriteAll(int fd, IoCanceller& canceller, std::uint64_t ticket, const std::uint8_t* data,
                 std::size_t count, IoCanceller::Clock::time_point deadline, std::size_t& written);

// Throws away what is waiting to be read: tcflush on a tty, reading until
// empty otherwise.
void DiscardInput(int fd);

// Raw mode for a tty used as a byte pipe (no echo, no line editing).
bool MakeRaw(int fd);

}  // namespace fdio
}  // namespace wattrix
