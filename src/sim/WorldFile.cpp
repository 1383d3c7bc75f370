#include "sim/WorldFile.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "sim/Geometry.h"
#include "sim/JsonLocation.h"
#include "sim/WorldCheck.h"

namespace kavel::sim {
namespace {

using nlohmann::json;

// Beyond these a world is a typing mistake, and the physics would lose its precision.
constexpr double kMinFieldMm = 200, kMaxFieldMm = 20000;
constexpr double kMaxCoordinateMm = 100000;

/// A value at `path` that makes no sense; carries the path so the reader can name its line.
struct Problem {
  std::vector<JsonStep> path;
  std::string text;
};

class Reader {
 public:
  World read(const json& doc) {
    if (!doc.is_object()) fail({}, "a world file holds one JSON object, {\"field\": {...}, ...}");
    only(doc, {}, {"field", "lines", "walls", "balls", "objects", "robot"});
    World w;
    if (!doc.contains("field")) fail({}, "the world has no \"field\"; it is the one part every world needs");
    readField(doc["field"], {key("field")}, w);
    w.robot.at = {w.widthMm / 2, w.heightMm / 2};
    each(doc, "lines", [&](const json& j, const Path& p) { w.lines.push_back(readLine(j, p)); });
    each(doc, "walls", [&](const json& j, const Path& p) { w.walls.push_back(readWall(j, p)); });
    each(doc, "balls", [&](const json& j, const Path& p) { w.balls.push_back(readBall(j, p)); });
    each(doc, "objects", [&](const json& j, const Path& p) { w.objects.push_back(readObject(j, p)); });
    if (doc.contains("robot")) readRobot(doc["robot"], {key("robot")}, w.robot);
    return w;
  }

 private:
  using Path = std::vector<JsonStep>;

  static JsonStep key(const std::string& k) { return {k, -1}; }
  static Path plus(Path p, JsonStep s) {
    p.push_back(std::move(s));
    return p;
  }
  [[noreturn]] static void fail(Path path, std::string text) { throw Problem{std::move(path), std::move(text)}; }
  static std::string name(const Path& p) { return p.empty() ? "the world" : jsonPathText(p); }

  static void object(const json& j, const Path& p) {
    if (!j.is_object()) fail(p, name(p) + " must be a JSON object {...}");
  }
  static void only(const json& j, const Path& p, std::initializer_list<const char*> keys) {
    for (auto it = j.begin(); it != j.end(); ++it) {
      bool known = false;
      std::string list;
      for (const char* k : keys) {
        known = known || it.key() == k;
        list += list.empty() ? k : std::string(", ") + k;
      }
      if (!known) fail(plus(p, key(it.key())), "unknown key \"" + it.key() + "\" in " + name(p) + " (it takes " + list + ")");
    }
  }
  template <class F>
  static void each(const json& doc, const char* k, F&& f) {
    if (!doc.contains(k)) return;
    const Path p{key(k)};
    const json& list = doc[k];
    if (!list.is_array()) fail(p, std::string(k) + " must be a JSON array [...]");
    for (std::size_t i = 0; i < list.size(); ++i) f(list[i], plus(p, JsonStep{{}, static_cast<int>(i)}));
  }

