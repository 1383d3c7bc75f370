#pragma once
// The direction-sensor test: heading, pitch or roll compared with a target and a tolerance,
// each a slider value in whole degrees or a variable. The slider ranges follow the axis.

#include <string>

namespace kavel {

enum DirectionAxis : int { kAxisDir = 0, kAxisPitch = 1, kAxisRoll = 2 };

struct DirectionRanges {
  int targetMax = 360;
  int targetTick = 30;
  int toleranceMax = 180;
  int toleranceTick = 15;
  bool operator==(const DirectionRanges&) const = default;
};

/// Slider ranges (each from 0) and tick spacing of `axis`: the heading, and the pitch of the
/// 9-axis sensor (`useBno`), span a full turn; the other pitch and the roll half of one. An
/// axis outside 0..2 is the heading.
DirectionRanges directionRanges(int axis, bool useBno);

struct DirectionTest {
  int axis = kAxisDir;
  int target = 0;          // degrees, within the axis' target range
  int tolerance = 10;      // degrees, within the axis' tolerance range
  int targetSource = 0;    // 0 the slider, 1..26 the variables A..Z
  int toleranceSource = 0;
  bool operator==(const DirectionTest&) const = default;
};

/// The test a row holds, as the dialog opens it: an axis outside 0..2 is the heading; target
/// and tolerance are clamped to the axis' ranges and a tolerance of 0 becomes 10; a source
/// outside 0..26 is the slider.
DirectionTest directionTestOf(int val0, int val1, bool useBno);

struct DirectionValues {
  int val0 = 0;
  int val1 = 0;
  bool operator==(const DirectionValues&) const = default;
};

/// val0 = target * 1000 + tolerance; val1 = axis * 100000 + target source * 1000 + tolerance
/// source.
DirectionValues packDirectionTest(const DirectionTest& test);

/// Caption of a slider value item: "%3d Deg".
std::string degreeCaption(int degrees);

}  // namespace kavel
