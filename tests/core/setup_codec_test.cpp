#include <gtest/gtest.h>

#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "core/setup/SetupCodec.h"

using namespace kavel;

namespace {

IoSetup allInput() {
  IoSetup io;
  io.cnMode.fill(Input);
  return io;
}

std::array<int, 3> encoded(const IoSetup& io) {
  SetupRecord r;
  EncodeSetup(io, r);
  return r.setupValue;
}

}  // namespace

// Each option flag has its own weight in the third value; in advanced mode each survives a
// round trip through the setup values on its own.
TEST(SetupCodec, EachOptionFlagEncodesAndDecodesAlone) {
  struct Case {
    bool IoSetup::*flag;
    int third;
  } cases[] = {
      {&IoSetup::useDir, 1},        {&IoSetup::useMcb, 2},       {&IoSetup::useLcd, 4},
      {&IoSetup::useSnx4410, 10},   {&IoSetup::useHmc, 20},      {&IoSetup::useClf, 40},
      {&IoSetup::useWl102, 100},    {&IoSetup::useWl103, 200},   {&IoSetup::useWl109, 400},
      {&IoSetup::useUss, 1000},     {&IoSetup::useBno, 2000},    {&IoSetup::useCls, 4000},
      {&IoSetup::usePixy, 10000},   {&IoSetup::useZbtm, 20000},
  };
  const bool IoSetup::*all[] = {&IoSetup::useDir, &IoSetup::useMcb, &IoSetup::useLcd,
                                &IoSetup::useSnx4410, &IoSetup::useHmc, &IoSetup::useClf,
                                &IoSetup::useWl102, &IoSetup::useWl103, &IoSetup::useWl109,
                                &IoSetup::useUss, &IoSetup::useBno, &IoSetup::useCls,
                                &IoSetup::usePixy, &IoSetup::useZbtm};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.third);
    IoSetup io = allInput();
    io.advancedMode = true;
    io.*c.flag = true;
    EXPECT_EQ(encoded(io), (std::array<int, 3>{111111, 111110, c.third}));

    IoSetup back;
    ASSERT_TRUE(DecodeSetup(back, 7, 111111, 111110, c.third));
    for (auto f : all) EXPECT_EQ(back.*f, f == c.flag);
  }
}

TEST(SetupCodec, EncodesModesAndIdentity) {
  IoSetup io = allInput();
  EXPECT_EQ(encoded(io), (std::array<int, 3>{111111, 111100, 0}));

  io.cnMode = {0, 1, 2, 3, 4, 5, 6, 9, 3, 0};
  io.subIoOn = true;
  io.advancedMode = true;
  io.subIoId = 8;
  EXPECT_EQ(encoded(io), (std::array<int, 3>{12345, 693038, 0}));
}

TEST(SetupCodec, DecodesSecondValueAndOptions) {
  struct Case {
    int kind, second, third;
    bool advanced, subIoOn;
    int subIoId;
    bool lcd, mcb, wl102;
  } cases[] = {
      {7, 110000, 0, false, false, 0, false, false, false},
      {7, 110031, 6, true, true, 1, false, true, false},  // a slave board has no LCD
      {8, 110031, 6, true, true, 1, false, true, false},  // the digits decide, not the kind
      {8, 110000, 4, false, false, 0, true, false, false},
      {7, 110020, 0, false, true, 0, false, false, false},
      {7, 110000, 106, false, false, 0, true, true, false},  // add-ons need advanced mode
      {7, 110010, 106, true, false, 0, true, true, true},
      {7, 110019, 4, true, false, 9, false, false, false},  // digit 9 is kept as it comes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " " << c.second << " " << c.third);
    IoSetup io;
    ASSERT_TRUE(DecodeSetup(io, c.kind, 111111, c.second, c.third));
    EXPECT_EQ(io.advancedMode, c.advanced);
    EXPECT_EQ(io.subIoOn, c.subIoOn);
    EXPECT_EQ(io.subIoId, c.subIoId);
    EXPECT_EQ(io.useLcd, c.lcd);
    EXPECT_EQ(io.useMcb, c.mcb);
    EXPECT_EQ(io.useWl102, c.wl102);
    EXPECT_EQ(shownSubIoId(io), c.advanced ? c.subIoId : 0);
  }
}

