#include "core/modules/DirectionValues.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {
namespace {

int sourceOf(int digits) { return digits >= 0 && digits <= 26 ? digits : 0; }

}  // namespace

DirectionRanges directionRanges(int axis, bool useBno) {
  const bool fullTurn = axis == kAxisPitch ? useBno : axis != kAxisRoll;
  if (fullTurn) return {360, 30, 180, 15};
  return {180, 15, 90, 10};
}

DirectionTest directionTestOf(int val0, int val1, bool useBno) {
  DirectionTest t;
  const int axis = val1 / 100000;
  t.axis = axis == kAxisPitch || axis == kAxisRoll ? axis : kAxisDir;
  const DirectionRanges r = directionRanges(t.axis, useBno);
  t.target = std::clamp(val0 / 1000, 0, r.targetMax);
  t.tolerance = std::clamp(val0 % 1000, 0, r.toleranceMax);
  if (t.tolerance == 0) t.tolerance = 10;
  t.targetSource = sourceOf(val1 / 1000 % 100);
  t.toleranceSource = sourceOf(val1 % 100);
  return t;
}

DirectionValues packDirectionTest(const DirectionTest& t) {
  return {t.target * 1000 + t.tolerance, t.axis * 100000 + t.targetSource * 1000 + t.toleranceSource};
}

std::string degreeCaption(int degrees) { return text::format("%3d Deg", degrees); }

}  // namespace kavel
