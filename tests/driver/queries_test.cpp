// Questions answered from the loaded device: configuration registers, switches and values, and
// the family and identity tables. The fixture data/queries.info holds a device whose switch
// DUP lies in two registers and whose address 300001 appears twice, to pin down which entry
// answers.

#include <gtest/gtest.h>

#include "DriverTestSupport.h"
#include "driver/cmdline.h"
#include "driver/mgproc_res.h"
#include "driver/reader.h"

using namespace kcc8;
using namespace kcc8test;

namespace {

class QueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir / "8bit_device.info", withOffsets(crlf(readFile(KAVEL_TEST_DATA "/queries.info"))));
  }
  void TearDown() override { delete_obj(); }
  void load(const char* name) { ASSERT_EQ(ReadResource(name, (dir / "kcc8").c_str()), 0) << name; }

  TempDir dir;
};

}  // namespace

TEST_F(QueriesTest, QueriesByAddressTakeTheFirstRegister) {
  load("18F2620");
  EXPECT_EQ(ValidateConfAddr(0x300001), 0);
  EXPECT_EQ(ValidateConfAddr(0x300002), 0);
  EXPECT_EQ(ValidateConfAddr(0x300003), 1);
  EXPECT_EQ(FindSetBits(0x300001), 0xFu);
  EXPECT_EQ(FindDefaultConfigValue(0x300001), 2u);
  EXPECT_EQ(FindNoOfDirs(0x300001), 2u);
  EXPECT_EQ(FindSetBits(0x300003), 0u);
  EXPECT_EQ(FindDefaultConfigValue(0x300003), 0u);
  EXPECT_EQ(FindNoOfDirs(0x300003), 0u);

  EXPECT_EQ(FindDirNameN(1, 0x300001), "OSC");
  EXPECT_EQ(FindDirNameN(2, 0x300001), "DUP");
  EXPECT_EQ(FindDirNameN(1, 0x300002), "DUP");
  for (auto [n, address] : {std::pair{0u, 0x300001u}, {3u, 0x300001u}, {2u, 0x300002u}, {1u, 0x300003u}}) {
    EXPECT_FALSE(FindDirNameN(n, address)) << n << " " << std::hex << address;
  }
}

TEST_F(QueriesTest, RegistersByPosition) {
  load("18F2620");
  const std::pair<uint32_t, uint32_t> cases[] = {{0, 0}, {1, 0x300001}, {2, 0x300002}, {3, 0x300001}, {4, 0}};
  for (auto [n, address] : cases) EXPECT_EQ(FindConfigAddrN(n), address) << "n = " << n;
}

TEST_F(QueriesTest, QueriesBySwitchNameTakeTheLastRegister) {
  load("18F2620");
  EXPECT_EQ(ValidateDirective("OSC"), 0);
  EXPECT_EQ(ValidateDirective("DUP"), 0);
  EXPECT_EQ(ValidateDirective("osc"), 1) << "names compare with case";
  EXPECT_EQ(ValidateDirective("NONE"), 1);

  EXPECT_EQ(FindConfAddr("OSC"), 0x300001u);
  EXPECT_EQ(FindConfAddr("DUP"), 0x300002u);
  EXPECT_EQ(FindConfAddr("NONE"), 0u);
  EXPECT_EQ(FindDirDesc("DUP"), "In the second register");
  EXPECT_FALSE(FindDirDesc("NONE"));
  EXPECT_EQ(FindDirMaskVal("DUP"), 0xC0u);
  EXPECT_EQ(FindDirMaskVal("NONE"), 0u);
  EXPECT_EQ(FindNoOfDirVals("OSC"), 3u);
  EXPECT_EQ(FindNoOfDirVals("NONE"), 0u);
}

TEST_F(QueriesTest, ValuesMatchAtTheirFirstOccurrence) {
  load("18F2620");
  EXPECT_EQ(ValidateDirectiveValue("OSC", "HS"), 0);
  EXPECT_EQ(ValidateDirectiveValue("OSC", "LP"), 1);
  EXPECT_EQ(ValidateDirectiveValue("NONE", "HS"), 1);
  EXPECT_EQ(FindDirOptVal("OSC", "HS"), 2u);
  EXPECT_EQ(FindDirOptDesc("OSC", "HS"), "High speed");
  EXPECT_EQ(FindDirOptVal("DUP", "A"), 0x40u);
  EXPECT_EQ(FindDirOptDesc("DUP", "A"), "Second register's A");
  EXPECT_EQ(FindDirOptVal("OSC", "LP"), 0u);
  EXPECT_FALSE(FindDirOptDesc("OSC", "LP"));
  EXPECT_FALSE(FindDirOptDesc("NONE", "HS"));

  EXPECT_EQ(FindValNameN(1, "OSC"), "XT");
  EXPECT_EQ(FindValNameN(3, "OSC"), "HS");
  EXPECT_FALSE(FindValNameN(0, "OSC"));
  EXPECT_FALSE(FindValNameN(4, "OSC"));
  EXPECT_FALSE(FindValNameN(1, "NONE"));
}

