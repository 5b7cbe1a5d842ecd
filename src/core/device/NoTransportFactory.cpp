#include "core/device/TransportFactory.h"

namespace wattrix {

// Built only while the tree has no serial and USB transports: Connect then
// fails with -2 unless a factory is set.
TransportFactory DefaultTransportFactory() {
  return [](int) -> std::unique_ptr<CPowerDevice> { return nullptr; };
}

}  // namespace wattrix
