#pragma once

#include "core/device/DeliveryHandle.h"
#include "core/device/ScriptedSensor.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wattrix::test {

// A link wired to a scripted sensor, with a settings record for the
// values the commands are given.
struct LinkRig {
  explicit LinkRig(int deviceCode = 10, int version = 291, int serial = 123456)
      : sensor(deviceCode, version, serial) {
    link.SetTransportFactory(sensor.Factory());
  }
  ~LinkRig() { link.Disconnect(); }

  FakeWire& Wire() { return *sensor.Wire(); }
  // Commands written since the last ClearLog, as their two letters.
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (const auto& frame : Wire().Writes()) out.push_back(FrameCommand(frame));
    return out;
  }
  // A request as a window makes it, for `to`.
  bool Request(RequestKind kind, std::int32_t frequency100, int timeoutMs,
               const std::shared_ptr<DeliveryHandle>& to) {
    return link.RequestMeasurement(
        {kind, frequency100, timeoutMs, protocol::Times100(settings.ExternalOffset())}, to);
  }

  ScriptedSensor sensor;
  MeasurementSettings settings;
  SensorLink link;
};

}  // namespace wattrix::test
