#pragma once
// The device resource file "8bit_device.info": finding it beside the driver, reading the record
// of one processor, and answering questions about that record's configuration registers.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/PartInfo.h"

namespace kcc8 {

/// The one loaded device record; empty until a load got as far as the part's own line.
extern std::unique_ptr<PartInfo> PartInfoPtr;

/// Loads the record of `partName` (any case) from the resource file in the folder of
/// `toolPath` (the driver's own full file name; nullptr means the current folder). Answers 0 or
/// an error code 10 to 25 and prints nothing for those. When the folder cannot be determined or
/// the file cannot be opened it prints why on standard output and ends the process with code 1.
/// A failure at code 15 or above leaves the partly filled new record loaded.
int ReadResource(const char* partName, const char* toolPath);

/// The names of the index in file order, or nothing when the file does not start with a
/// version record and an index. Ends the process like ReadResource when there is no file.
std::optional<std::vector<std::string>> GetPartsList(const char* toolPath);

/// The number of names the last GetPartsList read.
int GetMaxNoParts();

/// The next bracketed token: with a text the scan starts there, without one it continues where
/// the last call stopped. Nothing at the end of the record (line end, end of text or any
/// character outside brackets); later calls then answer nothing too.
std::optional<std::string> GetNextToken(std::string_view text);
std::optional<std::string> GetNextToken();

/// Drops the loaded record.
void delete_obj();

/// Prints the text of a ReadResource code with a line end on standard output; 0 prints nothing.
void DisplayError(int code);

/// The text DisplayError prints for a code ("" for 0).
const char* errorText(int code);

// Fields of the loaded record; 0 or "" while nothing is loaded.
uint32_t GetProcessorid();
std::string GetProcessorName();
std::string GetProcessorRealName();
std::string GetFamilyName();
uint32_t GetFlag();
uint32_t GetNoOfPages();
uint32_t GetMaxRom();
uint32_t GetNoOfBanks();
uint32_t GetMaxRam();
uint32_t GetEEMax();
uint32_t GetAcs();
uint32_t GetNoOfConfigs();

// Configuration queries. Yes-or-no answers are 0 for yes and 1 for no. Queries by address use
// the first register with that address; queries by switch name the last register holding a
// switch of that name; within a switch the first value of a name counts.
int FindIsGeneric();
int ValidateConfAddr(uint32_t address);
int ValidateDirective(std::string_view switchName);
int ValidateDirectiveValue(std::string_view switchName, std::string_view valueName);
uint32_t FindConfAddr(std::string_view switchName);
uint32_t FindSetBits(uint32_t address);
uint32_t FindDefaultConfigValue(uint32_t address);
uint32_t FindNoOfDirs(uint32_t address);
std::optional<std::string> FindDirDesc(std::string_view switchName);
uint32_t FindDirMaskVal(std::string_view switchName);
uint32_t FindNoOfDirVals(std::string_view switchName);
std::optional<std::string> FindDirOptDesc(std::string_view switchName, std::string_view valueName);
uint32_t FindDirOptVal(std::string_view switchName, std::string_view valueName);
/// Address of the n-th register, counted from 1; 0 when there is none.
uint32_t FindConfigAddrN(uint32_t n);
/// Name of the n-th switch (from 1) of the register at `address`.
std::optional<std::string> FindDirNameN(uint32_t n, uint32_t address);
/// Name of the n-th value (from 1) of the switch.
std::optional<std::string> FindValNameN(uint32_t n, std::string_view switchName);
/// Puts the switch's value into its register's default value and marks the switch's bits as
/// set. 0 done, 1 when no register has the switch's address.
int SetConfigByteAndSetBitsDir(std::string_view switchName, std::string_view valueName);

}  // namespace kcc8
