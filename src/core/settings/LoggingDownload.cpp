#include "core/settings/LoggingDownload.h"

#include <algorithm>
#include <cmath>

namespace wattrix::logging_download {

namespace {
// A count so large that its bytes would not fit an int is garbage in the
// status reply; it is capped so that the arithmetic stays defined.
constexpr int kMaxBlocks = 2147483647 / kBlockBytes;
constexpr int kMaxValues = (kMaxBlocks - 1) * kValuesPerBlock;
}  // namespace

int BlockCount(int valueCount) { return std::clamp(valueCount, 0, kMaxValues) / kValuesPerBlock + 1; }

int ByteCount(int blockCount) { return std::clamp(blockCount, 0, kMaxBlocks) * kBlockBytes; }

int TimeoutMs(int bytes, bool serialLink) {
  if (!serialLink) return kUsbTimeoutMs;
  const double transferMs = std::max(bytes, 0) * 1000.0 / kSerialBytesPerSecond;
  const double total = kSerialBaseMs + std::ceil(transferMs * kSerialSafetyFactor);
  return static_cast<int>(std::min(total, 2147483647.0));
}

FetchPlan PlanFetch(int storedValues, bool serialLink) {
  FetchPlan plan;
  if (storedValues <= 0) {
    plan.nothingLogged = true;
    return plan;
  }
  plan.values = storedValues;
  plan.blocks = BlockCount(storedValues);
  plan.bytes = ByteCount(plan.blocks);
  plan.timeoutMs = TimeoutMs(plan.bytes, serialLink);
  return plan;
}

DialogState DialogStateFor(QuantityMask itemMask, bool stillLogging, int storedValues) {
  DialogState state;
  state.itemChecked = {itemMask.Has(kAvg), itemMask.Has(kPeak), itemMask.Has(kRev), itemMask.Has(kPulse)};
  const bool available = !stillLogging && storedValues > 0;
  state.loadEnabled = available;
  state.saveEnabled = available;
  return state;
}

}  // namespace wattrix::logging_download