  static double number(const json& j, const Path& p, double lo, double hi, const char* unit) {
    if (!j.is_number()) fail(p, name(p) + " must be a number" + std::string(*unit ? " in " : "") + unit);
    const double v = j.get<double>();
    if (!std::isfinite(v) || v < lo || v > hi) {
      fail(p, name(p) + text::format(" must lie between %g and %g", lo, hi) + (*unit ? std::string(" ") + unit : "") +
                  text::format(", not %g", v));
    }
    return v;
  }
  static double member(const json& j, const Path& p, const char* k, double fallback, double lo, double hi, const char* unit) {
    return j.contains(k) ? number(j[k], plus(p, key(k)), lo, hi, unit) : fallback;
  }
  static Point point(const json& j, const Path& p) {
    if (!j.is_array() || j.size() != 2 || !j[0].is_number() || !j[1].is_number()) {
      fail(p, name(p) + " must be a point [x, y] in millimetres");
    }
    return {number(j[0], plus(p, {{}, 0}), -kMaxCoordinateMm, kMaxCoordinateMm, "mm"),
            number(j[1], plus(p, {{}, 1}), -kMaxCoordinateMm, kMaxCoordinateMm, "mm")};
  }
  static Colour colour(const json& j, const Path& p) {
    const auto bad = [&] { fail(p, name(p) + " must be a colour \"#rrggbb\" (for example \"#000000\" for black)"); };
    if (!j.is_string()) bad();
    const std::string s = j.get<std::string>();
    if (s.size() != 7 || s[0] != '#') bad();
    int v[3];
    for (int i = 0; i < 3; ++i) {
      const std::string hex = s.substr(1 + 2 * static_cast<std::size_t>(i), 2);
      if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) bad();
      v[i] = std::stoi(hex, nullptr, 16);
    }
    return {static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1]), static_cast<std::uint8_t>(v[2])};
  }
  static bool flag(const json& j, const Path& p) {
    if (!j.is_boolean()) fail(p, name(p) + " must be true or false");
    return j.get<bool>();
  }

  static void readField(const json& j, const Path& p, World& w) {
    object(j, p);
    only(j, p, {"width_mm", "height_mm", "floor", "walls"});
    for (const char* k : {"width_mm", "height_mm"}) {
      if (!j.contains(k)) fail(p, std::string("the field has no \"") + k + "\"; give its size in millimetres");
    }
    w.widthMm = number(j["width_mm"], plus(p, key("width_mm")), kMinFieldMm, kMaxFieldMm, "mm");
    w.heightMm = number(j["height_mm"], plus(p, key("height_mm")), kMinFieldMm, kMaxFieldMm, "mm");
    if (j.contains("floor")) w.floor = colour(j["floor"], plus(p, key("floor")));
    if (j.contains("walls")) w.borderWalls = flag(j["walls"], plus(p, key("walls")));
  }
  static FloorLine readLine(const json& j, const Path& p) {
    object(j, p);
    only(j, p, {"points", "width_mm", "colour"});
    FloorLine line;
    const Path pts = plus(p, key("points"));
    if (!j.contains("points") || !j["points"].is_array() || j["points"].size() < 2) {
      fail(j.contains("points") ? pts : p, name(pts) + " must list at least two points [[x, y], [x, y], ...]");
    }
    for (std::size_t i = 0; i < j["points"].size(); ++i) {
      line.points.push_back(point(j["points"][i], plus(pts, {{}, static_cast<int>(i)})));
    }
    line.widthMm = member(j, p, "width_mm", line.widthMm, 1, 1000, "mm");
    if (j.contains("colour")) line.colour = colour(j["colour"], plus(p, key("colour")));
    return line;
  }
  static Wall readWall(const json& j, const Path& p) {
    object(j, p);
    only(j, p, {"from", "to"});
    for (const char* k : {"from", "to"}) {
      if (!j.contains(k)) fail(p, name(p) + " has no \"" + k + "\"; a wall runs from [x, y] to [x, y]");
    }
    Wall wall{point(j["from"], plus(p, key("from"))), point(j["to"], plus(p, key("to")))};
    if (distance(wall.from, wall.to) < 1) fail(p, name(p) + " starts and ends at the same point");
    return wall;
  }
  static Ball readBall(const json& j, const Path& p) {
    object(j, p);
    only(j, p, {"at", "radius_mm", "infrared"});
    if (!j.contains("at")) fail(p, name(p) + " has no \"at\"; give the ball's centre [x, y]");
    Ball b;
    b.at = point(j["at"], plus(p, key("at")));
    b.radiusMm = member(j, p, "radius_mm", b.radiusMm, 5, 500, "mm");
    if (j.contains("infrared")) b.infrared = flag(j["infrared"], plus(p, key("infrared")));
    return b;
  }
  static CameraObject readObject(const json& j, const Path& p) {
    object(j, p);
    only(j, p, {"at", "radius_mm", "signature"});
    if (!j.contains("at")) fail(p, name(p) + " has no \"at\"; give the object's centre [x, y]");
    CameraObject o;
    o.at = point(j["at"], plus(p, key("at")));
    o.radiusMm = member(j, p, "radius_mm", o.radiusMm, 5, 1000, "mm");
    if (j.contains("signature")) {
      const Path s = plus(p, key("signature"));
      if (!j["signature"].is_number_integer()) fail(s, name(s) + " must be a whole number from 1 to 7");
      o.signature = static_cast<int>(number(j["signature"], s, 1, 7, ""));
    }
    return o;
  }
  static void readRobot(const json& j, const Path& p, RobotStart& robot) {
    object(j, p);
    only(j, p, {"at", "heading_deg"});
    if (j.contains("at")) robot.at = point(j["at"], plus(p, key("at")));
    robot.headingDeg = normalHeading(member(j, p, "heading_deg", 0, -36000, 36000, "degrees"));
  }
};

