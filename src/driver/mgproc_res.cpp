#include "driver/mgproc_res.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "driver/cmdline.h"
#include "driver/reader.h"

namespace kcc8 {

namespace {

struct FamilyTraits {
  std::string_view family;
  int instSet;
  int bankShift;
  int romWidth;
  uint32_t locationsPerPage;
  uint32_t maxRomAddr;
  uint32_t maxRamAddr;
};

constexpr std::array<FamilyTraits, 5> kFamilies{{
    {"16xxxx", 1, 7, 14, 0x800, 0x1FFF, 0x1FF},
    {"17xxxx", 2, 8, 16, 0x2000, 0xFFFF, 0xFFF},
    {"16c5x", 3, 5, 12, 0x200, 0x7FF, 0x7F},
    {"18xxxx", 4, 8, 8, 0x200000, 0x1FFFFF, 0x1FFF},
    {"16Exxx", 5, 7, 14, 0x800, 0x7FFF, 0x7FF},
}};

// Identities whose general-purpose RAM starts at 0x20 in every bank.
constexpr std::array<uint32_t, 11> kGprFrom20{0xE42A, 0x742A, 0x7C43, 0xEC43, 0x7C44, 0x7C42,
                                              0x7756, 0x7752, 0x756A, 0x7762, 0x7766};

const FamilyTraits* familyTraits() {
  if (!PartInfoPtr) return nullptr;
  for (const auto& traits : kFamilies) {
    if (traits.family == PartInfoPtr->familyName) return &traits;
  }
  return nullptr;
}

}  // namespace

std::string r_getDvsProcName() { return Part_Name; }

uint16_t r_getDvsProcType() { return static_cast<uint16_t>(GetProcessorid()); }

bool r_isDvsProcTypeSupported(uint32_t type) {
  return PartInfoPtr && (type & 0xFFFFu) == GetProcessorid();
}

uint16_t r_getNumberOfPages() { return static_cast<uint16_t>(GetNoOfPages()); }

uint16_t r_getNumberOfBanks() { return static_cast<uint16_t>(GetNoOfBanks()); }

int r_getRamWidth() { return 8; }

bool r_supports_extended_mode() { return (GetFlag() & 4) != 0; }

std::optional<bool> r_isGpr(uint32_t address) {
  if (!PartInfoPtr) return std::nullopt;
  const uint32_t id = GetProcessorid();
  if (std::find(kGprFrom20.begin(), kGprFrom20.end(), id) == kGprFrom20.end()) return std::nullopt;
  return (address & 0xFF) > 0x1F;
}

std::optional<int> r_getInstSet() {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return t->instSet;
}

std::optional<uint16_t> r_getDataBankNumber(uint32_t address) {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return static_cast<uint16_t>(address >> t->bankShift);
}

std::optional<int> r_getRomWidth() {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return t->romWidth;
}

std::optional<uint32_t> r_getLocationsPerPage() {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return t->locationsPerPage;
}

std::optional<uint32_t> r_getMaxROMAddr() {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return t->maxRomAddr;
}

std::optional<uint32_t> r_getMaxRAMAddr() {
  const auto* t = familyTraits();
  if (!t) return std::nullopt;
  return t->maxRamAddr;
}

}  // namespace kcc8
