#include <gtest/gtest.h>

#include "core/setup/ConnectorModes.h"

using namespace kavel;

TEST(ConnectorModes, LookByMode) {
  struct Case {
    int mode;
    const char* caption;
    const char* frame;
    std::uint32_t colour;
  } cases[] = {
      {0, "Out (L)", "CN03 Out (L)", 0xC0DCC0},  {1, "Input", "CN03", 0xF0CAA6},
      {2, "Out (H)", "CN03 Out (H)", 0xC0DCC0},  {3, "PING-In", "CN03 PING-In", 0xF0CAA6},
      {4, "Servo", "CN03", 0xC0DCC0},            {5, "2Wire-In", "CN03", 0xF0CAA6},
      {6, "Thermis", "CN03", 0xF0CAA6},          {9, "CN03", "CN03", 0xF0CAA6},
      {-1, "CN03", "CN03", 0xF0CAA6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(connectorCaption(c.mode, 3), c.caption) << c.mode;
    EXPECT_EQ(connectorFrameText(c.mode, 3), c.frame) << c.mode;
    EXPECT_EQ(connectorEditColour(c.mode), c.colour) << c.mode;
  }
  EXPECT_EQ(connectorCaption(7, 10), "CN10");
  EXPECT_STREQ(connectorModeInfo(PingIn)->popupItem, "&PING ( Parallax )");
  EXPECT_EQ(connectorModeInfo(7), nullptr);
}

TEST(ConnectorModes, NameGivenWhenChosen) {
  struct Case {
    ProductVariant variant;
    int connector, oldMode, newMode;
    const char* want;
  } cases[] = {
      {1, 9, Input, OutL, "RED3"},   // the red LED on CN9
      {4, 10, Input, OutH, "RED2"},
      {1, 9, OutL, OutL, "typed"},   // same mode again keeps what the user typed
      {1, 9, OutL, OutH, "RED3"},
      {0, 9, Input, OutL, ""},       // this board has no red LEDs there
      {3, 8, Input, OutL, ""},
      {3, 2, Input, Input, "typed"},
      {3, 2, OutL, Input, ""},
      {3, 2, Input, Input2Wire, ""},
      {3, 2, Input2Wire, Input2Wire, "typed"},
      {3, 10, Input, PingIn, "PING"},
      {3, 10, PingIn, PingIn, "PING"},
      {3, 7, Input, Servo, "Servo"},
      {3, 4, Thermistor, Thermistor, "Thermistor"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nameWhenChosen(c.connector, c.oldMode, c.newMode, "typed", c.variant), c.want)
        << "variant " << c.variant << " CN" << c.connector << " " << c.oldMode << "->" << c.newMode;
  }

  IoSetup io;
  io.cnMode[8] = Input;
  io.cnName[8] = "x";
  chooseConnectorMode(io, 9, OutL, 1);
  EXPECT_EQ(io.cnMode[8], OutL);
  EXPECT_EQ(io.cnName[8], "RED3");
  chooseConnectorMode(io, 11, OutL, 1);  // ignored
  chooseConnectorMode(io, 0, OutL, 1);
}

TEST(ConnectorModes, PopupKeepsPingABlockEndingAtCn10) {
  // Item states as text: one letter per item in mode order OutL, Input, OutH, PING, Servo,
  // 2-Wire, Thermistor; "e" enabled, "d" disabled, "-" hidden.
  struct Case {
    int connector;
    std::array<int, 10> modes;
    const char* want;
  } cases[] = {
      {3, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, "eee--ee"},
      {10, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, "eeee-ee"},
      {10, {1, 1, 1, 1, 1, 1, 1, 1, 3, 3}, "ddde-dd"},
      {9, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, "eeed-ee"},  // CN10 not PING yet
      {9, {1, 1, 1, 1, 1, 1, 1, 1, 0, 3}, "eeee-ee"},
      {9, {1, 1, 1, 1, 1, 1, 1, 3, 3, 3}, "ddde-dd"},
      {8, {1, 1, 1, 1, 1, 1, 1, 1, 0, 3}, "eeedeee"},
      {8, {1, 1, 1, 1, 1, 1, 1, 1, 3, 3}, "eeeeeee"},
      {8, {1, 1, 1, 1, 1, 1, 3, 3, 3, 3}, "dddeddd"},
      {7, {1, 1, 1, 1, 1, 1, 1, 1, 3, 3}, "eeedeee"},
      {7, {1, 1, 1, 1, 1, 1, 3, 3, 3, 3}, "eeeeeee"},
  };
  for (const auto& c : cases) {
    IoSetup io;
    io.cnMode = c.modes;
    const ConnectorPopup popup = connectorPopup(io, c.connector, true);
    std::string got;
    for (int mode = 0; mode < 7; ++mode) got += !popup[mode].shown ? '-' : popup[mode].enabled ? 'e' : 'd';
    EXPECT_EQ(got, c.want) << "CN" << c.connector;
  }
  IoSetup io;
  EXPECT_FALSE(connectorPopup(io, 5, false)[Input2Wire].shown);
  EXPECT_TRUE(connectorPopup(io, 5, false)[Input].enabled);
}
