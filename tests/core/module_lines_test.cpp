// The module monitors' line rules: ultrasonic, compass (with its dial), camera and game pad.

#include <gtest/gtest.h>

#include "core/monitor/CompassDial.h"
#include "core/monitor/CompassLine.h"
#include "core/monitor/GamePadLine.h"
#include "core/monitor/ModuleField.h"
#include "core/monitor/PixyLine.h"
#include "core/monitor/SignatureColours.h"
#include "core/monitor/UltrasonicLine.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"

using namespace kavel;

TEST(ModuleField, ReadsNumbersAndFallsBack) {
  struct Case {
    const char* line;
    int position, length, expected;
  } cases[] = {
      {"U:1234,0500", 3, 4, 1234},
      {"U:1234,0500", 8, 4, 500},
      {"D: 90", 3, 3, 90},          // padded with spaces
      {"D:-10", 3, 3, -10},
      {"D:+10", 3, 3, 10},
      {"D:abc", 3, 3, -1},
      {"D:1a3", 3, 3, -1},
      {"D:12 ", 3, 3, -1},          // trailing space is not a number
      {"D:-", 3, 3, -1},
      {"D:   ", 3, 3, -1},
      {"U:12", 3, 4, 12},           // cut short by the line's end
      {"U:", 3, 4, -1},             // starts beyond the end
      {"", 1, 1, -1},
      {"D:123", 0, 3, -1},
      {"D:123", 3, 0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(moduleField(c.line, c.position, c.length, -1), c.expected) << c.line << " @" << c.position;
  }
}

TEST(UltrasonicLine, ShowsEachSensor) {
  struct Case {
    const char* line;
    std::array<UltrasonicReading, 4> expected;
  } cases[] = {
      {"U:1234,0000,0005,2999",
       {{{1234, "1234", "123cm", 41}, {0, "", "", 0}, {5, "0005", "  0cm", 0}, {2999, "2999", "299cm", 99}}}},
      // 3000 mm fills the bar; farther readings keep it full.
      {"U:3000,9999,-100,abcd",
       {{{3000, "3000", "300cm", 100}, {9999, "9999", "999cm", 100}, {-100, "", "", 0}, {0, "", "", 0}}}},
      {"U:0345", {{{345, "0345", " 34cm", 11}, {}, {}, {}}}},
      {"U:", {}},
      {"garbage", {}},
  };
  for (const Case& c : cases) {
    const auto got = readUltrasonicLine(c.line);
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(got[i], c.expected[i]) << c.line << " sensor " << i + 1;
    }
  }
}

TEST(CompassLine, ModelFromTheBoardOptions) {
  struct Case {
    bool hmc, dir, bno;
    CompassModel model;
    const char* caption;
    bool pitchRoll;
  } cases[] = {
      {true, true, true, CompassModel::Hmc6352, "Compass Monitor : SNX4402(HMC6352)", false},
      {false, true, true, CompassModel::SixD, "Compass Monitor : SNX5501(6D-Compass)", true},
      {false, false, true, CompassModel::NineD, "Compass Monitor : SNX6603(9D-Compass)", true},
      {false, false, false, CompassModel::None, "Compass Monitor : ", false},
  };
  for (const Case& c : cases) {
    IoSetup io;
    io.useHmc = c.hmc;
    io.useDir = c.dir;
    io.useBno = c.bno;
    const CompassModel m = compassModelOf(io);
    EXPECT_EQ(m, c.model) << c.caption;
    EXPECT_EQ(compassCaption(m), c.caption);
    EXPECT_EQ(showsPitchRoll(m), c.pitchRoll) << c.caption;
  }
}

TEST(CompassLine, HeadingAndCells) {
  constexpr CompassCell kBlue{5, false};
  auto green = [](int cell) { return CompassCell{cell, true}; };
  struct Case {
    const char* line;
    CompassModel model;
    int heading;
    bool needle;
    CompassCell pitch, roll;
  } cases[] = {
      {"D:090,090,090", CompassModel::SixD, 90, true, kBlue, kBlue},     // level: middle cell blue
      {"D:000,010,010", CompassModel::SixD, 0, true, green(1), green(1)},
      {"D:359,079,100", CompassModel::SixD, 359, true, green(4), green(6)},
      {"D:360,180,170", CompassModel::SixD, 360, false, kBlue, green(9)},  // index 9 is outside
      {"D:999", CompassModel::SixD, 999, false, kBlue, kBlue},           // pitch and roll read 90
      {"D:abc,xyz,---", CompassModel::SixD, 999, false, kBlue, kBlue},
      {"D:045,100,090", CompassModel::NineD, 45, true, green(3), kBlue},  // 9D: pitch / 40
      {"D:045,359,090", CompassModel::NineD, 45, true, green(9), kBlue},
      {"D:045,xyz,090", CompassModel::NineD, 45, true, kBlue, kBlue},    // 360 / 40 = 9
      {"D:045,-30,-10", CompassModel::SixD, 45, true, kBlue, green(1)},  // -30 / 20 = -1, -10 / 20 = 0
      {"D:270", CompassModel::Hmc6352, 270, true, kBlue, kBlue},
  };
  for (const Case& c : cases) {
    const CompassReading r = readCompassLine(c.line, c.model);
    EXPECT_EQ(r.heading, c.heading) << c.line;
    EXPECT_EQ(r.drawsNeedle, c.needle) << c.line;
    EXPECT_EQ(r.pitch, c.pitch) << c.line << " pitch";
    EXPECT_EQ(r.roll, c.roll) << c.line << " roll";
  }
}

