#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/editor/PaletteLayout.h"
#include "core/model/StatementKind.h"
#include "core/setup/IoSetup.h"

using namespace kavel;

namespace {

const PaletteButton& button(std::string_view name) {
  for (const PaletteButton& b : paletteButtons()) {
    if (b.name == name) return b;
  }
  throw std::runtime_error("no palette button " + std::string(name));
}

}  // namespace

TEST(PaletteLayout, ThreeColumnsOfSevenWithAGapBeforeTheBlocks) {
  std::set<std::pair<int, int>> places;
  for (const PaletteButton& b : paletteButtons()) places.insert({b.column, b.row});
  EXPECT_EQ(places.size(), 21u);  // every place used once

  EXPECT_EQ(paletteButtonX(1), 8);
  EXPECT_EQ(paletteButtonX(2), 72);
  EXPECT_EQ(paletteButtonX(3), 136);
  const int ys[] = {8, 44, 80, 116, 160, 196, 232};
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(paletteButtonY(r), ys[r - 1]);

  EXPECT_EQ(paletteWidth(false), 72 + 56 + 8);   // right of the Timer button + 8
  EXPECT_EQ(paletteWidth(true), 136 + 56 + 8);   // right of the C-code button + 8
  EXPECT_EQ(paletteHeight(), 232 + 36 + 8);      // bottom of the Break button + 8

  EXPECT_EQ(button("btnMotor").kind, kMotorForward);
  EXPECT_EQ(button("btnLed").kind, kGreenLedOff);
  EXPECT_EQ(button("btnTimer").column, 2);
  EXPECT_EQ(button("btnCode").column, 3);
  EXPECT_EQ(button("btnUss").hintMessage, 155);
}

TEST(PaletteLayout, VisibilityFollowsTheSetupFlags) {
  IoSetup io;
  auto shown = [&](std::string_view name) { return paletteButtonShown(button(name), io); };
  EXPECT_TRUE(shown("btnMotor"));
  EXPECT_FALSE(shown("btnOut"));
  EXPECT_FALSE(shown("btnLcd"));
  EXPECT_FALSE(shown("btnCode"));
  EXPECT_FALSE(shown("btnRS232C"));

  io.outputInUse = io.useLcd = io.servoInUse = true;
  io.useMcb = io.useUss = true;
  EXPECT_TRUE(shown("btnOut"));
  EXPECT_TRUE(shown("btnLcd"));
  EXPECT_TRUE(shown("btnServo"));
  EXPECT_FALSE(shown("btnMcb"));  // the PWM board needs advanced mode as well
  EXPECT_FALSE(shown("btnUss"));

  io.advancedMode = true;
  EXPECT_TRUE(shown("btnMcb"));
  EXPECT_TRUE(shown("btnUss"));
  EXPECT_TRUE(shown("btnSubProg"));
  EXPECT_FALSE(shown("btnRS232C"));
  io.useMcb = false;
  EXPECT_FALSE(shown("btnMcb"));
}

TEST(PaletteLayout, EnablingFollowsTheCurrentProgram) {
  struct Case {
    std::string_view name;
    bool main, sub, interrupt;
  };
  const Case cases[] = {
      {"btnSubProg", true, false, false}, {"btnReturn", false, true, true}, {"btnMotor", true, true, false},
      {"btnLcd", true, true, false},      {"btnMcb", true, true, false},    {"btnUss", true, true, false},
      {"btnServo", true, true, false},    {"btnRS232C", true, true, false}, {"btnWait", true, true, true},
      {"btnIf", true, true, true},        {"btnOut", true, true, true},     {"btnCode", true, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paletteButtonEnabled(button(c.name), 0), c.main) << c.name;
    EXPECT_EQ(paletteButtonEnabled(button(c.name), 4), c.sub) << c.name;
    EXPECT_EQ(paletteButtonEnabled(button(c.name), 30), c.interrupt) << c.name;
  }
}
