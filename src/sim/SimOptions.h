#pragma once

#include "sim/SimConfig.h"
#include "sim/SimEndpoint.h"

#include <string>
#include <vector>

namespace wattrix::sim {

// The command line of wattrix-sim.
struct SimProgramOptions {
  SimConfig config;
  SimTransport transport = SimTransport::kSerial;
  int comNumber = 0;  // 0: the first free number
  std::string description;
  bool baudPacing = false;
  bool help = false;
  bool version = false;
};

// False with `error` set on a usage error (unknown option, missing or bad
// value, no model).
bool ParseSimOptions(const std::vector<std::string>& args, SimProgramOptions& options, std::string& error);

// The --help text.
std::string SimUsage();

}  // namespace wattrix::sim
