#pragma once
// The trace of a run as CSV: one line every 10 ms of simulated time, from 0.

#include <string>

#include "sim/Snapshot.h"

namespace kavel::sim {

inline constexpr const char* kTraceHeader =
    "time_ms,x_mm,y_mm,heading_deg,motor_l,motor_r,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2";

/// One line without its line end: position and heading to a tenth (0.0 <= heading < 360.0),
/// the motor values, each connector as the program reads it, and the LEDs 0/1.
std::string traceLine(const SimSnapshot& s);

}  // namespace kavel::sim
