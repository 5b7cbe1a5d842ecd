#include "core/settings/LogValueStore.h"

#include "core/device/LogBlockDecoder.h"
#include "core/measure/MeasurementSettings.h"

namespace wattrix::logging_download {

int StoreLogValues(MeasurementSettings& settings, QuantityMask itemMask, const std::vector<std::uint16_t>& values) {
  const protocol::LogRotation rotation = protocol::BuildLogRotation(itemMask);
  if (rotation.size == 0) return 0;
  int position = 0;
  int stored = 0;
  for (const std::uint16_t raw : values) {
    settings.AddReading(rotation.quantities[static_cast<std::size_t>(position)],
                        static_cast<float>(raw) / 100.0f);
    position = (position + 1) % rotation.size;
    ++stored;
  }
  return stored;
}

}  // namespace wattrix::logging_download