TEST(CompassLine, CellIndexRule) {
  for (int index = -3; index <= 12; ++index) {
    const CompassCell c = compassCellOf(index);
    if (index >= 0 && index <= 8 && index != 4) {
      EXPECT_EQ(c, (CompassCell{index + 1, true})) << index;
    } else {
      EXPECT_EQ(c, (CompassCell{5, false})) << index;
    }
  }
}

TEST(CompassDial, NeedleAndScale) {
  // The four main directions: 0 up, clockwise; east exactly level.
  EXPECT_EQ(needleEnd(0), (DialPoint{180, 32}));
  EXPECT_EQ(needleEnd(90), (DialPoint{328, 180}));
  EXPECT_EQ(needleEnd(180), (DialPoint{180, 328}));
  EXPECT_EQ(needleEnd(270), (DialPoint{32, 180}));
  EXPECT_EQ(needleEnd(45), (DialPoint{285, 75}));
  // The 90-degree rule holds for any centre and radius, not only by rounding luck.
  for (double r : {1e6, 150.0, 3.0}) EXPECT_EQ(dialPoint(90, r, 10, 20).y, 20) << r;
  EXPECT_EQ(dialPoint(0, kDialRadius), (DialPoint{180, 30}));

  const std::vector<DialTick> scale = dialScale();
  ASSERT_FALSE(scale.empty());
  int previous = -1;
  for (const DialTick& t : scale) {
    EXPECT_EQ(t.degree % 5, 0);
    EXPECT_GT(t.degree, previous);
    previous = t.degree;
    if (t.degree % 10 == 0) {
      EXPECT_EQ(t.end, dialPoint(t.degree, 158)) << t.degree;
      EXPECT_EQ(t.label, std::to_string(t.degree));
      const DialPoint at = dialPoint(t.degree, 170);
      EXPECT_EQ(t.labelCentre, (DialPoint{at.x, at.y - 4})) << t.degree;
    } else {
      EXPECT_EQ(t.end, dialPoint(t.degree, 153)) << t.degree;
      EXPECT_TRUE(t.label.empty());
    }
  }
  EXPECT_EQ(scale.front().labelCentre, (DialPoint{180, 6}));
  EXPECT_EQ(previous, 355);
}

TEST(PixyLine, BoxesAndStatus) {
  const std::array<std::uint32_t, 7> colours{1, 2, 3, 4, 5, 6, 7};
  struct Case {
    const char* what;
    std::string line;
    std::vector<PixyBox> boxes;
    std::string status;
  } cases[] = {
      {"signature 2 at the centre", "#Pixy:002,160,100,020,010 ",
       {{2, 332, 372, 222, 242, 2}},
       "[2]x:160(w: 20), y:100(h: 10) "},
      {"no blocks", "#Pixy:", {}, ""},
      {"signature 0 ends the list", "#Pixy:001,000,000,010,010 000,000,000,000,000 003,010,010,010,010 ",
       {{1, 22, 42, 22, 42, 1}},
       "[1]x:  0(w: 10), y:  0(h: 10) "},
      {"a signature that is not a number ends the list", "#Pixy:abc,160,100,020,010 ", {}, ""},
      {"signature 9 has no colour and is skipped", "#Pixy:009,160,100,020,010 007,319,199,002,002 ",
       {{7, 668, 672, 428, 432, 7}},
       "[7]x:319(w:  2), y:199(h:  2) "},
      {"fields that are not numbers read 0", "#Pixy:004,xxx,100",
       {{4, 32, 32, 232, 232, 4}},
       "[4]x:  0(w:  0), y:100(h:  0) "},
      {"the last block may be cut short", "#Pixy:005,100,050,040,020 006",
       {{5, 192, 272, 112, 152, 5}, {6, 32, 32, 32, 32, 6}},
       "[5]x:100(w: 40), y: 50(h: 20) [6]x:  0(w:  0), y:  0(h:  0) "},
  };
  for (const Case& c : cases) {
    const PixyFrame f = readPixyLine(c.line, colours);
    EXPECT_EQ(f.boxes, c.boxes) << c.what;
    EXPECT_EQ(f.status, c.status) << c.what;
  }
}

TEST(PixyLine, AtMostSevenBlocks) {
  std::string line = "#Pixy:";
  for (int i = 0; i < 9; ++i) line += "001,100,100,010,010 ";
  const PixyFrame f = readPixyLine(line, kDefaultSignatureColours);
  ASSERT_EQ(f.boxes.size(), 7u);
  EXPECT_EQ(f.boxes.back().colour, 0x0000FFu);
}

TEST(SignatureColours, PanelTextStaysReadable) {
  struct Case {
    std::uint32_t colour;
    bool black;
  } cases[] = {
      {0x0000FF, false},  // red
      {0x00FFFF, true},   // yellow
      {0xFF0000, false},  // blue
      {0xFFFFFF, true},   // white
      {0x008887, false},  // 34951 itself is not above the limit
      {0x008888, true},
      {0xFF8888, true},   // blue does not count
  };
  for (const Case& c : cases) EXPECT_EQ(signatureTextIsBlack(c.colour), c.black) << std::hex << c.colour;
  EXPECT_EQ(AppSettings{}.clSig, kDefaultSignatureColours);
}

TEST(GamePadLine, CaptionIsTheWholePadLine) {
  EXPECT_EQ(gamePadCaption("P:00F0,128,200"), "P:00F0,128,200");
  EXPECT_EQ(gamePadCaption("  xP:1"), "  xP:1");
  EXPECT_EQ(gamePadCaption("U:1234"), std::nullopt);
  EXPECT_EQ(gamePadCaption(""), std::nullopt);
}
