// The example programs of File > Examples, as build/bin holds them: each builds with the sample
// build folder, each runs in the simulator in its world without error, and those that move do
// move. Each is copied first, as the menu copies it, so nothing is written into build/bin.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "RunProcess.h"
#include "core/shell/ExampleIndex.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

const std::string kBin = KAVEL_BIN_DIR "/";
const std::string kKavel = kBin + "kavel";

struct Pose {
  double x = 0, y = 0, heading = 0;
};

// The first and the last pose of a trace.
std::pair<Pose, Pose> ends(const std::string& csv) {
  std::istringstream in(csv);
  std::string line, first, last;
  std::getline(in, line);
  while (std::getline(in, line)) {
    if (first.empty()) first = line;
    last = line;
  }
  auto pose = [](const std::string& l) {
    Pose p;
    std::sscanf(l.c_str(), "%*[^,],%lf,%lf,%lf", &p.x, &p.y, &p.heading);
    return p;
  };
  return {pose(first), pose(last)};
}

// How far the robot went from its start, in millimetres, counting a turn on the spot as the
// arc its body's edge covers.
double travelled(const std::string& csv) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  double total = 0;
  bool have = false;
  Pose prev;
  while (std::getline(in, line)) {
    Pose p;
    if (std::sscanf(line.c_str(), "%*[^,],%lf,%lf,%lf", &p.x, &p.y, &p.heading) != 3) continue;
    if (have) {
      double turn = std::fabs(p.heading - prev.heading);
      if (turn > 180) turn = 360 - turn;
      total += std::hypot(p.x - prev.x, p.y - prev.y) + turn * M_PI / 180 * 90;
    }
    prev = p;
    have = true;
  }
  return total;
}

class Examples : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-examples-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    fs::create_directories(dir_ / "Build");
    fs::copy(kBin + "Build/Build_V190617", dir_ / "Build/Build_V190617", fs::copy_options::recursive);
    std::ofstream(dir_ / "kavelide.ini") << "[PRJ]\r\nBatFile_=" << (dir_ / "Build/Build_V190617/BuildPath.Bat").string()
                                         << "\r\n";
    std::string error;
    ASSERT_TRUE(kavel::readExampleIndex(kavel::examplesFolder(kBin) + "index.ini", entries_, &error)) << error;
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir_);
  }
  // A copy of the example's files in a folder of its own, as File > Examples makes one.
  fs::path copyOf(const kavel::ExampleEntry& e) {
    const fs::path folder = dir_ / fs::path(e.file).stem();
    fs::create_directories(folder);
    for (const std::string& f : e.files()) fs::copy_file(kavel::examplesFolder(kBin) + f, folder / f);
    return folder;
  }
  fs::path dir_;
  std::vector<kavel::ExampleEntry> entries_;
};

}  // namespace

TEST_F(Examples, EachBuildsAndRunsInItsWorldAndTheMovingOnesMove) {
  ASSERT_GE(entries_.size(), 12u);
  for (const kavel::ExampleEntry& e : entries_) {
    SCOPED_TRACE(e.file);
    const fs::path folder = copyOf(e);
    const std::string program = (folder / e.file).string();

    const auto rows = runProcess({kKavel, "rows", program});
    ASSERT_EQ(rows.exitCode, 0) << rows.err;
    EXPECT_EQ(rows.out.find("1\t0\t33\t33\t0\t0\t0\t// "), 0u) << "opens with a comment row:\n" << rows.out;

    const auto build = runProcess({kKavel, "--ini", (dir_ / "kavelide.ini").string(), "build", program});
    EXPECT_EQ(build.exitCode, 0) << build.out << build.err;
    EXPECT_NE(build.out.find("Errors    : 0"), std::string::npos) << build.out;
    EXPECT_EQ(build.out.find(":Warning:"), std::string::npos) << build.out;
    EXPECT_TRUE(fs::exists(folder / (fs::path(e.file).stem().string() + ".Hex")));

    std::vector<std::string> simulate{kKavel, "simulate", program, "--seconds", "20", "--trace",
                                      (folder / "trace.csv").string()};
    if (!e.world.empty()) {
      simulate.insert(simulate.end(), {"--world", kavel::worldsFolder(kBin) + e.world});
    }
    const auto run = runProcess(simulate);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string trace = slurp((folder / "trace.csv").string());
    if (e.moves) {
      EXPECT_GT(travelled(trace), 500.0) << "the robot hardly moved";
      const auto [first, last] = ends(trace);
      EXPECT_TRUE(std::hypot(last.x - first.x, last.y - first.y) > 100 || std::fabs(last.heading - first.heading) > 20)
          << "it ends where it began: " << last.x << "," << last.y << " heading " << last.heading;
    } else {
      EXPECT_LT(travelled(trace), 1.0) << "an example that stands still by itself";
    }
  }
}
