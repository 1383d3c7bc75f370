#pragma once
// The sensor comparison of an if, else-if or while row: a connector's input compared with a
// set value, a variable or another connector; and the older touch test.

#include <string>

#include "core/setup/IoSetup.h"

namespace kavel {

/// Compare-with items: 0 the set value, 1..26 variables A..Z, 27..36 inputs of CN1..CN10.
inline constexpr int kSensorOperandFirstConnector = 27;
inline constexpr int kSensorOperandLast = 36;
inline constexpr int kSensorSetValueDefault = 30;

struct SensorComparison {
  int setValue = kSensorSetValueDefault;  // 0..100
  int operand = 0;
  int connector = 0;   // 0..9, CN1..CN10
  int comparison = 0;  // 0 "<", 1 ">", 2 "=="
  int sensorBoard = 0;
  int operandBoard = 0;
  bool operator==(const SensorComparison&) const = default;
};

/// The comparison stored in a row; fields naming nothing fall back to the set value 30, CN1,
/// "<", the set value as operand and this board.
SensorComparison sensorComparisonOf(int val0, int val1, int val2);

/// "<", ">" or "==" for 0, 1, 2; any other digit gives "<".
std::string sensorComparisonCaption(int comparison);
inline int nextSensorComparison(int comparison) { return (comparison + 1) % 3; }

/// The set value as the compare-with list shows it: "%3dcm" for a PING connector (but
/// "%3d%%" in the interrupt routine, which reads no ping sensors), "%3d℃" for a thermistor,
/// else "%3d%%".
std::string sensorSetValueCaption(int value, int connectorMode, bool interrupt);

/// The name shown under a connector list: the connector's name, empty for a PING connector in
/// the interrupt routine.
std::string sensorConnectorName(const IoSetup& io, int connector, bool interrupt);

struct SensorValues {
  int val0;
  int val1;
  int val2;
  bool operator==(const SensorValues&) const = default;
};

/// What OK stores for a comparison. Boards are stored only with `subIo`; the set value is
/// always read on this board.
SensorValues packSensorComparison(const SensorComparison& c, bool subIo);

/// The touch test (cno 13): val1 0 left, 1 right, 2 centre; other values read as left.
inline int touchSensorOf(int val1) { return val1 >= 0 && val1 <= 2 ? val1 : 0; }
inline int nextTouchSensor(int touch) { return (touch + 1) % 3; }

}  // namespace kavel
