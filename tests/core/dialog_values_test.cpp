#include <gtest/gtest.h>

#include "core/dialogs/LcdLine.h"
#include "core/dialogs/OutputChoices.h"
#include "core/dialogs/PwmCodes.h"
#include "core/dialogs/SensorComparison.h"
#include "core/dialogs/ServoChoice.h"
#include "core/dialogs/SubIoBoards.h"
#include "core/dialogs/TimerForm.h"
#include "core/model/StatementKind.h"

using namespace kavel;

TEST(SensorComparison, LoadsCaptionsAndPacks) {
  // A new comparison: set value 30, CN1, "<", the set value.
  EXPECT_EQ(sensorComparisonOf(0, 0, 0), (SensorComparison{30, 0, 0, 0, 0, 0}));
  // CN3 ">" variable B.
  SensorComparison c = sensorComparisonOf(50, 20021, 0);
  EXPECT_EQ(c.operand, 2);
  EXPECT_EQ(c.connector, 2);
  EXPECT_EQ(c.comparison, 1);
  EXPECT_EQ(packSensorComparison(c, false), (SensorValues{50, 20021, 0}));
  // Damaged values: set value limited, operands and comparisons naming nothing defaulted.
  EXPECT_EQ(sensorComparisonOf(250, 990009, 990000), (SensorComparison{100, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sensorComparisonOf(-4, -12345, -1), (SensorComparison{0, 0, 0, 0, 0, 0}));
  // Boards in sub-I/O mode; the set value is always read on this board.
  c = sensorComparisonOf(10, 20011, 320000);
  EXPECT_EQ(packSensorComparison(c, true), (SensorValues{10, 20011, 320000}));
  c.operand = 0;
  EXPECT_EQ(packSensorComparison(c, true).val2, 300000);
  EXPECT_EQ(packSensorComparison(c, false).val2, 0);

  struct Caption {
    int mode;
    bool interrupt;
    std::string text;
  } captions[] = {{Input, false, " 30%"},         {PingIn, false, " 30cm"}, {PingIn, true, " 30%"},
                  {Thermistor, false, " 30\u2103"}, {OutL, false, " 30%"}};
  for (const Caption& k : captions) EXPECT_EQ(sensorSetValueCaption(30, k.mode, k.interrupt), k.text) << k.mode;

  EXPECT_EQ(sensorComparisonCaption(7), "<");
  EXPECT_EQ(nextSensorComparison(2), 0);
  IoSetup io;
  io.cnMode[9] = PingIn;
  io.cnName[9] = "PING";
  EXPECT_EQ(sensorConnectorName(io, 9, false), "PING");
  EXPECT_EQ(sensorConnectorName(io, 9, true), "");
  EXPECT_EQ(touchSensorOf(5), 0);
}

TEST(SubIoBoards, ModeAndCaptions) {
  IoSetup io;
  EXPECT_FALSE(subIoMode(io));
  io.subIoOn = true;
  EXPECT_TRUE(subIoMode(io));
  io.subIoId = 2;  // a slave board has no sub boards of its own
  EXPECT_FALSE(subIoMode(io));
  EXPECT_EQ(boardCaption(3), "I/O[3]");
  EXPECT_EQ(boardMenuItem(8), "I/O [8]");
  EXPECT_EQ(boardOf(9), 0);
}

TEST(TimerForm, UsesCaptionsAndValues) {
  EXPECT_EQ(timerUseOf(kWait), TimerUse::Wait);
  EXPECT_EQ(timerUseOf(kTimer), TimerUse::Statement);
  EXPECT_EQ(timerUseOf(kWhile), TimerUse::Condition);
  EXPECT_EQ(timerCaptionMessage(TimerUse::Condition), 108);
  EXPECT_EQ(timerSetTimeCaption(10, "sec"), " 1.0 sec");
  EXPECT_EQ(timerSetTimeCaption(600, "sec"), "60.0 sec");

  struct Case {
    const char* what;
    TimerUse use;
    int val0, val1;
    TimerForm form;
    TimerValues stored;
  } cases[] = {
      {"new wait", TimerUse::Wait, 1000, 0, {10, 0, 0, 0}, {1000, 0}},
      {"wait on variable C keeps the time", TimerUse::Wait, 2500, 300, {25, 3, 0, 0}, {2500, 300}},
      {"timer statement T3", TimerUse::Statement, 1000, 20000, {10, 0, 2, 0}, {0, 20000}},
      {"T2 > variable A", TimerUse::Condition, 1000, 10101, {10, 1, 1, 1}, {1000, 10101}},
      {"beyond 60 s is limited", TimerUse::Condition, 99999, 9, {600, 0, 0, 1}, {60000, 1}},
      {"negative times and damaged fields", TimerUse::Wait, -500, 999999, {0, 0, 0, 1}, {0, 0}},
  };
  for (const Case& c : cases) {
    const TimerForm f = timerFormOf(c.val0, c.val1);
    EXPECT_EQ(f, c.form) << c.what;
    EXPECT_EQ(packTimer(c.use, f), c.stored) << c.what;
  }
}

TEST(OutputChoices, LedsAndConnectors) {
  EXPECT_EQ(ledOf(7), 1);
  EXPECT_EQ(ledOf(-1), 1);
  EXPECT_EQ(nextLed(3), 0);
  EXPECT_EQ(ledCaption(0), "Green");
  EXPECT_EQ(ledCaption(2), "Red2");
  // An LED statement takes the new kind; a test keeps its row kind.
  EXPECT_EQ(packLed(0, true, kRedLedOff), (LedValues{kGreenLedOn, kGreenLedOn, 0, 1}));
  EXPECT_EQ(packLed(3, true, kIf), (LedValues{kIf, kRedLedOn, 3, 1}));
  EXPECT_EQ(packLed(1, false, kGreenLedOff), (LedValues{kRedLedOff, kRedLedOff, 1, 0}));

  IoSetup io;
  io.cnMode = {1, 1, 1, 1, 1, 1, 1, 1, 0, 2};
  const std::vector<int> list = outputConnectors(io);
  EXPECT_EQ(list, (std::vector<int>{8, 9}));
  EXPECT_EQ(outputPosition(list, 9), 1);
  EXPECT_EQ(outputPosition(list, 3), 0);
  EXPECT_EQ(nextOutputPosition(list, 1), 0);
  EXPECT_EQ(nextOutputPosition(list, 0), 1);
  EXPECT_EQ(outputPosition({}, 3), -1);
  EXPECT_EQ(nextOutputPosition({}, 0), -1);
}

TEST(PwmCodes, ChannelsRoundTrip) {
  struct Case {
    int code;
    PwmChannel channel;
    int stored;
  } cases[] = {
      {75, {true, 0, false, 75}, 75},     {200, {true, 0, true, 0}, 200},   {250, {true, 0, true, 50}, 250},
      {502, {true, 3, true, 0}, 502},     {400, {true, 1, false, 0}, 400}, {999, {false, 0, false, 0}, 999},
      {650, {false, 0, false, 0}, 999},   {150, {true, 0, false, 100}, 100}, {350, {true, 0, true, 100}, 300},
      {480, {true, 26, false, 0}, 425},   {-5, {true, 0, false, 0}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pwmChannelOf(c.code), c.channel) << c.code;
    EXPECT_EQ(pwmCode(pwmChannelOf(c.code)), c.stored) << c.code;
  }
  // 75 forward, C reverse, unchanged, then three at 0.
  EXPECT_EQ(packPwm({75, 502, 999, 0, 0, 0}), (PwmValues{75502, 999000, 0}));
  EXPECT_EQ(pwmCodesOf(75502, 999000, 0), (std::array<int, 6>{75, 502, 999, 0, 0, 0}));
  EXPECT_EQ(pwmFixedCaption(50), "  50%");
}

TEST(ServoChoice, ConnectorAndPosition) {
  IoSetup io;
  io.cnMode[6] = Servo;
  io.cnMode[7] = Servo;
  EXPECT_EQ(servoConnectorOf(80030, io), 8);
  EXPECT_EQ(servoConnectorOf(0, io), 7);
  EXPECT_EQ(otherServoConnector(7, io), 8);
  EXPECT_EQ(otherServoConnector(8, io), 7);
  io.cnMode[6] = Input;
  EXPECT_EQ(servoConnectorOf(30, io), 8);
  EXPECT_EQ(otherServoConnector(8, io), 8);
  io.cnMode[7] = Input;
  EXPECT_EQ(servoConnectorOf(30, io), 7);  // no servo connector: the first one
  EXPECT_EQ(servoPositionOf(80030), 30);
  EXPECT_EQ(servoPositionOf(70555), 100);
  EXPECT_EQ(servoPositionOf(-70010), 0);
  EXPECT_EQ(packServo(8, 30), 80030);
  EXPECT_EQ(servoPositionCaption(5), "   5%");
}

TEST(LcdLine, NormalisesAndPacks) {
  struct Case {
    const char* what;
    int val0, val1;
    LcdLine line;
  } cases[] = {
      {"text keeps no data", 1234, 50500, {0, 0, {0, 0, 0, 0}}},
      {"one variable, missing one defaulted", 10000, 0, {0, 1, {1, 0, 0, 0}}},
      {"line 2, A and B", 1 * 100000 + 2 * 10000 + 1 * 100 + 2, 0, {1, 2, {1, 2, 0, 0}}},
      {"three fields, a connector where a variable belongs", 30000 + 2800 + 5, 0, {0, 3, {1, 5, 3, 0}}},
      {"four fields", 40000 + 101, 20000, {0, 4, {1, 1, 2, 4}}},
      {"connectors", 50000 + 2700 + 3, 360000 + 500, {0, 5, {27, 28, 36, 30}}},
      {"line and format naming nothing", 970000, 0, {0, 0, {0, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    const LcdLine l = lcdLineOf(c.val0, c.val1);
    EXPECT_EQ(l, c.line) << c.what;
  }
  EXPECT_EQ(packLcd(lcdLineOf(1 * 100000 + 2 * 10000 + 1 * 100 + 2, 0)), (LcdValues{120102, 0}));

  // From format 4 to 5 every variable becomes CN1..CN4; a connector already there stays.
  LcdLine l = lcdLineOf(40000 + 102, 30400);
  l.format = 5;
  normaliseLcd(l);
  EXPECT_EQ(l.data, (std::array<int, 4>{27, 28, 29, 30}));
  l.data[2] = 33;
  normaliseLcdField(l, 2);
  EXPECT_EQ(l.data[2], 33);
  l.format = 2;
  l.data = {30, 0, 0, 0};
  normaliseLcdField(l, 0);
  EXPECT_EQ(l.data[0], 1);

  EXPECT_EQ(lcdDataItems().size(), 37u);
  EXPECT_EQ(lcdDataItems()[36], "CN10");
  EXPECT_TRUE(lcdTextAllowed("Hello"));
  EXPECT_FALSE(lcdTextAllowed("say \"hi\""));
}
