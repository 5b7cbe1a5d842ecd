#include "sim/SimConfig.h"

#include "core/vocabulary/SensorModel.h"

#include <cmath>

namespace wattrix::sim {

SimConfig SimConfig::ForModel(int modelCode) {
  SimConfig config;
  config.modelCode = modelCode;
  const auto* row = FindModelByCode(modelCode);
  const bool directional = !row || row->sensorKind == sensor_kind::kDirectional;
  config.signals.forwardDbm = directional ? 40.0 : -5.0;
  config.signals.reverseDbm = ReverseForVswr(config.signals.forwardDbm, 1.5);
  config.signals.pulsePowerDbm = config.signals.forwardDbm;
  return config;
}

double ReverseForReturnLoss(double forwardDbm, double returnLossDb) { return forwardDbm - returnLossDb; }

double ReverseForVswr(double forwardDbm, double vswr) {
  if (!(vswr > 1.0)) return forwardDbm;  // total reflection
  return ReverseForReturnLoss(forwardDbm, 20.0 * std::log10((vswr + 1.0) / (vswr - 1.0)));
}

}  // namespace wattrix::sim
