#pragma once
// The geometry of the compass dial: a 360 x 360 picture, 0 degrees up and clockwise, a scale of
// ticks outside a filled circle of radius 150, and a needle of radius 148.

#include <string>
#include <vector>

namespace kavel {

inline constexpr int kDialSize = 360;
inline constexpr int kDialCentre = kDialSize / 2;
inline constexpr int kDialRadius = 150;        // the filled circle; also the first, blue needle
inline constexpr int kNeedleRadius = 148;      // the heading's needle
inline constexpr unsigned kDialFaceColour = 0xF0CAA6;  // 0x00BBGGRR

struct DialPoint {
  int x = 0;
  int y = 0;
  bool operator==(const DialPoint&) const = default;
};

/// The point at `radius` in the direction of `degree` from the centre (cx, cy), with
/// theta = degree * 3.14159 / 180: x = cx + sin(theta) * radius, y = cy - cos(theta) * radius,
/// both rounded; at 90 degrees y is cy exactly.
DialPoint dialPoint(int degree, double radius, int cx = kDialCentre, int cy = kDialCentre);

/// One tick of the scale: a line from the centre to `end`; every 10 degrees also a label, the
/// degree number centred on `labelCentre`.
struct DialTick {
  int degree = 0;
  DialPoint end;
  std::string label;       // empty for the 5-degree ticks
  DialPoint labelCentre;
};

/// Every 10 degrees a tick to radius 158 with its number centred at radius 170, 4 pixels
/// higher; every other 5 degrees a tick to radius 153. In degree order from 0.
std::vector<DialTick> dialScale(int cx = kDialCentre, int cy = kDialCentre);

/// The end of the heading's needle.
inline DialPoint needleEnd(int heading, int cx = kDialCentre, int cy = kDialCentre) {
  return dialPoint(heading, kNeedleRadius, cx, cy);
}

}  // namespace kavel
