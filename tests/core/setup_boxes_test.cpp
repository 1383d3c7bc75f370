#include <gtest/gtest.h>

#include "core/setup/SetupBoxes.h"

using namespace kavel;
using enum SetupBox;

namespace {

SetupBoxes advancedWith(std::initializer_list<SetupBox> ticked, int id = 0) {
  SetupBoxes b;
  b[ckAdv] = true;
  for (SetupBox t : ticked) b[t] = true;
  b.idItem = id;
  return b;
}

}  // namespace

TEST(SetupBoxes, ClickRules) {
  struct Case {
    const char* name;
    SetupBoxes before;
    SetupBox clicked;  // already flipped in `before`
    SetupBoxes after;
  } cases[] = {
      {"direction sensors exclude each other", advancedWith({ckDir, ckHmc, ckBno}), ckHmc,
       advancedWith({ckHmc})},
      {"an option module returns to master", advancedWith({ckID, ckMcb}, 3), ckMcb, advancedWith({ckID, ckMcb})},
      {"the colour sensor keeps the identity", advancedWith({ckID, ckCLS}, 3), ckCLS,
       advancedWith({ckID, ckCLS}, 3)},
      {"unticking an option keeps the identity", advancedWith({ckID}, 3), ckMcb, advancedWith({ckID}, 3)},
      {"advanced mode clears every option", advancedWith({ckDir, ckMcb, ckLcd, ckCLS, ckID, ckWL102, ckSNX4410}, 2),
       ckAdv, advancedWith({})},
      {"unticking sub I/O returns to master", advancedWith({ckMcb}, 4), ckID, advancedWith({ckMcb})},
      {"ticking sub I/O keeps the choice", advancedWith({ckID}, 0), ckID, advancedWith({ckID}, 0)},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxClicked(c.before, c.clicked);
    EXPECT_EQ(c.before, c.after);
  }
  SetupBoxes mcu = advancedWith({ckMCU2620});
  boxClicked(mcu, ckAdv);
  EXPECT_TRUE(mcu[ckMCU2620]) << "the microcontroller is not an option module";
}

TEST(SetupBoxes, SlaveCarriesNoModules) {
  SetupBoxes b = advancedWith({ckID, ckDir, ckMcb, ckCLS, ckWL103, ckSNX4410, ckMCU2620});
  identityChosen(b, 2);
  EXPECT_EQ(b, advancedWith({ckID, ckMCU2620}, 2));
  identityChosen(b, 0);
  EXPECT_EQ(b.idItem, 0);
  identityChosen(b, 12);
  EXPECT_EQ(b.idItem, 0) << "an item outside the list is the master";
}

TEST(SetupBoxes, OkStoresInOrder) {
  AppSettings settings;
  IoSetup io;
  SetupRecord record;

  settings.variant = 1;
  storeSetupBoxes(advancedWith({ckID, ckMcb, ckLcd, ckMCU2620}, 3), io, record, settings, "slave three");
  EXPECT_TRUE(io.subIoOn);
  EXPECT_EQ(io.subIoId, 3);
  EXPECT_FALSE(io.useMcb) << "a slave identity unticks the modules";
  EXPECT_FALSE(io.useLcd);
  EXPECT_EQ(settings.MCU2620_, 1);
  EXPECT_EQ(record.setupKind, 8);
  EXPECT_EQ(record.setupComment, "slave three");
  EXPECT_EQ(record.setupValue[1], 110000 + 20 + 10 + 3);

  storeSetupBoxes(advancedWith({ckMcb, ckUss}, 5), io, record, settings, "");
  EXPECT_FALSE(io.subIoOn);
  EXPECT_EQ(io.subIoId, 0) << "without sub I/O the identity is the master";
  EXPECT_TRUE(io.useMcb);
  EXPECT_EQ(record.setupKind, 7);
  EXPECT_EQ(record.setupValue[2], 1002);

  settings.variant = 3;
  storeSetupBoxes(SetupBoxes{}, io, record, settings, "");
  EXPECT_TRUE(io.useLcd) << "variants 3 and 4 always carry the LCD";
  storeSetupBoxes(advancedWith({ckID}, 1), io, record, settings, "");
  EXPECT_FALSE(io.useLcd) << "except on a slave";
}

TEST(SetupBoxes, LoadedFromTheSetup) {
  IoSetup io;
  io.useHmc = io.useWl109 = io.subIoOn = true;
  io.subIoId = 4;
  SetupBoxes b = boxesOf(io, false);
  EXPECT_TRUE(b[ckHmc]);
  EXPECT_TRUE(b[ckWL109]);
  EXPECT_TRUE(b[ckID]);
  EXPECT_EQ(b.idItem, 0) << "outside advanced mode the list shows the master";
  io.advancedMode = true;
  EXPECT_EQ(boxesOf(io, true).idItem, 4);
  EXPECT_TRUE(boxesOf(io, true)[ckMCU2620]);
}
