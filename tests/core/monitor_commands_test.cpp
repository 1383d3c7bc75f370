// What the sensor monitor sends: outputs, LEDs, servos, the sub I/O, the version answer and the
// closing sequence.

#include <gtest/gtest.h>

#include "core/monitor/MonitorCommands.h"

using namespace kavel;

TEST(MonitorCommands, ControlTexts) {
  struct Case {
    std::string got;
    const char* want;
  } cases[] = {
      {outputButtonCommand(2, "LOW"), "O2:1"},   // CN3 reading LOW goes high
      {outputButtonCommand(2, "HIGH"), "O2:0"},
      {outputButtonCommand(0, ""), "O0:1"},      // nothing shown yet: anything but HIGH
      {outputCommand(9, true), "O9:1"},
      {ledButtonCommand(0, false), "L0:1"},
      {ledButtonCommand(1, true), "L1:0"},
      {ledButtonCommand(2, false), "L2:1"},
      {servoCommand(7, 25), "s7:1000"},
      {servoCommand(7, 0), "s7:0500"},
      {servoCommand(8, 100), "s8:2500"},
      {idCommand(0), "ID:0"},
      {idCommand(8), "ID:8"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(MonitorCommands, VersionLineStartsWhatWasAskedFor) {
  struct Case {
    bool start, compass, uss;
    VersionAction::Kind kind;
    const char* command;
    bool closeModules;
  } cases[] = {
      {true, true, true, VersionAction::StartSensors, "S0:1", true},
      {false, true, true, VersionAction::StartCompass, "S1:1", false},
      {false, false, true, VersionAction::StartUltrasonic, "S3:1", false},
      {false, false, false, VersionAction::Nothing, "", false},
  };
  for (const auto& c : cases) {
    const VersionAction a = versionAction(c.start, c.compass, c.uss);
    EXPECT_EQ(a.kind, c.kind) << c.command;
    EXPECT_EQ(a.command, c.command);
    EXPECT_EQ(a.closeModules, c.closeModules) << c.command;
    EXPECT_EQ(a.chime, c.kind != VersionAction::Nothing) << c.command;
  }
}

TEST(MonitorCommands, ClosingLeavesOutputsAtRest) {
  const auto text = [](const std::vector<TimedCommand>& seq) {
    std::string s;
    for (const auto& c : seq) s += c.command + "/" + std::to_string(c.pauseMs) + " ";
    return s;
  };
  EXPECT_EQ(text(closingSequence({1, 1, 1, 1, 1, 1, 1, 0, 2, 1})), "O7:0/100 O8:1/100 L1:0/100 L0:0/100 S0:0/200 ");
  EXPECT_EQ(text(closingSequence({0, 3, 4, 5, 6, 7, 1, 1, 1, 2})), "O0:0/100 O9:1/100 L1:0/100 L0:0/100 S0:0/200 ");
  EXPECT_EQ(text(closingSequence({1, 1, 1, 1, 1, 1, 1, 1, 1, 1})), "L1:0/100 L0:0/100 S0:0/200 ");
}
