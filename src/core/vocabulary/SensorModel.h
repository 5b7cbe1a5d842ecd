#pragma once

#include "core/vocabulary/Quantity.h"

#include <array>
#include <span>
#include <string>

namespace wattrix {

// One row of the constant table of the nine sensor models. Everything that
// depends on the attached sensor is decided from the row or its model code.
struct SensorModel {
  struct Range {
    int low;
    int high;
  };
  int modelCode;
  const char* name;
  int deviceCode;   // answer to the identification query [GD]
  int sensorKind;   // 0 directional (through-line), 1 terminating
  QuantityMask quantityMask;  // quantities the sensor delivers
  int lowestMHz;
  int highestMHz;
  // Display range and limits without saved settings, for AVG, REV,
  // VSWR/PAR, PEAK, PULSE, CCDF in that order.
  std::array<Range, 6> ranges;
  int reserved;
};

// Model codes (there is no code 7).
namespace model {
constexpr int kPX420A = 0;
constexpr int kPX430A = 1;
constexpr int kPX440A = 2;
constexpr int kPX450A = 3;
constexpr int kPX470A = 4;
constexpr int kPX420B = 5;
constexpr int kPX430B = 6;
constexpr int kPX450B = 8;
constexpr int kPX470B = 9;
}  // namespace model

namespace sensor_kind {
constexpr int kDirectional = 0;
constexpr int kTerminating = 1;
}  // namespace sensor_kind

// The nine rows in table order.
std::span<const SensorModel> SensorModels();
// Row by model code, or null.
const SensorModel* FindModelByCode(int modelCode);
// Row by the device code the sensor reports, or null.
const SensorModel* FindModelByDeviceCode(int deviceCode);
// Model code of the row with exactly this name; 0 (PX420A) when none.
int ModelCodeByName(const std::string& name);
// Name of the row, or empty text.
std::string ModelNameByCode(int modelCode);

// True on the models whose VSWR slot carries the peak-to-average ratio.
constexpr bool CarriesPar(int modelCode) { return modelCode == model::kPX470A || modelCode == model::kPX470B; }

// The mode and menu commands a model offers (what the main frame enables).
enum class ModeCommand { Avg, Peak, AvgPeak, Pulse, Ccdf, DownloadLog };
bool ModelOffers(int modelCode, ModeCommand command);

}  // namespace wattrix
