#include "core/modules/UltrasonicValues.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {

UltrasonicTest ultrasonicTestOf(int val0, int val1) {
  UltrasonicTest t;
  const int sensor = val1 / 10000 % 100;
  t.sensor = sensor >= 0 && sensor < kUssSensors ? sensor : 0;
  const int comparison = val1 % 10;
  t.comparison = comparison >= 0 && comparison <= 2 ? comparison : 0;
  const int source = val1 / 100 % 100;
  t.source = source >= 0 && source <= kUssVariableItems ? source : 0;
  t.distanceCm = std::clamp(val0 / 10, 0, kUssMaxCm);
  return t;
}

UltrasonicValues packUltrasonicTest(const UltrasonicTest& t) {
  return {t.distanceCm * 10, t.comparison + t.sensor * 10000 + t.source * 100};
}

bool ultrasonicStarts(int val1) { return val1 % 10 == 1; }

std::string ussSensorCaption(int sensor) { return text::format("USS-%d", sensor + 1); }

std::string ussComparisonCaption(int comparison) {
  switch (comparison) {
    case 1: return ">";
    case 2: return "==";
    default: return "<";
  }
}

std::string ussRunCaption(bool start) { return start ? "START" : "STOP"; }

std::string ussDistanceCaption(int cm) { return text::format("%3dcm", cm); }

}  // namespace kavel
