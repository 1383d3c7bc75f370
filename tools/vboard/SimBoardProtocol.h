#pragma once
// The lines the simulated robot's board sends the monitors, made from a snapshot: the formats
// the sensor monitor, the module monitors and the game-pad dialog read.

#include <string>

#include "sim/RobotConfig.h"
#include "sim/Snapshot.h"

namespace vboard {

/// "CN1=vvvv,...,CN10=vvvv,LED=ggg": outputs 1000 (HIGH) or 0, the other connectors as the
/// program reads them, clamped to four digits.
std::string sensorReport(const kavel::sim::SimSnapshot& s, const kavel::sim::RobotConfig& config);

/// "D:hhh,ppp,rrr": heading, pitch and roll of a level board (the 9-axis sensor's pitch reads 180).
std::string compassLine(const kavel::sim::SimSnapshot& s, const kavel::sim::RobotConfig& config);

/// "U:dddd,dddd,dddd,dddd" in millimetres.
std::string ultrasonicLine(const kavel::sim::SimSnapshot& s);

/// "#Pixy:" and a block of 20 characters per object seen.
std::string cameraLine(const kavel::sim::SimSnapshot& s);

}  // namespace vboard
