#pragma once
// The LED and output dialogs: which LED or connector a row names and what OK stores.

#include <string>
#include <vector>

#include "core/setup/IoSetup.h"

namespace kavel {

/// LED 0 is the green one, 1..3 the red LEDs; a stored number naming none opens as red LED 1.
int ledOf(int val0);
inline int nextLed(int led) { return (led + 1) % 4; }

/// The LED kind 34..37 of an LED and its state.
int ledKind(int led, bool on);

/// "Green" or "Red" and the number ("Red2").
std::string ledCaption(int led);

struct LedValues {
  int sno;
  int cno;
  int val0;
  int val1;
  bool operator==(const LedValues&) const = default;
};

/// What OK stores. An LED statement takes the new kind as its statement kind as well; a test
/// (an if, else-if or while row) keeps `sno`.
LedValues packLed(int led, bool on, int sno);

/// The connectors (0..9 for CN1..CN10) in an output mode, in connector order.
std::vector<int> outputConnectors(const IoSetup& io);

/// The position of connector `val0` in `list`; the first when it is not there, -1 for an
/// empty list.
int outputPosition(const std::vector<int>& list, int val0);

/// The position after `position`, the first after the last.
int nextOutputPosition(const std::vector<int>& list, int position);

}  // namespace kavel
