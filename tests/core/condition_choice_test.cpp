#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/model/ConditionChoice.h"
#include "core/model/StatementKind.h"

using namespace kavel;

namespace {

IoSetup allOptions() {
  IoSetup io;
  io.useDir = true;
  io.useUss = true;
  io.usePixy = true;
  io.useSnx4410 = true;
  io.outputInUse = true;
  io.advancedMode = true;
  return io;
}

}  // namespace

TEST(ConditionChoice, OffersKindsByRowOptionsAndProgram) {
  const std::vector<int> basic = {kGreenLedOff, kSensorTest, kTimer, kVariable};
  const std::vector<int> everything = {kGreenLedOff, kSensorTest, kTimer,      kVariable, kDirectionTest,
                                       kUltrasonic,  kCameraTest, kGamePadTest, kOutput,   kCCode};
  const std::vector<int> noModules = {kGreenLedOff, kSensorTest, kTimer, kVariable, kOutput, kCCode};

  struct Case {
    const char* name;
    int sno;
    std::function<void(IoSetup&)> setup;
    int program;
    std::vector<int> offered;
  } cases[] = {
      {"if, no options", kIf, [](IoSetup&) {}, 0, basic},
      {"else-if, no options", kElseIf, [](IoSetup&) {}, 0, basic},
      {"while gets Unconditional first", kWhile, [](IoSetup&) {}, 0,
       {kUnconditional, kGreenLedOff, kSensorTest, kTimer, kVariable}},
      {"if, every option", kIf, [](IoSetup& io) { io = allOptions(); }, 3, everything},
      {"compass alone offers direction", kIf, [](IoSetup& io) { io.useHmc = true; }, 0,
       {kGreenLedOff, kSensorTest, kTimer, kVariable, kDirectionTest}},
      {"BNO alone offers direction", kIf, [](IoSetup& io) { io.useBno = true; }, 0,
       {kGreenLedOff, kSensorTest, kTimer, kVariable, kDirectionTest}},
      {"sub I/O board has no module tests", kIf,
       [](IoSetup& io) {
         io = allOptions();
         io.subIoId = 2;
       },
       0, noModules},
      {"interrupt sub-program has no module tests", kIf, [](IoSetup& io) { io = allOptions(); }, 30,
       noModules},
      {"master with sub I/O keeps module tests", kIf,
       [](IoSetup& io) {
         io = allOptions();
         io.subIoOn = true;
       },
       29, everything},
      {"output and C code follow their flags", kWhile,
       [](IoSetup& io) {
         io.outputInUse = true;
         io.advancedMode = true;
       },
       30, {kUnconditional, kGreenLedOff, kSensorTest, kTimer, kVariable, kOutput, kCCode}},
  };
  for (const Case& c : cases) {
    IoSetup io;
    c.setup(io);
    EXPECT_EQ(offeredConditionKinds(c.sno, io, c.program), c.offered) << c.name;
  }
}

TEST(ConditionChoice, ButtonOfTheCurrentCondition) {
  struct Case {
    int cno, button;
  } cases[] = {
      {0, 0},
      {kUnconditional, kUnconditional},
      {kSensorTest, kSensorTest},
      {kVariable, kVariable},
      {kVariableItem, kVariable},
      {kRedLedOn, kGreenLedOff},
      {kCameraTest, kCameraTest},
      {kSensorTestOld, 0},
      {kMotorForward, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(conditionButtonFor(c.cno), c.button) << c.cno;
}
