#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/build/BuildPathEntry.h"
#include "core/build/CSourceBuildPane.h"
#include "core/build/ErrorLine.h"
#include "core/build/ErrorPosition.h"
#include "core/build/HistoryName.h"
#include "core/text/TextFile.h"
#include "TempFolder.h"

using namespace kavel;

namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

}  // namespace

TEST(HistoryName, CountsSavedCopies) {
  const std::tm when = at(2019, 7, 6, 9, 5, 3);
  struct Case {
    const char* path;
    bool cCode;
    const char* name;
  } cases[] = {
      {"/u/robot.Kvl", false, "/u/robot_#001-190706-090503.Kvl"},
      {"/u/robot_#007-180101-120000.Kvl", false, "/u/robot_#008-190706-090503.Kvl"},
      {"/u/robot_#007-180101-120000.c", true, "/u/robot_#008-190706-090503.c"},
      {"/u/robot_#0x7-180101-120000.Kvl", false, "/u/robot_#002-190706-090503.Kvl"},  // unreadable counter
      {"/u/robot_#999-180101-120000.Kvl", false, "/u/robot_#1000-190706-090503.Kvl"},
      {"/u/robot#007-180101-120000.Kvl", false, "/u/robot#007-180101-120000_#001-190706-090503.Kvl"},
      {"a", false, "a_#001-190706-090503.Kvl"},
      {"_#007-180101-120000", true, "_#008-190706-090503.c"},
  };
  for (const auto& c : cases) EXPECT_EQ(historyName(c.path, c.cCode, when), c.name) << c.path;

  const std::string first = historyName("/u/robot.Kvl", false);
  const std::string second = historyName(first, false);
  EXPECT_EQ(second.substr(0, 13), "/u/robot_#002");
  EXPECT_EQ(second.size(), first.size());
}

TEST(ErrorPosition, FindsTheGeneratedLine) {
  struct Case {
    const char* line;
    bool found;
    const char* rest;
    int number;
  } cases[] = {
      {"User.c:45:Error: [1105] unknown identifier", true, "45:Error: [1105] unknown identifier", 44},
      {"C:/build/User.c:7:Error: syntax error", true, "7:Error: syntax error", 6},
      {"User.c:x:Error: odd", true, "x:Error: odd", 0},
      {"User.c:0:Error: zero", true, "0:Error: zero", 0},
      {"User.c:12:Warning: unused", false, "", 0},
      {"M_Main.h:3:Error: missing", false, "", 0},
      {"", false, "", 0},
  };
  for (const auto& c : cases) {
    const ErrorPosition p = errorPosition(c.line);
    EXPECT_EQ(p.found, c.found) << c.line;
    EXPECT_EQ(p.rest, c.rest) << c.line;
    EXPECT_EQ(p.line, c.number) << c.line;
  }
  EXPECT_EQ(caretPositionText(12, 3), "    12:  3");
}

