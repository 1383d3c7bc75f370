#pragma once
// Plane geometry in millimetres and compass headings, shared by the world checks and sensors.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/World.h"

namespace kavel::sim {

inline double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

/// Distance from `p` to the segment from `a` to `b`.
inline double distanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return distance(p, {a.x + t * dx, a.y + t * dy});
}

inline double radians(double deg) { return deg * std::numbers::pi / 180.0; }
inline double degrees(double rad) { return rad * 180.0 / std::numbers::pi; }

/// A heading brought into 0 <= h < 360.
inline double normalHeading(double deg) {
  double h = std::fmod(deg, 360.0);
  if (h < 0) h += 360.0;
  return h >= 360.0 ? 0.0 : h;
}

/// An angle brought into -180 < a <= 180.
inline double signedAngle(double deg) {
  double a = normalHeading(deg);
  return a > 180.0 ? a - 360.0 : a;
}

/// The unit vector of a compass heading (0 = +y, clockwise).
inline Point headingVector(double headingDeg) {
  const double r = radians(headingDeg);
  return {std::sin(r), std::cos(r)};
}

/// The compass bearing from `from` to `to`, relative to `headingDeg`: 0 straight ahead,
/// negative to the left.
inline double relativeBearing(Point from, double headingDeg, Point to) {
  return signedAngle(degrees(std::atan2(to.x - from.x, to.y - from.y)) - headingDeg);
}

/// The point `distanceMm` away from `p` in direction `headingDeg`.
inline Point ahead(Point p, double headingDeg, double distanceMm) {
  const Point v = headingVector(headingDeg);
  return {p.x + v.x * distanceMm, p.y + v.y * distanceMm};
}

}  // namespace kavel::sim
