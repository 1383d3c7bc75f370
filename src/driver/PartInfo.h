#pragma once
// The device record of one processor as the resource file describes it: identity, family,
// memory sizes, flags and its configuration registers with their switches and switch values.

#include <cstdint>
#include <string>
#include <vector>

namespace kcc8 {

/// One value a configuration switch can take.
struct SettingValueInfo {
  std::string name;
  std::string description;
  uint32_t value = 0;
};

/// One configuration switch: a named group of bits inside a register.
struct SwitchInfo {
  std::string name;
  std::string description;
  uint32_t mask = 0;
  uint32_t noOfValues = 0;  ///< as the file says; the list may hold fewer after a failed load
  std::vector<SettingValueInfo> values;
};

/// One configuration register.
struct ConfigRegInfo {
  uint32_t address = 0;
  uint32_t setBits = 0;
  uint32_t defaultValue = 0;
  uint32_t noOfSwitches = 0;  ///< as the file says; the list may hold fewer after a failed load
  std::vector<SwitchInfo> switches;
};

/// The loaded device. Fields the file's record leaves out stay 0 or empty.
struct PartInfo {
  uint32_t identity = 0;
  std::string processorName;  ///< the requested name in upper case
  std::string listedName;     ///< the name as the file writes it
  std::string familyName;
  uint32_t flags = 0;
  uint32_t noOfPages = 0;
  uint32_t maxRom = 0;
  uint32_t noOfBanks = 0;
  uint32_t maxRam = 0;
  uint32_t eeMax = 0;
  uint32_t acs = 0;
  uint32_t further = 0;
  uint32_t noOfConfigs = 0;  ///< as the file says; the list may hold fewer after a failed load
  std::vector<ConfigRegInfo> configs;
};

}  // namespace kcc8
