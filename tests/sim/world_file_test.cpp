// World files: what a good one holds, and a message naming file and line for every mistake.

#include <gtest/gtest.h>

#include <filesystem>

#include "sim/WorldFile.h"

using namespace kavel::sim;

namespace {

const char* kField = R"("field": {"width_mm": 2000, "height_mm": 1500})";

std::string doc(const std::string& rest) { return std::string("{") + kField + (rest.empty() ? "" : ",\n") + rest + "\n}"; }

}  // namespace

TEST(WorldFile, TheExampleWorldReadsWithEveryPart) {
  const WorldReadResult r = parseWorld(R"({"field": {"width_mm": 2000, "height_mm": 1500, "floor": "#e0e0e0", "walls": false},
 "lines": [{"points": [[100, 100], [1900, 100], [1900, 1400]], "width_mm": 25, "colour": "#101010"}],
 "walls": [{"from": [1000, 0], "to": [1000, 500]}],
 "balls": [{"at": [1500, 1000], "radius_mm": 37, "infrared": false}],
 "objects": [{"at": [300, 1200], "radius_mm": 50, "signature": 3}],
 "robot": {"at": [400, 700], "heading_deg": -90}})",
                                       "w.json");
  ASSERT_TRUE(r.ok) << r.error;
  const World& w = r.world;
  EXPECT_EQ(w.floor, (Colour{0xe0, 0xe0, 0xe0}));
  EXPECT_FALSE(w.borderWalls);
  ASSERT_EQ(w.lines.size(), 1u);
  EXPECT_EQ(w.lines[0].points.size(), 3u);
  EXPECT_EQ(w.lines[0].widthMm, 25);
  EXPECT_EQ(w.lines[0].colour, (Colour{0x10, 0x10, 0x10}));
  EXPECT_EQ(w.walls.size(), 1u);
  EXPECT_FALSE(w.balls.at(0).infrared);
  EXPECT_EQ(w.objects.at(0).signature, 3);
  EXPECT_EQ(w.robot.at, (Point{400, 700}));
  EXPECT_EQ(w.robot.headingDeg, 270) << "headings are brought into 0..360";

  const WorldReadResult again = parseWorld(worldToJson(w), "again.json");
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.world, w) << "a world written out reads back the same";
}

TEST(WorldFile, OnlyTheFieldIsNeeded) {
  const WorldReadResult r = parseWorld(doc(""), "w.json");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.world.borderWalls);
  EXPECT_EQ(r.world.floor, (Colour{255, 255, 255}));
  EXPECT_EQ(r.world.robot.at, (Point{1000, 750})) << "the robot starts at the centre";
  EXPECT_EQ(r.world.robot.headingDeg, 0);
  const WorldReadResult ball = parseWorld(doc(R"("balls": [{"at": [500, 500]}], "objects": [{"at": [1500, 500]}])"), "w");
  ASSERT_TRUE(ball.ok) << ball.error;
  EXPECT_EQ(ball.world.balls[0].radiusMm, 37);
  EXPECT_TRUE(ball.world.balls[0].infrared);
  EXPECT_EQ(ball.world.objects[0].radiusMm, 50);
  EXPECT_EQ(ball.world.objects[0].signature, 1);
  EXPECT_EQ(defaultWorld(), r.world) << "the default world is the empty walled field";
}

