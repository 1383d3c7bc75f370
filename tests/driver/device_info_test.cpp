// The resource file we ship: it lands beside kcc8, every device in its index loads completely,
// and the devices the boards use are there with the properties the driver decides by.

#include <gtest/gtest.h>

#include "DriverTestSupport.h"
#include "driver/mgproc_res.h"
#include "driver/reader.h"

using namespace kcc8;
using namespace kcc8test;

namespace {

const std::string kShipped = KAVEL_BIN_DIR "/8bit_device.info";
const std::string kTool = KAVEL_BIN_DIR "/kcc8";

}  // namespace

TEST(ShippedDeviceInfo, LiesBesideKcc8AsWritten) {
  ASSERT_TRUE(fs::exists(kShipped));
  EXPECT_EQ(readFile(kShipped), readFile(KAVEL_SOURCE_DIR "/data/8bit_device.info"));
}

TEST(ShippedDeviceInfo, EveryIndexedDeviceLoadsWhole) {
  const auto names = GetPartsList(kTool.c_str());
  ASSERT_TRUE(names);
  EXPECT_EQ(*names, (std::vector<std::string>{"18F2520", "18F2620", "18F452", "16F877A"}));
  for (const auto& name : *names) {
    SCOPED_TRACE(name);
    ASSERT_EQ(ReadResource(name.c_str(), kTool.c_str()), 0);
    EXPECT_EQ(GetProcessorRealName(), name);
    ASSERT_GT(GetNoOfConfigs(), 0u);
    ASSERT_EQ(PartInfoPtr->configs.size(), GetNoOfConfigs());
    for (const auto& reg : PartInfoPtr->configs) {
      ASSERT_EQ(reg.switches.size(), reg.noOfSwitches);
      uint32_t masks = 0;
      for (const auto& sw : reg.switches) {
        ASSERT_EQ(sw.values.size(), sw.noOfValues) << sw.name;
        masks |= sw.mask;
        for (const auto& value : sw.values) EXPECT_EQ(value.value & ~sw.mask, 0u) << sw.name << "=" << value.name;
      }
      EXPECT_EQ(reg.setBits, masks) << std::hex << reg.address;
      EXPECT_EQ(reg.defaultValue & ~masks, 0u) << std::hex << reg.address;
    }
  }
  delete_obj();
}

TEST(ShippedDeviceInfo, BoardProcessors) {
  struct Case {
    const char* name;
    const char* family;
    bool extended;
    uint32_t maxRom;
  } cases[] = {
      {"18f2520", "18xxxx", true, 0x7FFF},
      {"18f2620", "18xxxx", true, 0xFFFF},
      {"18f452", "18xxxx", false, 0x7FFF},
      {"16f877a", "16xxxx", false, 0x1FFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ReadResource(c.name, kTool.c_str()), 0);
    EXPECT_EQ(GetFamilyName(), c.family);
    EXPECT_EQ(r_supports_extended_mode(), c.extended);
    EXPECT_EQ(GetMaxRom(), c.maxRom);
  }
  ASSERT_EQ(ReadResource("18F2620", kTool.c_str()), 0);
  EXPECT_EQ(ValidateDirectiveValue("OSC", "HSPLL"), 0);
  EXPECT_EQ(FindConfAddr("XINST"), 0x300006u);
  EXPECT_EQ(SetConfigByteAndSetBitsDir("XINST", "ON"), 0);
  EXPECT_EQ(FindDefaultConfigValue(0x300006) & 0x40, 0x40u);
  delete_obj();
}
