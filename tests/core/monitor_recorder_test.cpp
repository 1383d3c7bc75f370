// The report recorder: the file it writes, and a file that cannot be written.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/monitor/MonitorRecorder.h"
#include "core/text/Format.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

MonitorReport inputsReading(int field) {
  std::string line;
  for (int n = 1; n <= 10; ++n) line += text::format(n == 1 ? "CN%d=%04d" : ",CN%d=%04d", n, field);
  line += ",LED=11";
  std::array<int, 10> modes;
  modes.fill(1);
  return *parseConnectorReport(line, modes, 3);
}

}  // namespace

TEST(MonitorRecorder, WritesHeaderAndOneRowPerReport) {
  const kavel::testing::TempFolder temp("kavel-recorder");
  const std::string path = temp / "recorder.csv";
  std::ofstream(path) << "old content that must go\n";
  MonitorRecorder recorder;
  ASSERT_TRUE(recorder.open(path)) << recorder.error();
  EXPECT_TRUE(recorder.recording());
  EXPECT_TRUE(recorder.append(inputsReading(1023), 100));
  EXPECT_TRUE(recorder.append(inputsReading(1000), 125));
  recorder.close();
  EXPECT_FALSE(recorder.append(inputsReading(1000), 150)) << "closed";
  EXPECT_EQ(slurp(path),
            "time_ms,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2\n"
            "0,100,100,100,100,100,100,100,100,100,100,1,1,\n"
            "25,98,98,98,98,98,98,98,98,98,98,1,1,\n");
  EXPECT_EQ(recorder.rows(), 2);

  // Opening again starts a new file and a new time base.
  ASSERT_TRUE(recorder.open(path));
  EXPECT_TRUE(recorder.append(inputsReading(0), 9000));
  recorder.close();
  EXPECT_NE(slurp(path).find("\n0,0,0,"), std::string::npos) << slurp(path);
}

TEST(MonitorRecorder, ReportsFilesItCannotWrite) {
  MonitorRecorder recorder;
  const std::string folder = ::testing::TempDir();
  EXPECT_FALSE(recorder.open(folder));
  EXPECT_EQ(recorder.error().rfind("Can't create " + folder + ": ", 0), 0u) << recorder.error();
  EXPECT_FALSE(recorder.recording());

  EXPECT_FALSE(recorder.open("/dev/full"));
  EXPECT_EQ(recorder.error(), "Can't write /dev/full: No space left on device");
}

TEST(MonitorRecorder, AFileThatStopsGrowingEndsTheRecordingWithAnError) {
  // A file size limit stands in for a full disk: the writes past it fail with EFBIG.
  const kavel::testing::TempFolder temp("kavel-recorder-full");
  const std::string path = temp / "recorder_full.csv";
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 200;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  MonitorRecorder recorder;
  const bool opened = recorder.open(path);
  bool failed = false;
  int rows = 0;
  for (; opened && rows < 20 && !failed; ++rows) failed = !recorder.append(inputsReading(512), rows * 20);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  ASSERT_TRUE(opened) << recorder.error();
  EXPECT_TRUE(failed);
  EXPECT_LT(rows, 20);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(recorder.error().rfind("Can't write " + path + ": File too large", 0), 0u) << recorder.error();
  EXPECT_FALSE(recorder.append(inputsReading(512), 1000));
}