TEST(ErrorLine, LeadsFromACompilerMessageToThePaneLineAndTheRow) {
  // A pane of four lines, the last two made by rows 0 and 2 of Sub-3; and a long one whose
  // prefixes have four digits from line 1000 on.
  const std::vector<std::string> pane{"001|// header", "002|void user_sub_3(void)", "003|  wait_ms(5);",
                                      "004|  motor(50, 50);"};
  const std::vector<LineOrigin> origins{{-1, -1}, {-1, -1}, {3, 0}, {3, 2}};
  std::vector<std::string> longPane(1200);
  for (std::size_t i = 0; i < longPane.size(); ++i) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, i + 1 < 1000 ? "%03zu|" : "%04zu|", i + 1);
    longPane[i] = std::string(prefix) + "x;";
  }
  const std::vector<std::string> cPane{"0001|#include \"M_Main.h\"", "0002|void user_main(void)"};
  struct Case {
    std::string line;
    const std::vector<std::string>* pane;
    bool withOrigins;
    bool found;
    int paneLine;
    std::string shown;
    int program, row;
  } cases[] = {
      {"User.c:3:Error: 'wait_ms' undeclared", &pane, true, true, 2, "003", 3, 0},
      {"User.c:4:Error: too few arguments", &pane, true, true, 3, "004", 3, 2},
      {"/build/User.c:2:Error: syntax", &pane, true, true, 1, "002", -1, -1},  // no row made it
      {"User.c:3:Error: x", &pane, false, true, 2, "003", -1, -1},              // origins unknown
      {"User.c:5:Error: beyond the pane", &pane, true, false, -1, "", -1, -1},
      {"User.c:0:Error: zero", &pane, true, false, -1, "", -1, -1},
      {"User.c:x:Error: not a number", &pane, true, false, -1, "", -1, -1},
      {"User.c:3:Warning: unused", &pane, true, false, -1, "", -1, -1},
      {"M_Main.h:3:Error: elsewhere", &pane, true, false, -1, "", -1, -1},
      {"User.c:1000:Error: far down", &longPane, false, true, 999, "1000", -1, -1},
      {"User.c:999:Error: just before", &longPane, false, true, 998, "999", -1, -1},
      {"User.c:2:Error: C-code style", &cPane, false, true, 1, "0002", -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ErrorLineTarget t = errorLineTarget(c.line, *c.pane, c.withOrigins ? origins : std::vector<LineOrigin>{});
    EXPECT_EQ(t.found, c.found);
    EXPECT_EQ(t.paneLine, c.paneLine);
    EXPECT_EQ(t.shownNumber, c.shown);
    EXPECT_EQ(t.program, c.program);
    EXPECT_EQ(t.row, c.row);
  }
}

TEST(BuildPathEntry, PutsTheToolChainInFrontOfThePath) {
  EXPECT_EQ(buildPathEntry("PATH=/opt/pic/bin:", "/usr/bin:/bin"),
            (EnvironmentEntry{"PATH", "/opt/pic/bin:/usr/bin:/bin"}));
  EXPECT_EQ(buildPathEntry("PATH=", "/usr/bin"), (EnvironmentEntry{"PATH", "/usr/bin"}));
  EXPECT_EQ(buildPathEntry("TOOLS=/a=b;", "/usr/bin"), (EnvironmentEntry{"TOOLS", "/a=b;/usr/bin"}));
  EXPECT_FALSE(buildPathEntry("echo hello", "/usr/bin"));
  EXPECT_FALSE(buildPathEntry("", "/usr/bin=x") == std::nullopt) << "the old PATH may hold an =";
  EXPECT_FALSE(buildPathEntry("=x", ""));

  const kavel::testing::TempFolder temp("kavel-build-path");
  const std::string file = temp / "BuildPath.Bat";
  ASSERT_TRUE(text::writeFileAtomic(file, "PATH=/opt/pic/bin:\r\ncl2620.Bat\r\n"));
  EXPECT_EQ(readFirstLine(file), "PATH=/opt/pic/bin:");
  ASSERT_TRUE(text::writeFileAtomic(file, "PATH=/x:"));
  EXPECT_EQ(readFirstLine(file), "PATH=/x:");
  EXPECT_FALSE(readFirstLine("/nonexistent/BuildPath.Bat"));
}

TEST(CSourceBuildPane, NumbersLinesWithFourDigits) {
  EXPECT_EQ(cSourceBuildPaneLines("void f(void)\r\n{\r\n\tx = 1;\x07\r\n}", 2),
            (std::vector<std::string>{"0001|void f(void)", "0002|{", "0003|  x = 1;"}));
  EXPECT_EQ(cSourceBuildPaneLines("a\nb\n\nc\r", 4), (std::vector<std::string>{"0001|a", "0002|b", "0003|", "0004|c"}));
  EXPECT_TRUE(cSourceBuildPaneLines("no line end", 2).empty());
}
