#pragma once
// The simulated robot in numbers. Teachers and the outside checks rely on these values (they
// are listed in the README and the manual page): change them there too.

#include <cstdint>

namespace kavel::sim {

// Body and drive: two driven wheels, a round body centred on the wheel axis.
inline constexpr double kWheelTrackMm = 140.0;
inline constexpr double kBodyRadiusMm = 90.0;
/// A motor value v (-100..100) turns its wheel at kWheelSpeedPerUnit * v mm/s.
inline constexpr double kWheelSpeedPerUnit = 3.0;
inline constexpr int kMotorLimit = 100;

// Floor sensor "Line": on the centre line, ahead of the wheel axis; it sees a small spot.
inline constexpr double kLineSensorAheadMm = 70.0;
inline constexpr double kLineSpotRadiusMm = 5.0;

// Bumper switches "L-Touch", "R-Touch", "C-Touch": where a contact presses them, in degrees
// from straight ahead (negative to the left). The halves overlap at the front so that a
// head-on push presses both.
inline constexpr double kBumperLeftFromDeg = -80.0, kBumperLeftToDeg = 10.0;
inline constexpr double kBumperRightFromDeg = -10.0, kBumperRightToDeg = 80.0;
inline constexpr double kBumperCentreHalfDeg = 30.0;
inline constexpr int kSwitchPressed = 1023;
inline constexpr int kSwitchReleased = 0;

// Infrared ball sensor "Ball": strongest ahead and near, nothing behind or beyond its range.
inline constexpr double kBallRangeMm = 2000.0;
inline constexpr double kBallFullMm = 100.0;

// Distance sensors (PING connectors, the 4-channel ultrasonic unit): from the body's edge,
// out to their range; nothing in range reads the range.
inline constexpr double kDistanceRangeMm = 3000.0;

// Thermistor connectors read the room: 25.0 degrees C.
inline constexpr int kRoomTemperatureTenths = 250;

// The camera: at the front, 100 mm above the floor, 75 x 47 degrees, 320 x 200 pixels; an
// object is a post as high as its diameter.
inline constexpr double kCameraHeightMm = 100.0;
inline constexpr double kCameraHalfWidthDeg = 37.5;
inline constexpr double kCameraHalfHeightDeg = 23.5;
inline constexpr int kCameraWidth = 320;
inline constexpr int kCameraHeight = 200;
inline constexpr int kCameraMaxBlocks = 7;

// Simulated time, in microseconds.
inline constexpr std::int64_t kCallCostUs = 50;        // every firmware call
inline constexpr std::int64_t kAnalogReadCostUs = 50;  // every read of gAD[]
inline constexpr std::int64_t kPhysicsStepUs = 1000;
inline constexpr std::int64_t kSampleStepUs = 10000;   // trace lines and the 10 ms interrupt
inline constexpr std::int64_t kInterruptPeriodUs = 10000;

}  // namespace kavel::sim