TEST(SetupCodec, DecodesModesDigitByDigit) {
  struct Case {
    int first, second;
    std::array<int, 10> modes;
  } cases[] = {
      {111111, 110000, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {12345, 693000, {0, 1, 2, 3, 4, 5, 6, 9, 3, 0}},
      {0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // A hand-edited file: no digit may become negative or wider than one digit.
      {-11111, -110000, {0, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {1234567, 9876543, {2, 3, 4, 5, 6, 7, 8, 7, 6, 5}},
  };
  for (const auto& c : cases) {
    IoSetup io;
    DecodeSetup(io, 7, c.first, c.second, 0);
    EXPECT_EQ(io.cnMode, c.modes) << c.first << " " << c.second;
  }
}

TEST(SetupCodec, OtherKindsChangeNothing) {
  for (int kind : {0, 6, 9, -7, 78}) {
    IoSetup io;
    io.cnName[0] = "keep";
    io.useLcd = true;
    EXPECT_FALSE(DecodeSetup(io, kind, 0, 2031, 37777));
    EXPECT_EQ(io.cnMode, IoSetup{}.cnMode);
    EXPECT_TRUE(io.useLcd);
    EXPECT_FALSE(io.advancedMode);
  }
}

TEST(SetupCodec, UseOfOutputsAndServosIsRaisedOnlyByDecoding) {
  IoSetup io;
  DecodeSetup(io, 7, 111111, 110000, 0);  // CN9 and CN10 outputs do not count
  EXPECT_FALSE(io.outputInUse);
  DecodeSetup(io, 7, 211111, 140000, 0);
  EXPECT_TRUE(io.outputInUse);
  EXPECT_TRUE(io.servoInUse);
  DecodeSetup(io, 7, 111111, 110000, 0);
  EXPECT_TRUE(io.outputInUse);  // still raised
  recomputeConnectorUse(io);
  EXPECT_FALSE(io.outputInUse);
  EXPECT_FALSE(io.servoInUse);
  io.cnMode[7] = Servo;
  io.cnMode[2] = OutH;
  recomputeConnectorUse(io);
  EXPECT_TRUE(io.outputInUse);
  EXPECT_TRUE(io.servoInUse);
}

TEST(SetupCodec, FullResetGivesTheVariantDefaults) {
  struct Case {
    ProductVariant variant;
    std::array<int, 3> values;
    const char* cn5;
    const char* cn8;
    bool outputInUse;
    bool lcd;
  } cases[] = {
      {0, {111111, 101000, 0}, "RA5", "RB1:RED", true, false},
      {1, {111111, 110000, 0}, "C-Touch", "", false, false},
      {2, {111111, 110000, 0}, "C-Touch", "", false, false},
      {3, {111111, 110000, 4}, "", "", false, true},
      {4, {111111, 110000, 4}, "", "", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    AppSettings s;
    s.variant = c.variant;
    s.ussName = {"a", "b", "c", "d"};
    IoSetup io;
    DecodeSetup(io, 8, 444444, 442238, 37777);
    io.cnName.fill("typed");
    io.interruptInUse = true;
    SetupRecord r{8, {1, 2, 3}, "comment"};
    ResetSetup(io, r, s, true);
    EXPECT_EQ(r.setupValue, c.values);
    EXPECT_EQ(r.setupKind, 7);
    EXPECT_EQ(r.setupComment, "");
    EXPECT_EQ(io.cnName[4], c.cn5);
    EXPECT_EQ(io.cnName[7], c.cn8);
    EXPECT_EQ(io.cnName[5], c.variant == 0 ? "RB2" : "");
    EXPECT_EQ(io.outputInUse, c.outputInUse);
    EXPECT_FALSE(io.servoInUse);
    EXPECT_EQ(io.useLcd, c.lcd);
    EXPECT_FALSE(io.useBno || io.useZbtm || io.advancedMode || io.subIoOn);
    EXPECT_EQ(io.subIoId, 0);
    EXPECT_FALSE(io.interruptInUse);
    EXPECT_EQ(s.ussName, (std::array<std::string, 4>{"USS-1", "USS-2", "USS-3", "USS-4"}));
  }
}

TEST(SetupCodec, PartialResetKeepsTheSetupButEncodesIt) {
  AppSettings s;
  s.ussName[0] = "front";
  IoSetup io;
  DecodeSetup(io, 7, 211111, 110010, 1);
  io.cnName[0] = "typed";
  io.interruptInUse = true;
  SetupRecord r{7, {0, 0, 0}, "comment"};
  ResetSetup(io, r, s, false);
  EXPECT_EQ(r.setupValue, (std::array<int, 3>{211111, 110010, 1}));
  EXPECT_EQ(r.setupComment, "comment");
  EXPECT_EQ(io.cnName[0], "typed");
  EXPECT_TRUE(io.useDir);
  EXPECT_FALSE(io.interruptInUse);
  EXPECT_EQ(s.ussName[0], "USS-1");
}
