#include "core/dialogs/SensorComparison.h"

#include <algorithm>

#include "core/dialogs/SubIoBoards.h"
#include "core/text/Format.h"

namespace kavel {

SensorComparison sensorComparisonOf(int val0, int val1, int val2) {
  SensorComparison c;
  c.setValue = val0 == 0 ? kSensorSetValueDefault : std::clamp(val0, 0, 100);
  const int connector = val1 / 10 % 10;
  c.connector = connector >= 0 ? connector : 0;
  const int operand = val1 / 10000;
  c.operand = operand >= 0 && operand <= kSensorOperandLast ? operand : 0;
  const int comparison = val1 % 10;
  c.comparison = comparison >= 0 && comparison <= 2 ? comparison : 0;
  c.sensorBoard = boardOf(val2 / 100000);
  c.operandBoard = boardOf(val2 / 10000 % 10);
  return c;
}

std::string sensorComparisonCaption(int comparison) {
  switch (comparison) {
    case 1: return ">";
    case 2: return "==";
    default: return "<";
  }
}

std::string sensorSetValueCaption(int value, int connectorMode, bool interrupt) {
  if (connectorMode == PingIn && !interrupt) return text::format("%3dcm", value);
  if (connectorMode == Thermistor) return text::format("%3d\u2103", value);
  return text::format("%3d%%", value);
}

std::string sensorConnectorName(const IoSetup& io, int connector, bool interrupt) {
  if (connector < 0 || connector > 9) return {};
  const auto i = static_cast<std::size_t>(connector);
  if (interrupt && io.cnMode[i] == PingIn) return {};
  return io.cnName[i];
}

SensorValues packSensorComparison(const SensorComparison& c, bool subIo) {
  SensorValues v{};
  v.val0 = c.setValue;
  v.val1 = c.operand * 10000 + c.connector * 10 + c.comparison;
  if (subIo) v.val2 = c.sensorBoard * 100000 + (c.operand == 0 ? 0 : c.operandBoard) * 10000;
  return v;
}

}  // namespace kavel
