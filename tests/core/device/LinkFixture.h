#pragma once

#include "core/app/AppContext.h"
#include "core/device/ScriptedSensor.h"
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wattrix::test {

// A link on its own AppContext, wired to a scripted sensor.
struct LinkRig {
  explicit LinkRig(int deviceCode = 10, int version = 291, int serial = 123456)
      : sensor(deviceCode, version, serial) {
    link.SetAppContext(&context);
    link.SetTransportFactory(sensor.Factory());
    link.SetSettings(&settings);
    context.SetSettings(&settings);
  }
  ~LinkRig() { link.Disconnect(); }

  FakeWire& Wire() { return *sensor.Wire(); }
  // Commands written since the last ClearLog, as their two letters.
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (const auto& frame : Wire().Writes()) out.push_back(FrameCommand(frame));
    return out;
  }

  ScriptedSensor sensor;
  MeasurementSettings settings;
  AppContext context;
  SensorLink link;
};

}  // namespace wattrix::test
