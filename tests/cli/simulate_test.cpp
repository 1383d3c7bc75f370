// kavel simulate: a program built as for the board, run on the simulated robot in a world, its
// trace checked against the robot's numbers; and every kind of bad input ending with its exit
// code and a message naming the cause.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "ProgramFiles.h"
#include "RunProcess.h"

using kavel::testing::kvlRow;
using kavel::testing::runProcess;
using kavel::testing::slurp;
using kavel::testing::writeKvl;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const char* kHeader =
    "time_ms,x_mm,y_mm,heading_deg,motor_l,motor_r,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2";

// Green LED on, drive ahead until the left bumper switch (CN3 "L-Touch") closes, stop, LED
// off, stand still for half a second.
const std::vector<std::string> kBumpRows = {
    kvlRow(35, 35, 0, 1),        kvlRow(21, 21, 50, 50), kvlRow(4, 14, 50, 20, 0, "L-Touch"), kvlRow(0, 3),
    kvlRow(20, 20, 0, 0),        kvlRow(34, 34, 0, 0),   kvlRow(29, 29, 500),
};

struct Row {
  long time = 0;
  double x = 0, y = 0, heading = 0;
  std::vector<int> ints;  // motor_l, motor_r, CN1..CN10, LED_G, LED_R1, LED_R2
  int motorL() const { return ints[0]; }
  int motorR() const { return ints[1]; }
  int cn(int n) const { return ints[static_cast<std::size_t>(n + 1)]; }
  int ledG() const { return ints[12]; }
};

std::vector<Row> rowsOf(const std::string& csv) {
  std::vector<Row> rows;
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    Row r;
    std::istringstream fields(line);
    std::string f;
    std::vector<std::string> all;
    while (std::getline(fields, f, ',')) all.push_back(f);
    if (all.size() != 19) return {};
    r.time = std::stol(all[0]);
    r.x = std::stod(all[1]);
    r.y = std::stod(all[2]);
    r.heading = std::stod(all[3]);
    for (std::size_t i = 4; i < all.size(); ++i) r.ints.push_back(std::stoi(all[i]));
    rows.push_back(r);
  }
  return rows;
}

class KavelSimulate : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavel_simulate_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string program(const std::string& name, const std::vector<std::string>& rows) const {
    writeKvl(path(name), rows);
    return path(name);
  }
  std::string world(const std::string& name, const std::string& json) const {
    std::ofstream(path(name)) << json;
    return path(name);
  }

  fs::path dir_;
};

}  // namespace

TEST_F(KavelSimulate, ABumperProgramDrivesToTheWallAndTheTraceFollowsTheRobotsNumbers) {
  const std::string prog = program("bump.Kvl", kBumpRows);
  const std::string w = world("wall.json", R"({"field": {"width_mm": 2000, "height_mm": 1500, "walls": true},
    "robot": {"at": [1000, 600], "heading_deg": 0}})");
  const auto r = runProcess({kKavel, "simulate", prog, "--world", w, "--trace", path("a.csv")});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("the program ended at"), std::string::npos) << r.err;

  const std::string csv = slurp(path("a.csv"));
  ASSERT_EQ(csv.substr(0, csv.find('\n')), kHeader);
  const std::vector<Row> rows = rowsOf(csv);
  ASSERT_GT(rows.size(), 500u);
  for (std::size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].time, static_cast<long>(i) * 10) << "every 10 ms from 0";

  const Row& atOne = rows[100];
  EXPECT_NEAR(atOne.y, 600 + 150, 0.3) << "150 mm/s straight ahead";
  EXPECT_EQ(atOne.x, 1000.0);
  EXPECT_EQ(atOne.heading, 0.0);
  EXPECT_EQ(atOne.motorL(), 50);
  EXPECT_EQ(atOne.motorR(), 50);
  EXPECT_EQ(atOne.cn(3), 0) << "the switch reads 0 released";
  EXPECT_EQ(atOne.ledG(), 1);

  std::size_t pressed = 0;
  while (pressed < rows.size() && rows[pressed].cn(3) == 0) ++pressed;
  ASSERT_LT(pressed, rows.size()) << "the switch closed";
  EXPECT_NEAR(rows[pressed].y, 1500 - 90, 2.0) << "at the wall";
  EXPECT_EQ(rows[pressed].cn(3), 1023) << "and reads 1023 pressed";
  const Row& last = rows.back();
  EXPECT_NEAR(last.y, rows[pressed].y, 0.5) << "the wall stopped the body";
  EXPECT_EQ(last.motorL(), 0);
  EXPECT_EQ(last.cn(3), 1023);
  EXPECT_EQ(last.cn(4), 1023) << "head on, R-Touch closes too";
  EXPECT_EQ(last.ledG(), 0);
  EXPECT_GE(last.time - rows[pressed].time, 490) << "it stood for half a second";

  const auto again = runProcess({kKavel, "simulate", prog, "--world", w, "--trace", path("b.csv")});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(slurp(path("b.csv")), csv) << "the same program and world give the same trace, byte for byte";
}

