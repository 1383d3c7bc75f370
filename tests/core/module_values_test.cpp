#include <gtest/gtest.h>

#include "core/modules/CameraValues.h"
#include "core/modules/DirectionValues.h"
#include "core/modules/GamePadValues.h"
#include "core/modules/UltrasonicValues.h"

using namespace kavel;

TEST(UltrasonicValues, ReadsAndPacksTheTest) {
  struct Case {
    const char* name;
    int val0, val1;
    UltrasonicTest test;
    UltrasonicValues stored;  // what OK stores for the test as opened
  } cases[] = {
      {"USS-3 > 120 cm", 1200, 20001, {2, 0, 1, 120}, {1200, 20001}},
      {"against variable D", 500, 10402, {1, 4, 2, 50}, {500, 10402}},
      {"new row", 0, 0, {0, 0, 0, 0}, {0, 0}},
      {"sensor 7 falls back to USS-1", 100, 70000, {0, 0, 0, 10}, {100, 0}},
      {"comparison 5 falls back to <", 100, 5, {0, 0, 0, 10}, {100, 0}},
      {"distance above 300 cm is clamped", 99990, 0, {0, 0, 0, 300}, {3000, 0}},
      {"negative distance is 0", -500, 0, {0, 0, 0, 0}, {0, 0}},
      {"source 40 is the set distance", 100, 4000, {0, 0, 0, 10}, {100, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const UltrasonicTest t = ultrasonicTestOf(c.val0, c.val1);
    EXPECT_EQ(t, c.test);
    EXPECT_EQ(packUltrasonicTest(t), c.stored);
  }
}

TEST(UltrasonicValues, Captions) {
  EXPECT_EQ(ussSensorCaption(2), "USS-3");
  EXPECT_EQ(ussComparisonCaption(0), "<");
  EXPECT_EQ(ussComparisonCaption(1), ">");
  EXPECT_EQ(ussComparisonCaption(2), "==");
  EXPECT_EQ(ussDistanceCaption(5), "  5cm");
  EXPECT_EQ(ussDistanceCaption(120), "120cm");
  EXPECT_EQ(ussRunCaption(true), "START");
  EXPECT_EQ(ussRunCaption(false), "STOP");
  EXPECT_TRUE(ultrasonicStarts(1));
  EXPECT_FALSE(ultrasonicStarts(0));
  EXPECT_FALSE(ultrasonicStarts(7)) << "any other digit is STOP";
}

TEST(DirectionValues, RangesByAxis) {
  struct Case {
    int axis;
    bool useBno;
    DirectionRanges r;
  } cases[] = {
      {kAxisDir, false, {360, 30, 180, 15}},  {kAxisDir, true, {360, 30, 180, 15}},
      {kAxisPitch, true, {360, 30, 180, 15}}, {kAxisPitch, false, {180, 15, 90, 10}},
      {kAxisRoll, false, {180, 15, 90, 10}},  {kAxisRoll, true, {180, 15, 90, 10}},
      {7, false, {360, 30, 180, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "axis " << c.axis << " bno " << c.useBno);
    EXPECT_EQ(directionRanges(c.axis, c.useBno), c.r);
  }
}

TEST(DirectionValues, ReadsClampedAndPacks) {
  struct Case {
    const char* name;
    int val0, val1;
    bool useBno;
    DirectionTest test;
  } cases[] = {
      {"roll 45 +/- 5", 45005, 200000, false, {kAxisRoll, 45, 5, 0, 0}},
      {"new row: tolerance 10", 0, 0, false, {kAxisDir, 0, 10, 0, 0}},
      {"heading 300 on roll is clamped to 180", 300100, 200000, false, {kAxisRoll, 180, 90, 0, 0}},
      {"pitch 270 with 9-axis sensor", 270020, 100000, true, {kAxisPitch, 270, 20, 0, 0}},
      {"pitch 270 without is clamped", 270020, 100000, false, {kAxisPitch, 180, 20, 0, 0}},
      {"variables B and Z", 0, 2026, false, {kAxisDir, 0, 10, 2, 26}},
      {"axis 5 is the heading", 10010, 500000, false, {kAxisDir, 10, 10, 0, 0}},
      {"source 55 is the slider", 10010, 55055, false, {kAxisDir, 10, 10, 0, 0}},
      {"negative target is 0", -5000, 0, false, {kAxisDir, 0, 10, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(directionTestOf(c.val0, c.val1, c.useBno), c.test);
  }
  EXPECT_EQ(packDirectionTest({kAxisRoll, 45, 5, 0, 0}), (DirectionValues{45005, 200000}));
  EXPECT_EQ(packDirectionTest({kAxisPitch, 90, 30, 3, 4}), (DirectionValues{90030, 103004}));
  EXPECT_EQ(degreeCaption(45), " 45 Deg");
}

TEST(GamePadValues, ChoicesAndBits) {
  struct Case {
    const char* name;
    GamePadChoice choice;
    GamePadValues values;
  } cases[] = {
      {"circle", {9, 0}, {512, 0}},
      {"R1", {0, 0}, {1, 0}},
      {"left stick pressed", {kPadLeftStick, 0}, {0xC000, 0}},
      {"right stick direction 3", {kPadRightStick, 3}, {4096, 3}},
      {"right stick pressed", {kPadRightStick, 0}, {0x3000, 0}},
      {"nothing", {-1, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(packGamePad(c.choice), c.values);
    EXPECT_EQ(gamePadChoiceOf(c.values.val0, c.values.val1), c.choice) << "reopens as stored";
  }
  EXPECT_EQ(gamePadChoiceOf(0x0005, 0), (GamePadChoice{0, 0})) << "two bits: the first";
  EXPECT_EQ(gamePadChoiceOf(0x0200, 4), (GamePadChoice{9, 0})) << "a button has no direction";
  EXPECT_EQ(gamePadChoiceOf(0x4000, 9), (GamePadChoice{kPadLeftStick, 0})) << "direction 9 is pressed";
  EXPECT_EQ(gamePadChoiceOf(0x2000, 0), (GamePadChoice{-1, 0})) << "the pressed bit alone chooses nothing";
}

TEST(CameraValues, PositionCodeAndPacking) {
  CameraAreas areas{};
  areas[0] = areas[8] = true;  // areas 1 and 9
  EXPECT_EQ(positionCodeOf(areas), 401);
  EXPECT_EQ(areasOf(401), areas);
  CameraAreas middle{};
  middle[1] = middle[4] = middle[7] = true;
  EXPECT_EQ(positionCodeOf(middle), 222);
  EXPECT_EQ(areasOf(222), middle);
  EXPECT_EQ(positionCodeOf(areasOf(777)), 777);
  EXPECT_EQ(positionCodeOf(areasOf(989)), 101) << "digits 8 and 9 keep their three low bits";

  struct Case {
    const char* name;
    int val0, val1;
    CameraTest test;
    CameraValues stored;
  } cases[] = {
      {"Sig3, areas 1 and 9, larger than 100 x 80", 3 * 100000 + 401 * 100 + 2, 100080, {3, 401, 2, 100, 80},
       {340102, 100080}},
      {"opening default", 122200, 50050, {1, 222, 0, 50, 50}, {122200, 50050}},
      {"Get Pixy", 0, 0, {0, 0, 0, 10, 10}, {0, 0}},
      {"limits clamped", 100001, 999999, {1, 0, 1, 310, 190}, {100001, 310190}},
      {"limits below the range", 100001, 5, {1, 0, 1, 10, 10}, {100001, 10010}},
      {"signature 9 is Get Pixy", 900000, 50050, {0, 0, 0, 50, 50}, {0, 0}},
      {"size mode 7 is none", 100007, 50050, {1, 0, 0, 50, 50}, {100000, 50050}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CameraTest t = cameraTestOf(c.val0, c.val1);
    EXPECT_EQ(t, c.test);
    EXPECT_EQ(packCameraTest(t), c.stored);
  }
}

TEST(CameraValues, PreviewAndCaptions) {
  EXPECT_EQ(cameraSizePreview(320, 200), (CameraPreview{240, 150}));
  EXPECT_EQ(cameraSizePreview(100, 80), (CameraPreview{75, 60}));
  EXPECT_EQ(cameraSizePreview(10, 10), (CameraPreview{7, 7}));
  EXPECT_EQ(cameraSizeCaption(100, 80), "w:100 x h:80  ");
  EXPECT_EQ(cameraSignatureCaption(0), "Get Pixy");
  EXPECT_EQ(cameraSignatureCaption(7), "Sig7");
  EXPECT_EQ(nextCameraSignature(1), 2);
  EXPECT_EQ(nextCameraSignature(7), 1);
  EXPECT_EQ(nextCameraSignature(0), 0) << "the icon does nothing on Get Pixy";
}