TEST(WorldFile, EveryMistakeIsNamedWithFileAndLine) {
  struct Case {
    std::string text;
    int line;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"{\"field\": {\"width_mm\": 2000,\n \"height_mm\": }\n}", 2, "not a valid JSON world"},
      {"", 1, "not a valid JSON world"},
      {"[1, 2]", 1, "one JSON object"},
      {"{\"robot\": {\"at\": [100, 100]}}", 1, "no \"field\""},
      {doc("\"wals\": []"), 2, "unknown key \"wals\""},
      {"{\"field\": {\"width_mm\": \"wide\", \"height_mm\": 1500}}", 1, "field.width_mm must be a number"},
      {"{\"field\":\n {\"width_mm\": 50, \"height_mm\": 1500}}", 2, "must lie between 200 and 20000 mm, not 50"},
      {"{\"field\": {\"width_mm\": 2000}}", 1, "no \"height_mm\""},
      {"{\"field\": {\"width_mm\": 2000, \"height_mm\": 1500, \"floor\": \"white\"}}", 1, "must be a colour"},
      {doc("\"walls\": [\n {\"from\": [0, 0], \"to\": [10, 10]},\n {\"from\": [5, 5]}]"), 4, "walls[1] has no \"to\""},
      {doc("\"walls\": [{\"from\": [0, 0],\n \"to\": [10, 10, 10]}]"), 3, "walls[0].to must be a point"},
      {doc("\"walls\": [{\"from\": [5, 5], \"to\": [5, 5]}]"), 2, "starts and ends at the same point"},
      {doc("\"lines\": [{\"points\": [[1, 1]]}]"), 2, "at least two points"},
      {doc("\"lines\": [{\"points\": [[1, 1], [2, 2]], \"width_mm\": 0}]"), 2, "lines[0].width_mm must lie between"},
      {doc("\"objects\": [{\"at\": [500, 500],\n \"signature\": 9}]"), 3, "signature must lie between 1 and 7"},
      {doc("\"objects\": [{\"at\": [500, 500], \"signature\": 1.5}]"), 2, "whole number"},
      {doc("\"balls\": [{\"at\": [500, 500], \"infrared\": 1}]"), 2, "true or false"},
      {doc("\"robot\":\n {\"at\":\n [50, 50]}"), 4, "the robot at [50, 50] does not lie inside the 2000 x 1500 mm field"},
      {doc("\"robot\": {\"at\": [1000, 1480]}"), 2, "does not lie inside"},
      {doc("\"walls\": [{\"from\": [900, 0], \"to\": [900, 1500]}],\n\"robot\": {\"at\": [950, 700]}"), 3,
       "stands inside walls[0]"},
      {doc("\"objects\": [{\"at\": [1000, 850]}]"), 1, "stands inside objects[0]"},
      {doc("\"balls\": [\n{\"at\": [10, 10]}]"), 3, "balls[0] at [10, 10] does not lie inside"},
      {doc("\"balls\": [{\"at\": [500, 500]}],\n\"walls\": [{\"from\": [500, 0], \"to\": [500, 1000]}]"), 2,
       "balls[0] at [500, 500] lies inside walls[0]"},
      {doc("\"robot\": {\"heading_deg\": 1e999}"), 0, "not a valid JSON world"},
  };
  for (const Case& c : cases) {
    const WorldReadResult r = parseWorld(c.text, "maze.json");
    EXPECT_FALSE(r.ok) << c.text;
    const std::string prefix = c.line > 0 ? "maze.json:" + std::to_string(c.line) + ":" : "maze.json:";
    EXPECT_EQ(r.error.rfind(prefix, 0), 0u) << "expected " << prefix << " in: " << r.error;
    EXPECT_NE(r.error.find(c.says), std::string::npos) << "expected \"" << c.says << "\" in: " << r.error;
  }
}

TEST(WorldFile, AFileThatCannotBeReadIsNamed) {
  const WorldReadResult missing = readWorldFile("/nonexistent/kavel/world.json");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("/nonexistent/kavel/world.json"), std::string::npos) << missing.error;
  const WorldReadResult folder = readWorldFile("/tmp");
  EXPECT_FALSE(folder.ok);
  EXPECT_NE(folder.error.find("/tmp"), std::string::npos) << folder.error;
}

TEST(WorldFile, TheSampleWorldsRead) {
  int worlds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KAVEL_SOURCE_DIR "/data/worlds")) {
    if (entry.path().extension() != ".json") continue;
    ++worlds;
    const WorldReadResult r = readWorldFile(entry.path().string());
    EXPECT_TRUE(r.ok) << r.error;
  }
  EXPECT_GE(worlds, 4) << "open field, line track, walled maze and ball field";
}