TEST_F(KavelSimulate, OppositeMotorValuesSpinTheRobotAnticlockwiseOnTheSpot) {
  const std::string prog =
      program("spin.Kvl", {kvlRow(23, 23, -50, 50), kvlRow(29, 29, 1000), kvlRow(20, 20), kvlRow(29, 29, 100)});
  const auto r = runProcess({kKavel, "simulate", prog, "--trace", path("spin.csv"), "--seconds", "5"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const std::vector<Row> rows = rowsOf(slurp(path("spin.csv")));
  ASSERT_EQ(rows.size(), 111u) << "user_main returned at 1.1 s";
  const double turned = 300.0 / 140.0 * 180.0 / M_PI;
  EXPECT_NEAR(rows[100].heading, 360 - turned, 0.2);
  EXPECT_EQ(rows[100].x, 1000.0) << "the default world: the field's centre";
  EXPECT_EQ(rows[100].y, 750.0);
  EXPECT_EQ(rows.back().heading, rows[101].heading) << "motor(0, 0) stops at once";
}

TEST_F(KavelSimulate, BadInputEndsWithItsExitCodeAndNamesTheCause) {
  const std::string good = program("good.Kvl", {kvlRow(29, 29, 100)});
  const std::string broken = world("broken.json", "{\"field\": {\"width_mm\": 2000,\n\"height_mm\": 1500,\n}}");
  const std::string inWall = world("inwall.json", R"({"field": {"width_mm": 2000, "height_mm": 1500},
 "walls": [{"from": [1000, 0], "to": [1000, 1500]}]})");
  const std::string outside = world("outside.json", R"({"field": {"width_mm": 2000, "height_mm": 1500},
 "robot": {"at": [3000, 100]}})");
  struct Case {
    std::vector<std::string> args;
    int exit;
    bool onStdout;
    std::string says;
  };
  const std::vector<Case> cases = {
      {{}, 1, false, "no program file given"},
      {{good, "--seconds", "0"}, 1, false, "--seconds takes"},
      {{good, "--seconds", "ten"}, 1, false, "--seconds takes"},
      {{good, "--seconds", "3601"}, 1, false, "--seconds takes"},
      {{good, "--world"}, 1, false, "--world needs a file name"},
      {{good, "--fast"}, 1, false, "unexpected argument \"--fast\""},
      {{path("missing.Kvl")}, 1, false, "missing.Kvl"},
      {{good, "--world", path("missing.json")}, 1, false, "missing.json"},
      {{good, "--world", broken}, 1, false, "broken.json:3:"},
      {{good, "--world", inWall}, 1, false, "inwall.json:1: the robot at [1000, 750] stands inside walls[0]"},
      {{good, "--world", outside}, 1, false, "outside.json:2: the robot at [3000, 100] does not lie inside"},
      {{good, "--trace", path("no/such/folder/t.csv")}, 1, false, "cannot write the trace"},
      {{program("bad.Kvl", {kvlRow(33, 33, 0, 0, 0, "nothing_here++;")})}, 2, true, ":Error: "},
      {{program("undefined.Kvl", {kvlRow(33, 33, 0, 0, 0, "void user_sub_7(void); user_sub_7();")})},
       2,
       true,
       "User.c:26:Error: undefined reference to 'user_sub_7'"},
      {{program("divide.Kvl", {kvlRow(33, 33, 0, 0, 0, "gV[VAR_B] = 10 / gV[VAR_A];")})},
       3,
       false,
       "the program crashed at 0.00 s of simulated time: a division by zero in User.c line 26"},
      {{program("array.Kvl", {kvlRow(29, 29, 20), kvlRow(33, 33, 0, 0, 0, "gV[gV[VAR_A] + 26] = 1;")})},
       3,
       false,
       "crashed at 0.02 s of simulated time: an index outside its array in User.c line 27"},
      {{program("loop.Kvl", {kvlRow(4, 1), kvlRow(31, 31, 0, 1), kvlRow(0, 3)})}, 3, false, "the program stalled"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv{kKavel, "simulate"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    EXPECT_EQ(r.exitCode, c.exit) << shown << "\n" << r.out << r.err;
    EXPECT_NE((c.onStdout ? r.out : r.err).find(c.says), std::string::npos) << shown << "\nout: " << r.out << "\nerr: " << r.err;
  }
}

TEST_F(KavelSimulate, AProgramThatNeverEndsStopsAfterItsSecondsAndAFailedBuildKeepsTheOldTrace) {
  const std::string forever = program("forever.Kvl", {kvlRow(4, 1), kvlRow(21, 21, 30, 30), kvlRow(0, 3)});
  const auto r = runProcess({kKavel, "simulate", forever, "--seconds", "1.5", "--trace", path("t.csv")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("the run ended at 1.50 s of simulated time; the program was still running"), std::string::npos)
      << r.err;
  const std::vector<Row> rows = rowsOf(slurp(path("t.csv")));
  ASSERT_EQ(rows.size(), 151u) << "0 to 1500 ms";
  EXPECT_EQ(rows.back().time, 1500);

  const std::string before = slurp(path("t.csv"));
  const std::string bad = program("bad.Kvl", {kvlRow(33, 33, 0, 0, 0, "nothing_here++;")});
  EXPECT_EQ(runProcess({kKavel, "simulate", bad, "--trace", path("t.csv")}).exitCode, 2);
  EXPECT_EQ(slurp(path("t.csv")), before);
}

TEST_F(KavelSimulate, TheLineFollowingSampleKeepsToTheTrack) {
  const auto r = runProcess({kKavel, "simulate", KAVEL_BIN_DIR "/samples/LineFollow.Kvl", "--world",
                             KAVEL_BIN_DIR "/worlds/line_track.json", "--seconds", "30", "--trace", path("l.csv")});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const std::vector<Row> rows = rowsOf(slurp(path("l.csv")));
  ASSERT_EQ(rows.size(), 3001u);
  double worst = 0;
  for (const Row& row : rows) {
    // The track is an ellipse around (1000, 750) with half axes of 700 and 450 mm.
    const double sx = row.x + 70 * std::sin(row.heading * M_PI / 180), sy = row.y + 70 * std::cos(row.heading * M_PI / 180);
    worst = std::max(worst, std::abs(std::hypot((sx - 1000) / 700, (sy - 750) / 450) - 1));
  }
  EXPECT_LT(worst, 0.06) << "the line sensor never strays far from the line";
  EXPECT_GT(rows.back().x - rows.front().x, -2000) << "sanity";
}
