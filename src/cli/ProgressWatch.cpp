#include "cli/ProgressWatch.h"

namespace wattrix::cli {

ProgressWatch::ProgressWatch(Clock::duration limit, long progress)
    : m_limit(limit), m_progress(progress), m_since(Clock::now()) {}

bool ProgressWatch::Stalled(long progress) {
  const auto now = Clock::now();
  if (progress != m_progress) {
    m_progress = progress;
    m_since = now;
    return false;
  }
  return now - m_since > m_limit;
}

}  // namespace wattrix::cli
