// The sensor monitor's connector report, the look of each connector mode, and the CSV rows the
// recorder and `kavel monitor` write from a report.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/monitor/MonitorConnectorLook.h"
#include "core/monitor/MonitorCsv.h"
#include "core/monitor/MonitorReport.h"
#include "core/text/Format.h"

using namespace kavel;

namespace {

/// A report line as the board sends it: ten four-character fields, ",LED=" and the LED digits.
std::string reportLine(const std::array<std::string, 10>& values, const std::string& leds = "101") {
  std::string s;
  for (int n = 1; n <= 10; ++n) s += text::format(n == 1 ? "CN%d=%s" : ",CN%d=%s", n, values[n - 1].c_str());
  return s + ",LED=" + leds;
}

const std::array<int, 10> kAllInputs{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

}  // namespace

TEST(MonitorConnectorLook, ByMode) {
  struct Case {
    int mode, connector;
    const char* caption;
    CaptionColour colour;
    std::uint32_t name;
    MonitorValueKind shows;
    bool bar, button, track;
  } cases[] = {
      {0, 3, "CN3 Output", CaptionColour::Blue, 0xC0DCC0, MonitorValueKind::HighLow, false, true, false},
      {1, 3, "CN3", CaptionColour::Normal, 0xF0CAA6, MonitorValueKind::Percent, true, false, false},
      {2, 10, "CN10 Output", CaptionColour::Blue, 0xC0DCC0, MonitorValueKind::HighLow, false, true, false},
      {3, 9, "CN9 PING", CaptionColour::Green, 0xF0CAA6, MonitorValueKind::Distance, true, false, false},
      {4, 7, "CN7 Servo", CaptionColour::Blue, 0xC0DCC0, MonitorValueKind::ServoPercent, true, false, true},
      {4, 8, "CN8 Servo", CaptionColour::Blue, 0xC0DCC0, MonitorValueKind::ServoPercent, true, false, true},
      {4, 2, "CN2 Servo", CaptionColour::Blue, 0xC0DCC0, MonitorValueKind::ServoPercent, true, false, false},
      {5, 1, "CN1 Input  2-Wire", CaptionColour::Red, 0xF0CAA6, MonitorValueKind::Percent, true, false, false},
      {6, 4, "CN4 Thermistor", CaptionColour::Normal, 0xF0CAA6, MonitorValueKind::Temperature, true, false, false},
  };
  for (const auto& c : cases) {
    const MonitorConnectorLook look = monitorConnectorLook(c.mode, c.connector, 3);
    EXPECT_TRUE(look.captionChanged) << c.caption;
    EXPECT_EQ(look.caption, c.caption);
    EXPECT_EQ(look.captionColour, c.colour) << c.caption;
    EXPECT_EQ(look.nameColour, c.name) << c.caption;
    EXPECT_EQ(look.shows, c.shows) << c.caption;
    EXPECT_EQ(look.barVisible, c.bar) << c.caption;
    EXPECT_EQ(look.buttonVisible, c.button) << c.caption;
    EXPECT_EQ(look.trackBarVisible, c.track) << c.caption;
  }
}

TEST(MonitorConnectorLook, ModesAboveSixLeaveTheCaptionAndReadAsPercent) {
  for (const int mode : {7, 9, -1}) {
    const MonitorConnectorLook look = monitorConnectorLook(mode, 5, 3);
    EXPECT_FALSE(look.captionChanged) << mode;
    EXPECT_EQ(look.caption, "") << mode;
    EXPECT_EQ(look.shows, MonitorValueKind::Percent) << mode;
    EXPECT_TRUE(look.barVisible) << mode;
    EXPECT_FALSE(look.buttonVisible) << mode;
  }
}

TEST(MonitorConnectorLook, RedLedButtonsOnlyOnCn9AndCn10OfBoardsWithThem) {
  EXPECT_TRUE(monitorConnectorLook(0, 9, 1).redLedButton);
  EXPECT_TRUE(monitorConnectorLook(2, 10, 4).redLedButton);
  EXPECT_FALSE(monitorConnectorLook(0, 9, 0).redLedButton);
  EXPECT_FALSE(monitorConnectorLook(0, 8, 3).redLedButton);
}

TEST(MonitorReport, FieldPositions) {
  EXPECT_EQ(reportValuePosition(1), 5u);
  EXPECT_EQ(reportValuePosition(2), 14u);
  EXPECT_EQ(reportValuePosition(9), 77u);
  EXPECT_EQ(reportValuePosition(10), 87u);
  const std::string line = reportLine({"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008", "0009", "0010"});
  EXPECT_EQ(line.size(), 98u);
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(line.substr(reportValuePosition(n) - 1, 4), text::format("%04d", n)) << n;
  }
}

