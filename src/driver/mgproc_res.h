#pragma once
// Questions about the loaded device that follow from its family and identity rather than from
// a field of its record. Families and identities outside the known tables get no answer.

#include <cstdint>
#include <optional>
#include <string>

namespace kcc8 {

/// The processor name as typed after -p, trimmed (not upper-cased).
std::string r_getDvsProcName();
uint16_t r_getDvsProcType();
bool r_isDvsProcTypeSupported(uint32_t type);
uint16_t r_getNumberOfPages();
uint16_t r_getNumberOfBanks();
int r_getRamWidth();
bool r_supports_extended_mode();

/// Whether the address is general-purpose RAM; only known for a fixed set of identities.
std::optional<bool> r_isGpr(uint32_t address);

// By family ("16xxxx", "17xxxx", "16c5x", "18xxxx", "16Exxx", case included).
std::optional<int> r_getInstSet();
std::optional<uint16_t> r_getDataBankNumber(uint32_t address);
std::optional<int> r_getRomWidth();
std::optional<uint32_t> r_getLocationsPerPage();
std::optional<uint32_t> r_getMaxROMAddr();
std::optional<uint32_t> r_getMaxRAMAddr();

}  // namespace kcc8
