#pragma once
// A world the robot drives in: a field with its floor colour, dark lines on the floor, walls,
// balls and camera objects, and where the robot starts. Millimetres, origin at the field's
// bottom-left corner, x to the right, y up; headings in compass degrees (0 = +y, clockwise).

#include <cstdint>
#include <string>
#include <vector>

namespace kavel::sim {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

/// "#rrggbb" read as three bytes.
struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Colour&) const = default;
};

struct FloorLine {
  std::vector<Point> points;
  double widthMm = 20;
  Colour colour{0, 0, 0};
  bool operator==(const FloorLine&) const = default;
};

struct Wall {
  Point from;
  Point to;
  bool operator==(const Wall&) const = default;
};

struct Ball {
  Point at;
  double radiusMm = 37;
  bool infrared = true;
  bool operator==(const Ball&) const = default;
};

struct CameraObject {
  Point at;
  double radiusMm = 50;
  int signature = 1;  // 1..7
  bool operator==(const CameraObject&) const = default;
};

struct RobotStart {
  Point at;
  double headingDeg = 0;
  bool operator==(const RobotStart&) const = default;
};

struct World {
  double widthMm = 2000;
  double heightMm = 1500;
  Colour floor{255, 255, 255};
  bool borderWalls = true;
  std::vector<FloorLine> lines;
  std::vector<Wall> walls;
  std::vector<Ball> balls;
  std::vector<CameraObject> objects;
  RobotStart robot{{1000, 750}, 0};
  bool operator==(const World&) const = default;
};

/// The world without a world file: an empty walled 2000 x 1500 mm field, the robot at its
/// centre heading 0.
World defaultWorld();

/// The walls the robot meets: the listed ones, and the field's border when it is walled.
std::vector<Wall> solidWalls(const World& world);

}  // namespace kavel::sim