TEST_F(QueriesTest, ApplyingASetting) {
  load("18F2620");
  struct Case {
    const char* sw;
    const char* value;
    int answer;
    uint32_t address, defaultValue, setBits;
  } cases[] = {
      // Register 300001 starts with default 2 and set-bits F; 300002 with 1F and 0.
      {"OSC", "XT", 0, 0x300001, 0x1, 0xF},
      {"DUP", "A", 0, 0x300002, 0x5F, 0xC0},  // the last register holding DUP
      {"OSC", "LP", 0, 0x300001, 0x0, 0xF},   // unknown value: the bits are cleared, still marked
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sw) + "=" + c.value);
    ASSERT_EQ(ReadResource("18F2620", (dir / "kcc8").c_str()), 0);
    EXPECT_EQ(SetConfigByteAndSetBitsDir(c.sw, c.value), c.answer);
    EXPECT_EQ(FindDefaultConfigValue(c.address), c.defaultValue);
    EXPECT_EQ(FindSetBits(c.address), c.setBits);
  }
  EXPECT_EQ(SetConfigByteAndSetBitsDir("NONE", "X"), 1) << "no register at address 0";
}

TEST_F(QueriesTest, DeviceWithoutRegisters) {
  load("noregs");
  EXPECT_EQ(GetNoOfConfigs(), 0u);
  EXPECT_EQ(ValidateConfAddr(0), 1);
  EXPECT_EQ(ValidateDirective("OSC"), 1);
  EXPECT_EQ(ValidateDirectiveValue("OSC", "HS"), 1);
  EXPECT_EQ(FindConfigAddrN(1), 0u);
  EXPECT_EQ(FindConfAddr("OSC"), 0u);
  EXPECT_FALSE(FindDirNameN(1, 0));
  EXPECT_FALSE(FindDirDesc("OSC"));
  EXPECT_EQ(SetConfigByteAndSetBitsDir("OSC", "HS"), 1);
}

TEST_F(QueriesTest, NothingLoaded) {
  EXPECT_EQ(GetNoOfConfigs(), 0u);
  EXPECT_EQ(GetProcessorName(), "");
  EXPECT_EQ(FindIsGeneric(), 1);
  EXPECT_EQ(FindConfigAddrN(1), 0u);
  EXPECT_EQ(SetConfigByteAndSetBitsDir("OSC", "HS"), 1);
  EXPECT_FALSE(r_supports_extended_mode());
  EXPECT_FALSE(r_getInstSet());
  EXPECT_FALSE(r_isGpr(0x20));
}

TEST_F(QueriesTest, GenericNames) {
  load("18F2620");
  EXPECT_EQ(FindIsGeneric(), 1);
  load("18cxx");  // asked in lower case, kept in upper case
  EXPECT_EQ(FindIsGeneric(), 0);
}

TEST_F(QueriesTest, IdentityAndSizesTakeTheirLow16Bits) {
  load("18F2620");
  Part_Name = "18f2620";
  EXPECT_EQ(r_getDvsProcName(), "18f2620");
  EXPECT_EQ(r_getDvsProcType(), 0x2620);
  EXPECT_TRUE(r_isDvsProcTypeSupported(0x52620));
  EXPECT_FALSE(r_isDvsProcTypeSupported(0x2520));
  EXPECT_EQ(r_getNumberOfPages(), 2);
  EXPECT_EQ(r_getNumberOfBanks(), 0x10);
  EXPECT_EQ(r_getRamWidth(), 8);
  Part_Name.clear();
}

TEST_F(QueriesTest, ExtendedModeIsFlagBit4) {
  load("18F2620");  // flags 6
  EXPECT_TRUE(r_supports_extended_mode());
  load("NOREGS");  // flags 3
  EXPECT_FALSE(r_supports_extended_mode());
}

TEST_F(QueriesTest, FamilyTable) {
  struct Case {
    const char* device;
    int instSet, bank, romWidth;
    uint32_t perPage, maxRom, maxRam;
  } cases[] = {
      // Bank of address 0x1234.
      {"F16", 1, 0x24, 14, 0x800, 0x1FFF, 0x1FF},
      {"F17", 2, 0x12, 16, 0x2000, 0xFFFF, 0xFFF},
      {"F16C5X", 3, 0x91, 12, 0x200, 0x7FF, 0x7F},
      {"18F2620", 4, 0x12, 8, 0x200000, 0x1FFFFF, 0x1FFF},
      {"F16E", 5, 0x24, 14, 0x800, 0x7FFF, 0x7FF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    load(c.device);
    EXPECT_EQ(r_getInstSet(), c.instSet);
    EXPECT_EQ(r_getDataBankNumber(0x1234), c.bank);
    EXPECT_EQ(r_getRomWidth(), c.romWidth);
    EXPECT_EQ(r_getLocationsPerPage(), c.perPage);
    EXPECT_EQ(r_getMaxROMAddr(), c.maxRom);
    EXPECT_EQ(r_getMaxRAMAddr(), c.maxRam);
  }
  load("F16C5X");
  EXPECT_EQ(r_getDataBankNumber(0xFFFFFFFF), 0xFFFF) << "the bank is cut to 16 bits";

  load("ODD");  // "18XXXX": family names compare with case
  EXPECT_FALSE(r_getInstSet());
  EXPECT_FALSE(r_getDataBankNumber(0x1234));
  EXPECT_FALSE(r_getRomWidth());
  EXPECT_FALSE(r_getLocationsPerPage());
  EXPECT_FALSE(r_getMaxROMAddr());
  EXPECT_FALSE(r_getMaxRAMAddr());
}

TEST_F(QueriesTest, GeneralPurposeRamByIdentity) {
  load("GPR");  // identity 7C42
  const std::pair<uint32_t, bool> cases[] = {{0x00, false}, {0x1F, false}, {0x20, true},
                                             {0x11F, false}, {0x120, true}, {0xFF, true}};
  for (auto [address, gpr] : cases) EXPECT_EQ(r_isGpr(address), gpr) << std::hex << address;
  load("18F2620");
  EXPECT_FALSE(r_isGpr(0x20)) << "no answer for identities outside the list";
}
