#pragma once
// The compass monitor's rules: which module the board has (from the options the sensor
// monitor learnt), the window title, and what a "D:" line shows: the heading's needle and the
// lit cells of the pitch and roll rows.

#include <string>
#include <string_view>

namespace kavel {

struct IoSetup;

enum class CompassModel { None, Hmc6352, SixD, NineD };

/// "USE_HMC" first, then "USE_DIR" (the 6D compass), then "USE_BNO" (the 9D compass).
CompassModel compassModelOf(const IoSetup& io);

/// "SNX4402(HMC6352)", "SNX5501(6D-Compass)", "SNX6603(9D-Compass)", or empty.
std::string compassTitle(CompassModel model);

/// The window caption: "Compass Monitor : " followed by the model title.
std::string compassCaption(CompassModel model);

/// Pitch and roll rows are shown for the 6D and the 9D compass only.
bool showsPitchRoll(CompassModel model);

/// One lit cell of a row of nine: cell 1..9, green, or the middle cell 5 in blue when the
/// reading is level (index 4) or outside the row.
struct CompassCell {
  int cell = 5;
  bool green = false;
  bool operator==(const CompassCell&) const = default;
};

/// The cell a row index lights: index 0..3 and 5..8 light cell index + 1 green; 4 and any
/// other value light cell 5 blue.
CompassCell compassCellOf(int index);

struct CompassReading {
  int heading = 999;       // degrees; 999 when not a number
  bool drawsNeedle = false;  // heading below 360
  CompassCell pitch;
  CompassCell roll;
  bool operator==(const CompassReading&) const = default;
};

/// Reads "D:" + heading (positions 3-5), pitch (7-9) and roll (11-13). Pitch index: pitch / 20
/// for the 6D compass (pitch 90 when not a number), pitch / 40 for the 9D compass (360 when
/// not a number); roll index roll / 20 (90 when not a number). Other models read the pitch
/// as the 6D compass does; their rows are not shown.
CompassReading readCompassLine(std::string_view line, CompassModel model);

}  // namespace kavel
