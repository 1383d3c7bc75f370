#include <gtest/gtest.h>

#include "core/codegen/ConfigHeader.h"
#include "core/setup/SetupCodec.h"

using namespace kavel;

namespace {

using Lines = std::vector<std::string>;

// An I/O setup decoded from its three setup values, as a program file gives it.
IoSetup decoded(int first, int second, int third, int kind = 7) {
  IoSetup io;
  DecodeSetup(io, kind, first, second, third);
  return io;
}

AppSettings settingsFor(int variant, int mcu2620) {
  AppSettings s;
  s.variant = variant;
  s.MCU2620_ = mcu2620;
  return s;
}

}  // namespace

TEST(ConfigHeader, ProductAndMicrocontroller) {
  struct Case {
    int variant, mcu;
    IoSetup io;
    Lines lines;
  } cases[] = {
      {0, 1, decoded(111111, 111100, 0), {"#define MCU_2620", "#define GLENT"}},
      {1, 0, decoded(111111, 111100, 4), {"#define MCU_2520", "#define QV7B", "#define USE_LCD"}},
      {2, 1, decoded(111111, 111100, 0), {"#define MCU_2620", "#define QV7B"}},
      {3, 0, decoded(111111, 110000, 4),
       {"#define MCU_2520", "#define WRENLET", "#define USE_LCD", "#define CN9_OUT", "#define CN10_OUT"}},
      {4, 0, decoded(111111, 111100, 4),
       {"#define MCU_2520", "#define WRENLET", "#define USE_LCD", "#define PRODUCT \"Velmo\""}},
      {4, 0, decoded(111111, 111100, 0), {"#define MCU_2520", "#define WRENLET", "#define PRODUCT \"Velmo\""}},
      {7, 0, decoded(111111, 111100, 4), {"#define MCU_2520"}},  // no product outside 0..4
  };
  for (const auto& c : cases) {
    EXPECT_EQ(configHeaderLines(c.io, settingsFor(c.variant, c.mcu), false), c.lines) << "variant " << c.variant;
  }
}

TEST(ConfigHeader, SubIoIdentity) {
  const AppSettings s = settingsFor(0, 1);
  const Lines base{"#define MCU_2620", "#define GLENT"};
  const auto with = [&](Lines extra) {
    Lines l = base;
    l.insert(l.end(), extra.begin(), extra.end());
    return l;
  };
  EXPECT_EQ(configHeaderLines(decoded(111111, 111120, 0), s, false), with({"#define USE_SUBIO"}));
  EXPECT_EQ(configHeaderLines(decoded(111111, 111133, 0), s, false),
            with({"#define I2C_SLV", "#define SUB_ADRS\t0x34"}));
  EXPECT_EQ(configHeaderLines(decoded(111111, 111131, 0), s, false),
            with({"#define I2C_SLV", "#define SUB_ADRS\t0x30"}));
  EXPECT_EQ(configHeaderLines(decoded(111111, 111138, 0), s, false),
            with({"#define I2C_SLV", "#define SUB_ADRS\t0x3E"}));
  EXPECT_EQ(configHeaderLines(decoded(111111, 111103, 0), s, false), base) << "an identity without sub I/O";
}

TEST(ConfigHeader, ConnectorsModulesAndOrder) {
  // CN2 OutL, CN3 OutH, CN4 2-wire, CN5 thermistor, CN6 servo and ping (no line there),
  // CN7 servo, CN8..CN10 ping; every module; PwrOn Run; the interrupt routine.
  IoSetup io = decoded(102564, 433310, 37777);
  io.cnMode[0] = PingIn;  // ping on CN1 has no macro either
  io.interruptInUse = true;
  EXPECT_EQ(configHeaderLines(io, settingsFor(3, 1), true),
            (Lines{"#define MCU_2620",   "#define WRENLET",   "#define USE_LCD",   "#define CN2_OUT",
                   "#define CN3_OUTH",   "#define CN4_IN2",   "#define CN7_SERVO", "#define PING_CN8",
                   "#define PING_CN9",   "#define PING_CN10", "#define CN5_THM",   "#define PWRON_RUN",
                   "#define USE_MCB",    "#define USE_DIR",   "#define USE_HMC",   "#define USE_BNO",
                   "#define USE_CLF",    "#define USE_CLS",   "#define USE_USS",   "#define USE_PIXY",
                   "#define USE_ZBTM",   "#define USE_WL102", "#define USE_WL103", "#define USE_WL109",
                   "#define USE_SNX4410", "#define USER_INTR"}));

  const IoSetup allPing = decoded(111111, 333300, 0);
  const Lines pings = configHeaderLines(allPing, settingsFor(0, 1), false);
  EXPECT_EQ(Lines(pings.begin() + 2, pings.end()),
            (Lines{"#define PING_CN7", "#define PING_CN8", "#define PING_CN9", "#define PING_CN10"}));
}