TEST(MonitorReport, ValueByMode) {
  struct Case {
    int mode;
    const char* field;
    const char* value;
    int bar;  // -1: unchanged
    int number;  // -1: empty
  } cases[] = {
      {1, "1023", "100%", 100, 100},     {1, "0512", " 50%", 50, 50},     {1, "0000", "  0%", 0, 0},
      {5, "1023", "100%", 100, 100},     {9, "0512", " 50%", 50, 50},     {1, "abcd", "  0%", 0, 0},
      {1, "  12", "  1%", 1, 1},         {1, "-100", " -9%", 0, -9},
      {3, "0345", " 34cm", 34, 34},      {3, "9999", "999cm", 100, 999},
      {4, "1500", " 50%", 50, 50},       {4, "0500", "  0%", 0, 0},       {4, "2500", "100%", 100, 100},
      {4, "0000", "  0%", 0, 0},         {4, "-020", "-20%", 0, -20},     {4, "0400", " -5%", 0, -5},
      {6, "0253", " 25\u2103", 25, 25},  {6, "1499", "149\u2103", 100, 149},
      {6, "1500", "--", -1, -1},         {6, "4095", "--", -1, -1},
  };
  for (const auto& c : cases) {
    std::array<std::string, 10> values;
    values.fill("0000");
    values[3] = c.field;
    std::array<int, 10> modes = kAllInputs;
    modes[3] = c.mode;
    const auto report = parseConnectorReport(reportLine(values), modes, 3);
    ASSERT_TRUE(report) << c.field;
    const ConnectorReading& r = report->cn[3];
    const std::string label = text::format("mode %d field \"%s\"", c.mode, c.field);
    EXPECT_EQ(r.value, c.value) << label;
    EXPECT_EQ(r.bar.value_or(-1), c.bar) << label;
    EXPECT_EQ(r.number.value_or(-1), c.number) << label;
    EXPECT_FALSE(r.high.has_value()) << label;
    // A thermistor out of range empties the raw panel; every other reading shows the field.
    EXPECT_EQ(r.raw, std::string(c.value) == "--" ? "" : c.field) << label;
  }
}

TEST(MonitorReport, OutputsReadHighFrom500) {
  struct Case {
    const char* field;
    bool high;
  } cases[] = {{"0500", true}, {"0499", false}, {"1000", true}, {"0000", false}, {"HIGH", false}};
  for (const auto& c : cases) {
    for (const int mode : {0, 2}) {
      std::array<std::string, 10> values;
      values.fill("0000");
      values[8] = c.field;
      std::array<int, 10> modes = kAllInputs;
      modes[8] = mode;
      const auto on9 = parseConnectorReport(reportLine(values), modes, 3);
      ASSERT_TRUE(on9);
      const ConnectorReading& r = on9->cn[8];
      EXPECT_EQ(r.value, c.high ? "HIGH" : "LOW") << c.field;
      EXPECT_EQ(r.high, c.high) << c.field;
      EXPECT_EQ(r.number, c.high ? 1 : 0) << c.field;
      EXPECT_FALSE(r.bar.has_value()) << "outputs have no bar";
      EXPECT_EQ(r.raw, c.field);
      EXPECT_TRUE(r.switchRedLed) << "CN9 shows the red LED on this board";
      const auto onGlent = parseConnectorReport(reportLine(values), modes, 0);
      EXPECT_FALSE(onGlent->cn[8].switchRedLed);
    }
  }
}

TEST(MonitorReport, LedDigitsAndShortLines) {
  std::array<std::string, 10> values;
  values.fill("0000");
  const std::string full = reportLine(values, "101");
  struct Case {
    std::string line;
    int green, red1, red2;  // -1: none
  } cases[] = {
      {full, 1, 0, 1},
      {reportLine(values, "010"), 0, 1, 0},
      {reportLine(values, "x0"), 1, 0, -1},   // anything but "0" is lit; 97 characters: no LED 2
      {full.substr(0, 96), 0 + 1, -1, -1},    // ends after the green digit
      {full.substr(0, 90), -1, -1, -1},       // ends right after CN10's value: LEDs stay
  };
  for (const auto& c : cases) {
    const auto report = parseConnectorReport(c.line, kAllInputs, 3);
    ASSERT_TRUE(report) << c.line;
    EXPECT_EQ(report->ledGreen ? int(*report->ledGreen) : -1, c.green) << c.line;
    EXPECT_EQ(report->ledRed1 ? int(*report->ledRed1) : -1, c.red1) << c.line;
    EXPECT_EQ(report->ledRed2 ? int(*report->ledRed2) : -1, c.red2) << c.line;
  }
  EXPECT_FALSE(parseConnectorReport(full.substr(0, 89), kAllInputs, 3)) << "under 90 characters: ignored";
  EXPECT_FALSE(parseConnectorReport("", kAllInputs, 3));
  // A garbled line of the right length reads as zeros instead of failing.
  const auto garbled = parseConnectorReport(std::string(98, '#'), kAllInputs, 3);
  ASSERT_TRUE(garbled);
  EXPECT_EQ(garbled->cn[0].value, "  0%");
  EXPECT_EQ(garbled->cn[9].raw, "####");
}

TEST(MonitorCsv, HeaderAndRows) {
  EXPECT_EQ(MonitorCsv::header(), "time_ms,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2\n");
  // Every kind of connector in one report: output low and high, analogue, PING, servo,
  // 2-wire, thermistor in range and out of range.
  const std::array<int, 10> modes{0, 2, 1, 3, 4, 5, 6, 6, 1, 1};
  const std::array<std::string, 10> values{"0000", "1000", "1023", "0345", "1500", "0512", "0253", "1500", "abcd", "0512"};
  MonitorCsv csv;
  const auto first = parseConnectorReport(reportLine(values, "10"), modes, 3);
  const auto second = parseConnectorReport(reportLine(values, "011"), modes, 3);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(csv.row(*first, 5000), "0,0,1,100,34,50,50,25,,0,50,1,0,\n");
  EXPECT_EQ(csv.row(*second, 5020), "20,0,1,100,34,50,50,25,,0,50,0,1,1\n");
  csv.restart();
  EXPECT_EQ(csv.row(*second, 9000).substr(0, 2), "0,");
}