std::string located(const std::string& name, std::string_view text, const std::vector<JsonStep>& path,
                    const std::string& what) {
  return name + ":" + std::to_string(jsonLineOf(text, path)) + ": " + what;
}

json pointJson(Point p) { return json::array({p.x, p.y}); }

std::string colourText(Colour c) { return text::format("#%02x%02x%02x", c.r, c.g, c.b); }

}  // namespace

WorldReadResult parseWorld(std::string_view text, const std::string& name) {
  WorldReadResult result;
  json doc;
  try {
    doc = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& e) {
    // The library's own sentence after its "[json.exception...] parse error at line L, column C: ".
    std::string what = e.what();
    const std::size_t colon = what.find(": ");
    if (colon != std::string::npos) what = what.substr(colon + 2);
    std::size_t at = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    const std::size_t lineStart = text.rfind('\n', at == 0 ? 0 : at - 1);
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    const std::size_t column = at - (lineStart == std::string_view::npos || at == 0 ? 0 : lineStart + 1) + 1;
    result.error = name + ":" + std::to_string(line) + ":" + std::to_string(column) + ": not a valid JSON world: " + what;
    return result;
  } catch (const json::exception& e) {
    // A number too large for a double, and the like: no position to name.
    std::string what = e.what();
    const std::size_t bracket = what.find("] ");
    if (bracket != std::string::npos) what = what.substr(bracket + 2);
    result.error = name + ": not a valid JSON world: " + what;
    return result;
  }
  try {
    result.world = Reader().read(doc);
  } catch (const Problem& p) {
    result.error = located(name, text, p.path, p.text);
    return result;
  }
  if (const auto problem = checkWorld(result.world)) {
    result.error = located(name, text, problem->path, problem->text);
    return result;
  }
  result.ok = true;
  return result;
}

WorldReadResult readWorldFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!text::readFileBytes(path, bytes, &error)) {
    WorldReadResult result;
    result.error = error;
    return result;
  }
  return parseWorld(bytes, path);
}

std::string worldToJson(const World& w) {
  json doc;
  doc["field"] = {{"width_mm", w.widthMm}, {"height_mm", w.heightMm}, {"floor", colourText(w.floor)}, {"walls", w.borderWalls}};
  json lines = json::array();
  for (const FloorLine& l : w.lines) {
    json points = json::array();
    for (Point p : l.points) points.push_back(pointJson(p));
    lines.push_back({{"points", points}, {"width_mm", l.widthMm}, {"colour", colourText(l.colour)}});
  }
  json walls = json::array();
  for (const Wall& wall : w.walls) walls.push_back({{"from", pointJson(wall.from)}, {"to", pointJson(wall.to)}});
  json balls = json::array();
  for (const Ball& b : w.balls) balls.push_back({{"at", pointJson(b.at)}, {"radius_mm", b.radiusMm}, {"infrared", b.infrared}});
  json objects = json::array();
  for (const CameraObject& o : w.objects) {
    objects.push_back({{"at", pointJson(o.at)}, {"radius_mm", o.radiusMm}, {"signature", o.signature}});
  }
  doc["lines"] = lines;
  doc["walls"] = walls;
  doc["balls"] = balls;
  doc["objects"] = objects;
  doc["robot"] = {{"at", pointJson(w.robot.at)}, {"heading_deg", w.robot.headingDeg}};
  return doc.dump(1);
}

}  // namespace kavel::sim
