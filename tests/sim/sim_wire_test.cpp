// The control channel's messages: what one side writes the other reads back, and a broken
// stream is noticed instead of read as nonsense.

#include <gtest/gtest.h>

#include "sim/SimWire.h"

using namespace kavel::sim;

namespace {

SimSnapshot busySnapshot() {
  SimSnapshot s;
  s.timeUs = 1230000;
  s.x = 1000.25;
  s.y = -3.5;
  s.heading = 359.96;
  s.motorLeft = -100;
  s.motorRight = 100;
  s.cn = {1, 2, 3, 1023, 0, 250, 1500, 660, 1, 0};
  s.leds = {true, false, true, false};
  s.pwm = {1, 2, 3, 4, 5, 255};
  s.lcd = {"Hello           ", "A:    42        "};
  s.uss = {660, 910, 660, 910};
  s.bumperRight = true;
  s.camera = {{1, 160, 120, 40, 30}, {7, 10, 20, 3, 4}};
  s.balls = {{500, 600}, {1.5, 2.5}};
  return s;
}

}  // namespace

TEST(SimWire, ASnapshotReadsBackAsItWasWritten) {
  const SimSnapshot s = busySnapshot();
  std::string stream = encodeSnapshot(s) + encodeSnapshot(SimSnapshot{});
  WireMessage m;
  bool broken = false;
  ASSERT_TRUE(takeMessage(stream, m, broken));
  EXPECT_EQ(m.type, static_cast<std::uint8_t>(HostMessage::Sample));
  SimSnapshot back;
  ASSERT_TRUE(decodeSnapshot(m.payload, back));
  EXPECT_EQ(back, s);
  ASSERT_TRUE(takeMessage(stream, m, broken));
  ASSERT_TRUE(decodeSnapshot(m.payload, back));
  EXPECT_EQ(back, SimSnapshot{});
  EXPECT_TRUE(stream.empty());
}

TEST(SimWire, PartsOfMessagesWaitAndBrokenOnesAreNoticed) {
  const std::string whole = encodeSnapshot(busySnapshot());
  std::string part = whole.substr(0, 3);
  WireMessage m;
  bool broken = false;
  EXPECT_FALSE(takeMessage(part, m, broken));
  EXPECT_FALSE(broken);
  part = whole.substr(0, whole.size() - 1);
  EXPECT_FALSE(takeMessage(part, m, broken));
  EXPECT_FALSE(broken) << "the rest is still coming";

  std::string garbage("\xff\xff\xff\xff\x03", 5);
  EXPECT_FALSE(takeMessage(garbage, m, broken));
  EXPECT_TRUE(broken) << "a length no message has";
  std::string zero(4, '\0');
  EXPECT_FALSE(takeMessage(zero, m, broken));
  EXPECT_TRUE(broken);

  SimSnapshot s;
  const std::string payload = whole.substr(5);
  EXPECT_FALSE(decodeSnapshot(payload.substr(0, payload.size() - 4), s)) << "cut short";
  EXPECT_FALSE(decodeSnapshot(payload + "x", s)) << "something left over";
}

TEST(SimWire, TheSignalSafeEndReadsLikeAnyEnd) {
  char raw[256];
  const std::size_t n = encodeEndedRaw(raw, sizeof raw, EndKind::Crashed, 4560000, "a division by zero");
  std::string stream(raw, n);
  WireMessage m;
  bool broken = false;
  ASSERT_TRUE(takeMessage(stream, m, broken));
  EXPECT_EQ(m.type, static_cast<std::uint8_t>(HostMessage::Ended));
  WireReader r(m.payload);
  EXPECT_EQ(r.u8(), static_cast<std::uint8_t>(EndKind::Crashed));
  EXPECT_EQ(r.i64(), 4560000);
  EXPECT_EQ(r.text(), "a division by zero");
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(WireWriter().u8(3).i64(4560000).text("a division by zero").frame(5), std::string(raw, n));
}

TEST(SimWire, PadState) {
  PadState pad{0x8001, 3, 8};
  std::string stream = encodePad(pad);
  WireMessage m;
  bool broken = false;
  ASSERT_TRUE(takeMessage(stream, m, broken));
  PadState back;
  ASSERT_TRUE(decodePad(m.payload, back));
  EXPECT_EQ(back, pad);
}
