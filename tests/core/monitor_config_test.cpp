// The board's configuration line and what it changes in the I/O setup.

#include <gtest/gtest.h>

#include <string>

#include "core/monitor/MonitorConfig.h"
#include "core/setup/SetupCodec.h"

using namespace kavel;

TEST(MonitorConfig, ModesSubIoAndOptions) {
  struct Case {
    const char* line;
    std::array<int, 10> modes;
    bool subIo;
    int id;
  } cases[] = {
      {"CNio:0123456789", {0, 1, 2, 3, 4, 5, 6, 1, 1, 1}, false, 0},
      {"CNio:1111113400 USE_USS", {1, 1, 1, 1, 1, 1, 3, 4, 0, 0}, false, 0},
      {"CNio:0a2 3-4x56", {0, 1, 2, 1, 3, 1, 4, 1, 5, 6}, false, 0},  // non-digits read 1
      {"CNio:1111111100 ID:3", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true, 3},
      {"CNio:1111111100 ID:8", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true, 8},
      {"CNio:1111111100 ID:9", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true, 0},  // 9 or more gives 0
      {"CNio:1111111100 ID:x", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true, 0},
      {"CNio:1111111100 ID:", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true, 0},   // nothing after it
  };
  for (const auto& c : cases) {
    const auto config = parseConfigLine(c.line);
    ASSERT_TRUE(config) << c.line;
    EXPECT_EQ(config->modes, c.modes) << c.line;
    EXPECT_EQ(config->subIoOn, c.subIo) << c.line;
    EXPECT_EQ(config->subIoId, c.id) << c.line;
  }
  EXPECT_FALSE(parseConfigLine("CNio:012345678")) << "14 characters are ignored";
  EXPECT_TRUE(parseConfigLine("CNio:0123456789"));

  const auto words = parseConfigLine("CNio:1111111100 USE_MCB USE_WL109 USE_PIXY USE_CLS");
  ASSERT_TRUE(words);
  for (std::size_t i = 0; i < kBoardOptionCount; ++i) {
    const auto option = static_cast<BoardOption>(i);
    const std::string word = boardOptionWord(option);
    const bool want = word == "USE_MCB" || word == "USE_WL109" || word == "USE_PIXY" || word == "USE_CLS";
    EXPECT_EQ(words->has(option), want) << word;
  }
}

TEST(MonitorConfig, StoredInTheSetupOptionsOnlySet) {
  IoSetup io;
  io.useLcd = true;    // the board does not mention it: stays
  io.useHmc = true;
  io.subIoOn = true;   // replaced: the board has no sub I/O
  io.subIoId = 5;
  SetupRecord record;
  applyMonitorConfig(*parseConfigLine("CNio:0141113420 USE_USS USE_DIR USE_SNX4410"), io, record);
  EXPECT_EQ(io.cnMode, (std::array<int, 10>{0, 1, 4, 1, 1, 1, 3, 4, 2, 0}));
  EXPECT_TRUE(io.useUss && io.useDir && io.useSnx4410 && io.useLcd && io.useHmc);
  EXPECT_FALSE(io.useMcb || io.usePixy || io.useBno);
  EXPECT_FALSE(io.subIoOn);
  EXPECT_EQ(io.subIoId, 0);
  EXPECT_TRUE(io.outputInUse) << "CN1 is an output now";
  EXPECT_TRUE(io.servoInUse) << "CN3 and CN8 are servos now";
  // The setup record says the same, so a program saved afterwards keeps what the board said.
  EXPECT_EQ(record.setupKind, 7);
  IoSetup decoded;
  ASSERT_TRUE(DecodeSetup(decoded, record.setupKind, record.setupValue[0], record.setupValue[1], record.setupValue[2]));
  EXPECT_EQ(decoded.cnMode, io.cnMode);
  EXPECT_TRUE(decoded.useUss && decoded.useDir && decoded.useSnx4410);

  applyMonitorConfig(*parseConfigLine("CNio:1111111100 ID:2"), io, record);
  EXPECT_TRUE(io.subIoOn);
  EXPECT_EQ(io.subIoId, 2);
  EXPECT_EQ(record.setupKind, 8);
  EXPECT_TRUE(io.useUss) << "flags are never cleared by the board";
  EXPECT_FALSE(io.outputInUse) << "CN1..CN8 are inputs again";
}
