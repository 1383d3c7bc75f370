#pragma once
// The servo statement: a servo on CN7 or CN8 set to a position in percent.

#include <string>

#include "core/setup/IoSetup.h"

namespace kavel {

/// The connector (7 or 8) of a row: the stored one, else the first of CN7 and CN8 that is in
/// servo mode, else CN7.
int servoConnectorOf(int val0, const IoSetup& io);

/// The other servo connector when it is in servo mode, else `connector` again.
int otherServoConnector(int connector, const IoSetup& io);

/// The stored position limited to 0..100.
int servoPositionOf(int val0);

/// val0 of a servo row.
inline int packServo(int connector, int position) { return connector * 10000 + position; }

/// The position panel's text: the position right-aligned in four characters and "%".
std::string servoPositionCaption(int position);

}  // namespace kavel
