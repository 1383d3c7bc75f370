#include "core/dialogs/ServoChoice.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {
namespace {

bool isServo(const IoSetup& io, int connector) { return io.cnMode[static_cast<std::size_t>(connector - 1)] == Servo; }

}  // namespace

int servoConnectorOf(int val0, const IoSetup& io) {
  const int a = val0 / 10000;
  if (a == 7 || a == 8) return a;
  if (isServo(io, 7)) return 7;
  if (isServo(io, 8)) return 8;
  return 7;
}

int otherServoConnector(int connector, const IoSetup& io) {
  if (connector == 7 && isServo(io, 8)) return 8;
  if (connector == 8 && isServo(io, 7)) return 7;
  return connector;
}

int servoPositionOf(int val0) { return std::clamp(val0 % 1000, 0, 100); }

std::string servoPositionCaption(int position) { return text::format("%4d%%", position); }

}  // namespace kavel
