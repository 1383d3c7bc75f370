// kcc8's device resource reader on any file, with the part-name queries on what it loaded.

#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "driver/reader.h"

using namespace kcc8;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kavel::fuzz::inputFile("8bit_device.info", data, size);
  const std::string tool = kavel::fuzz::scratchFolder() + "kcc8";
  const auto parts = GetPartsList(tool.c_str());
  std::string name = "18F2620";
  if (parts && !parts->empty()) name = (*parts)[static_cast<std::size_t>(size) % parts->size()];
  (void)ReadResource(name.c_str(), tool.c_str());
  (void)FindIsGeneric();
  for (uint32_t n = 1; n <= 4; ++n) {
    const uint32_t address = FindConfigAddrN(n);
    (void)ValidateConfAddr(address);
    (void)FindSetBits(address);
    (void)FindDefaultConfigValue(address);
    (void)FindNoOfDirs(address);
    for (uint32_t k = 1; k <= 3; ++k) {
      const auto sw = FindDirNameN(k, address);
      if (!sw) break;
      (void)ValidateDirective(*sw);
      (void)FindDirDesc(*sw);
      (void)FindDirMaskVal(*sw);
      (void)FindNoOfDirVals(*sw);
      (void)FindConfAddr(*sw);
      if (const auto value = FindValNameN(1, *sw)) {
        (void)ValidateDirectiveValue(*sw, *value);
        (void)FindDirOptDesc(*sw, *value);
        (void)FindDirOptVal(*sw, *value);
        (void)SetConfigByteAndSetBitsDir(*sw, *value);
      }
    }
  }
  delete_obj();
  return 0;
}
