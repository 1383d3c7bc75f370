#pragma once
// How the sensor monitor shows one connector in a given mode: the group caption and its
// colour, the name box colour, what the value panel reads, and which controls are visible.

#include <cstdint>
#include <string>

#include "core/settings/ProductVariant.h"

namespace kavel {

/// Colour of a connector group's caption.
enum class CaptionColour { Normal, Blue, Green, Red };

/// What the value panel of a connector shows.
enum class MonitorValueKind { HighLow, Percent, Distance, ServoPercent, Temperature };

struct MonitorConnectorLook {
  /// False for a mode outside 0..6: caption, caption colour and name colour stay as they are.
  bool captionChanged = false;
  std::string caption;                         // "CN7 Servo", "CN1", ...
  CaptionColour captionColour = CaptionColour::Normal;
  std::uint32_t nameColour = 0xF0CAA6;         // 0x00BBGGRR
  MonitorValueKind shows = MonitorValueKind::Percent;
  bool barVisible = true;                      // the progress bar (inputs)
  bool buttonVisible = false;                  // the output button (modes 0 and 2)
  bool trackBarVisible = false;                // CN7 and CN8 in servo mode
  bool redLedButton = false;                   // the output button shows the board's red LED
};

/// Whether `mode` drives the connector as an output (0 low at rest, 2 high at rest).
inline bool isOutputMode(int mode) { return mode == 0 || mode == 2; }

/// The look of connector `connector` (1..10) in `mode` on `variant`'s board. Modes outside
/// 0..6 are shown as percent with the bar, like an input.
MonitorConnectorLook monitorConnectorLook(int mode, int connector, ProductVariant variant);

}  // namespace kavel
