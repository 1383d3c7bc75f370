#pragma once
// The values of the ultrasonic unit's rows: the start/stop statement and the distance test of
// one of the four sensors against a set distance or a variable.

#include <string>

namespace kavel {

inline constexpr int kUssMaxCm = 300;
inline constexpr int kUssSensors = 4;
inline constexpr int kUssVariableItems = 26;

struct UltrasonicTest {
  int sensor = 0;      // 0..3: USS-1..USS-4
  int source = 0;      // 0 the set distance, 1..26 the variables A..Z
  int comparison = 0;  // 0 "<", 1 ">", 2 "=="
  int distanceCm = 0;  // 0..300
  bool operator==(const UltrasonicTest&) const = default;
};

/// The test a row holds; values outside the dialog's choices fall back to the first choice
/// (sensor, comparison, source) or are clamped (distance).
UltrasonicTest ultrasonicTestOf(int val0, int val1);

struct UltrasonicValues {
  int val0 = 0;
  int val1 = 0;
  bool operator==(const UltrasonicValues&) const = default;
};

/// val0 = distance * 10; val1 = sensor * 10000 + source * 100 + comparison.
UltrasonicValues packUltrasonicTest(const UltrasonicTest& test);

/// Whether a start/stop statement starts the unit: only a units digit of 1 does.
bool ultrasonicStarts(int val1);

/// "USS-%d" with sensor + 1.
std::string ussSensorCaption(int sensor);
/// "<", ">" or "==".
std::string ussComparisonCaption(int comparison);
/// "START" or "STOP".
std::string ussRunCaption(bool start);
/// The set-distance item of the value list: "%3dcm".
std::string ussDistanceCaption(int cm);

}  // namespace kavel
