#include "driver/reader.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace kcc8 {

std::unique_ptr<PartInfo> PartInfoPtr;

namespace {

const char* const kResourceFileName = "8bit_device.info";
// The real file of every PIC device is a few megabytes; far more is not a resource file.
constexpr off_t kMaxResourceFileBytes = off_t{64} << 20;

// Tokenizer state: the text being scanned (a copy, so the caller's line may go away) and the
// position of the next character to look at.
std::string s_scanText;
size_t s_scanPos = 0;

int MaxNoOf__Parts = 0;

/// The resource file opened for reading, handed out one line at a time. Lines keep their line
/// end and may be of any length; offsets are plain byte offsets from the start of the file.
class ResourceFile {
 public:
  explicit ResourceFile(std::FILE* file) : file_(file) {}
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;
  ~ResourceFile() {
    std::free(buffer_);
    std::fclose(file_);
  }

  bool nextLine(std::string& line) {
    const ssize_t n = ::getline(&buffer_, &capacity_, file_);
    if (n < 0) return false;
    line.assign(buffer_, static_cast<size_t>(n));
    return true;
  }

  bool seek(unsigned long long offset) {
    if (offset > static_cast<unsigned long long>(std::numeric_limits<off_t>::max())) return false;
    return ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
  }

 private:
  std::FILE* file_;
  char* buffer_ = nullptr;
  size_t capacity_ = 0;
};

// The file lies in the folder of the driver's own file name (or, for an installed driver, in
// share/kavel beside that folder); without a folder there is no telling where that is, and
// guessing the current folder would pick up a stranger's file.
std::unique_ptr<ResourceFile> openResourceFile(const char* toolPath) {
  std::string path = kResourceFileName;
  if (toolPath != nullptr) {
    const std::string tool = toolPath;
    const size_t slash = tool.rfind('/');
    if (slash == std::string::npos) {
      std::fputs("\nError: Unable to determine resource file path.", stdout);
      std::exit(1);
    }
    path = tool.substr(0, slash + 1) + kResourceFileName;
    // An installed driver lies in PREFIX/bin and its data in PREFIX/share/kavel.
    const size_t parent = slash == 0 ? std::string::npos : tool.rfind('/', slash - 1);
    if (parent != std::string::npos && ::access(path.c_str(), F_OK) != 0) {
      const std::string installed = tool.substr(0, parent + 1) + "share/kavel/" + kResourceFileName;
      if (::access(installed.c_str(), F_OK) == 0) path = installed;
    }
  }
  // Read-only: the reader never writes, and a write-protected installation must still work.
  // Without blocking, and only a regular file of a sane size: a pipe or a device put in the
  // file's place must not hang the build or fill the memory.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    // A file that is there but cannot be opened needs another remedy than a missing one.
    if (errno == ENOENT) {
      std::printf("\nError: File not found - %s\n", path.c_str());
    } else {
      std::printf("\nError: Cannot open the resource file - %s: %s\n", path.c_str(), std::strerror(errno));
    }
    std::exit(1);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    std::printf("\nError: Not a regular file - %s\n", path.c_str());
    std::exit(1);
  }
  if (st.st_size > kMaxResourceFileBytes) {
    ::close(fd);
    std::printf("\nError: File too large - %s\n", path.c_str());
    std::exit(1);
  }
  // Back to blocking reads: the flag only had to keep the open from waiting.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    ::close(fd);
    std::printf("\nError: File not found - %s\n", path.c_str());
    std::exit(1);
  }
  return std::make_unique<ResourceFile>(file);
}

bool firstTokenIs(const std::string& line, std::string_view type) {
  const auto token = GetNextToken(line);
  return token && *token == type;
}

// A hexadecimal field: blanks around it and a "0x" in front are allowed, nothing else. A field
// that is no such number, or does not fit 32 bits, makes its record damaged: a count or a size
// read as 0 would load a device the file does not describe.
std::optional<uint32_t> hexField(const std::string& text) {
  std::string_view t = text;
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.remove_prefix(2);
  if (t.empty() || t.size() > 8) {
    // Leading zeros do not make a number larger.
    while (t.size() > 8 && t.front() == '0') t.remove_prefix(1);
    if (t.empty() || t.size() > 8) return std::nullopt;
  }
  uint32_t value = 0;
  for (const char c : t) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

// Stores a hexadecimal field; false when it is not one.
bool setHex(uint32_t& target, const std::string& token) {
  const std::optional<uint32_t> v = hexField(token);
  if (v) target = *v;
  return v.has_value();
}

std::string upperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The number of fields each record has after its type.
constexpr int kPartFields = 12;
constexpr int kRegisterFields = 4;
constexpr int kSwitchFields = 4;
constexpr int kValueFields = 3;

bool setPartField(PartInfo& part, int field, const std::string& token, const std::string& upper) {
  switch (field) {
    case 1: return setHex(part.identity, token);
    case 2:
      part.processorName = upper;
      part.listedName = token;
      return true;
    case 3: part.familyName = token; return true;
    case 4: return setHex(part.flags, token);
    case 5: return setHex(part.noOfPages, token);
    case 6: return setHex(part.maxRom, token);
    case 7: return setHex(part.noOfBanks, token);
    case 8: return setHex(part.maxRam, token);
    case 9: return setHex(part.eeMax, token);
    case 10: return setHex(part.acs, token);
    case 11: return setHex(part.further, token);
    case 12: return setHex(part.noOfConfigs, token);
    default: return false;
  }
}

bool setRegisterField(ConfigRegInfo& reg, int field, const std::string& token) {
  switch (field) {
    case 1: return setHex(reg.address, token);
    case 2: return setHex(reg.setBits, token);
    case 3: return setHex(reg.defaultValue, token);
    case 4: return setHex(reg.noOfSwitches, token);
    default: return false;
  }
}

bool setSwitchField(SwitchInfo& sw, int field, const std::string& token) {
  switch (field) {
    case 1: sw.name = token; return true;
    case 2: sw.description = token; return true;
    case 3: return setHex(sw.mask, token);
    case 4: return setHex(sw.noOfValues, token);
    default: return false;
  }
}

bool setValueField(SettingValueInfo& value, int field, const std::string& token) {
  switch (field) {
    case 1: value.name = token; return true;
    case 2: value.description = token; return true;
    case 3: return setHex(value.value, token);
    default: return false;
  }
}

/// Feeds the remaining tokens of the current record to `set` as fields 1, 2, ...; false when
/// `set` refuses one (a field too many, or a number that is none) or when the record ends
/// before its `count` fields: a record cut short or damaged is refused, not read in part.
template <typename Set>
bool readFields(int count, Set set) {
  int field = 1;
  while (const auto token = GetNextToken()) {
    if (!set(field++, *token)) return false;
  }
  return field > count;
}

int readValues(ResourceFile& file, SwitchInfo& sw) {
  std::string line;
  for (uint32_t i = 0; i < sw.noOfValues; ++i) {
    if (!file.nextLine(line)) return 23;
    if (!firstTokenIs(line, "SETTING_VALUE_TYPE")) return 24;
    SettingValueInfo value;
    if (!readFields(kValueFields, [&](int f, const std::string& t) { return setValueField(value, f, t); })) return 25;
    sw.values.push_back(std::move(value));
  }
  return 0;
}

int readSwitches(ResourceFile& file, ConfigRegInfo& reg) {
  std::string line;
  for (uint32_t i = 0; i < reg.noOfSwitches; ++i) {
    if (!file.nextLine(line)) return 20;
    if (!firstTokenIs(line, "SWITCH_INFO_TYPE")) return 21;
    SwitchInfo sw;
    if (!readFields(kSwitchFields, [&](int f, const std::string& t) { return setSwitchField(sw, f, t); })) return 22;
    reg.switches.push_back(std::move(sw));
    if (const int rc = readValues(file, reg.switches.back())) return rc;
  }
  return 0;
}

int readRegisters(ResourceFile& file, PartInfo& part) {
  std::string line;
  for (uint32_t i = 0; i < part.noOfConfigs; ++i) {
    if (!file.nextLine(line)) return 17;
    if (!firstTokenIs(line, "CONFIGREG_INFO_TYPE")) return 18;
    ConfigRegInfo reg;
    if (!readFields(kRegisterFields, [&](int f, const std::string& t) { return setRegisterField(reg, f, t); })) {
      return 19;
    }
    part.configs.push_back(std::move(reg));
    if (const int rc = readSwitches(file, part.configs.back())) return rc;
  }
  return 0;
}

const std::vector<ConfigRegInfo>& registers() {
  static const std::vector<ConfigRegInfo> none;
  return PartInfoPtr ? PartInfoPtr->configs : none;
}

ConfigRegInfo* registerAt(uint32_t address) {
  if (!PartInfoPtr) return nullptr;
  for (auto& reg : PartInfoPtr->configs) {
    if (reg.address == address) return &reg;
  }
  return nullptr;
}

struct SwitchHit {
  const ConfigRegInfo* reg = nullptr;
  const SwitchInfo* sw = nullptr;
};

// Every register is searched, so the last register holding the name wins.
SwitchHit findSwitch(std::string_view name) {
  SwitchHit hit;
  for (const auto& reg : registers()) {
    for (const auto& sw : reg.switches) {
      if (sw.name == name) {
        hit = {&reg, &sw};
        break;
      }
    }
  }
  return hit;
}

const SettingValueInfo* findValue(const SwitchInfo* sw, std::string_view name) {
  if (sw == nullptr) return nullptr;
  for (const auto& value : sw->values) {
    if (value.name == name) return &value;
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> GetNextToken(std::string_view text) {
  s_scanText.assign(text);
  s_scanPos = 0;
  return GetNextToken();
}

std::optional<std::string> GetNextToken() {
  std::string token;
  size_t depth = 0;
  size_t pos = s_scanPos;
  for (; pos < s_scanText.size(); ++pos) {
    const char c = s_scanText[pos];
    if (c == '\n') break;
    if (c == '<') {
      if (depth > 0) token += c;
      ++depth;
      continue;
    }
    if (depth == 0) break;  // text outside brackets, a stray '>' included, ends the record
    if (c == '>' && --depth == 0) {
      s_scanPos = pos + 1;
      return token;
    }
    token += c;
  }
  // The scan stays where the record ended, so further calls answer nothing as well.
  s_scanPos = pos;
  return std::nullopt;
}

int ReadResource(const char* partName, const char* toolPath) {
  if (partName == nullptr || *partName == '\0') return 10;
  auto file = openResourceFile(toolPath);

  std::string line;
  if (!file->nextLine(line) || !firstTokenIs(line, "RES_FILE_VERSION_INFO_TYPE")) return 11;
  if (!file->nextLine(line) || !firstTokenIs(line, "PARTS_INDEX_TYPE")) return 12;

  const std::string upper = upperCase(partName);
  std::string offsetText;
  for (;;) {
    const auto name = GetNextToken();
    if (name && *name == upper) {
      offsetText = GetNextToken().value_or("");
      break;
    }
    if (!file->nextLine(line) || !firstTokenIs(line, "PARTS_INDEX_TYPE")) return 13;
  }

  if (!file->seek(std::strtoull(offsetText.c_str(), nullptr, 16)) || !file->nextLine(line)) return 14;

  PartInfoPtr = std::make_unique<PartInfo>();
  PartInfo& part = *PartInfoPtr;
  if (!firstTokenIs(line, "PART_INFO_TYPE")) return 15;
  if (!readFields(kPartFields, [&](int f, const std::string& t) { return setPartField(part, f, t, upper); })) return 16;
  return readRegisters(*file, part);
}

std::optional<std::vector<std::string>> GetPartsList(const char* toolPath) {
  auto file = openResourceFile(toolPath);
  std::string line;
  if (!file->nextLine(line) || !firstTokenIs(line, "RES_FILE_VERSION_INFO_TYPE")) return std::nullopt;
  if (!file->nextLine(line) || !firstTokenIs(line, "PARTS_INDEX_TYPE")) return std::nullopt;

  std::vector<std::string> names;
  MaxNoOf__Parts = 0;
  do {
    names.push_back(GetNextToken().value_or(""));
    ++MaxNoOf__Parts;
  } while (file->nextLine(line) && firstTokenIs(line, "PARTS_INDEX_TYPE"));
  return names;
}

int GetMaxNoParts() { return MaxNoOf__Parts; }

void delete_obj() { PartInfoPtr.reset(); }

const char* errorText(int code) {
  switch (code) {
    case 0: return "";
    case 10: return "Error: Part Name is not specified on command line.";
    case 11: return "Error: First Record in Resource File is not RES_FILE_VERSION_INFO_TYPE.";
    case 12: return "Error: Records of type PARTS_INDEX_TYPE are missing in Resource File.";
    case 13: return "Error: Information for the desired part is not found in Resource file.";
    case 14: return "Error: Information for the desired part is not complete in Resource file.";
    case 15: return "Error: First Record is not PART_INFO_TYPE.";
    case 16: return "Error: Information in PART_INFO_TYPE record for desired part is incorrrect.";
    case 17: return "Error: Configuration Information missing for the desired part.";
    case 18: return "Error: First Record in Config Info is not CONFIGREG_INFO_TYPE.";
    case 19: return "Error: Information in CONFIGREG_INFO_TYPE record for desired part is incorrrect.";
    case 20: return "Error: Config Switch Information missing for the desired part.";
    case 21: return "Error: First Record in Config Switch Info is not SWITCH_INFO_TYPE.";
    case 22: return "Error: Information in SWITCH_INFO_TYPE record for desired part is incorrrect.";
    case 23: return "Error: Config Switch Value Information missing for the desired part.";
    case 24: return "Error: First Record in Config Switch Value Info is not SETTING_VALUE_TYPE.";
    case 25: return "Error: Information in SETTING_VALUE_TYPE record for desired part is incorrrect.";
    default: return "Error: Unknown Error Code.";
  }
}

void DisplayError(int code) {
  if (code == 0) return;
  std::printf("%s\n", errorText(code));
}

uint32_t GetProcessorid() { return PartInfoPtr ? PartInfoPtr->identity : 0; }
std::string GetProcessorName() { return PartInfoPtr ? PartInfoPtr->processorName : std::string(); }
std::string GetProcessorRealName() { return PartInfoPtr ? PartInfoPtr->listedName : std::string(); }
std::string GetFamilyName() { return PartInfoPtr ? PartInfoPtr->familyName : std::string(); }
uint32_t GetFlag() { return PartInfoPtr ? PartInfoPtr->flags : 0; }
uint32_t GetNoOfPages() { return PartInfoPtr ? PartInfoPtr->noOfPages : 0; }
uint32_t GetMaxRom() { return PartInfoPtr ? PartInfoPtr->maxRom : 0; }
uint32_t GetNoOfBanks() { return PartInfoPtr ? PartInfoPtr->noOfBanks : 0; }
uint32_t GetMaxRam() { return PartInfoPtr ? PartInfoPtr->maxRam : 0; }
uint32_t GetEEMax() { return PartInfoPtr ? PartInfoPtr->eeMax : 0; }
uint32_t GetAcs() { return PartInfoPtr ? PartInfoPtr->acs : 0; }
uint32_t GetNoOfConfigs() { return PartInfoPtr ? PartInfoPtr->noOfConfigs : 0; }

int FindIsGeneric() {
  if (!PartInfoPtr || PartInfoPtr->processorName.empty()) return 1;
  for (const char* generic : {"18CXX", "17CXX", "16C5X", "16CXX", "16F1XXX"}) {
    if (PartInfoPtr->processorName == generic) return 0;
  }
  return 1;
}

int ValidateConfAddr(uint32_t address) { return registerAt(address) ? 0 : 1; }

int ValidateDirective(std::string_view switchName) { return findSwitch(switchName).sw ? 0 : 1; }

int ValidateDirectiveValue(std::string_view switchName, std::string_view valueName) {
  for (const auto& reg : registers()) {
    for (const auto& sw : reg.switches) {
      if (sw.name == switchName && findValue(&sw, valueName)) return 0;
    }
  }
  return 1;
}

uint32_t FindConfAddr(std::string_view switchName) {
  const auto hit = findSwitch(switchName);
  return hit.reg ? hit.reg->address : 0;
}

uint32_t FindSetBits(uint32_t address) {
  const auto* reg = registerAt(address);
  return reg ? reg->setBits : 0;
}

uint32_t FindDefaultConfigValue(uint32_t address) {
  const auto* reg = registerAt(address);
  return reg ? reg->defaultValue : 0;
}

uint32_t FindNoOfDirs(uint32_t address) {
  const auto* reg = registerAt(address);
  return reg ? reg->noOfSwitches : 0;
}

std::optional<std::string> FindDirDesc(std::string_view switchName) {
  const auto hit = findSwitch(switchName);
  if (!hit.sw) return std::nullopt;
  return hit.sw->description;
}

uint32_t FindDirMaskVal(std::string_view switchName) {
  const auto hit = findSwitch(switchName);
  return hit.sw ? hit.sw->mask : 0;
}

uint32_t FindNoOfDirVals(std::string_view switchName) {
  const auto hit = findSwitch(switchName);
  return hit.sw ? hit.sw->noOfValues : 0;
}

std::optional<std::string> FindDirOptDesc(std::string_view switchName, std::string_view valueName) {
  const auto* value = findValue(findSwitch(switchName).sw, valueName);
  if (!value) return std::nullopt;
  return value->description;
}

uint32_t FindDirOptVal(std::string_view switchName, std::string_view valueName) {
  const auto* value = findValue(findSwitch(switchName).sw, valueName);
  return value ? value->value : 0;
}

// The counts come from the file; a load that failed part-way holds fewer entries than they say.
uint32_t FindConfigAddrN(uint32_t n) {
  const auto& regs = registers();
  if (n == 0 || n > GetNoOfConfigs() || n > regs.size()) return 0;
  return regs[n - 1].address;
}

std::optional<std::string> FindDirNameN(uint32_t n, uint32_t address) {
  const auto* reg = registerAt(address);
  if (!reg || n == 0 || n > reg->noOfSwitches || n > reg->switches.size()) return std::nullopt;
  return reg->switches[n - 1].name;
}

std::optional<std::string> FindValNameN(uint32_t n, std::string_view switchName) {
  const auto* sw = findSwitch(switchName).sw;
  if (!sw || n == 0 || n > sw->noOfValues || n > sw->values.size()) return std::nullopt;
  return sw->values[n - 1].name;
}

int SetConfigByteAndSetBitsDir(std::string_view switchName, std::string_view valueName) {
  const uint32_t address = FindConfAddr(switchName);
  const uint32_t mask = FindDirMaskVal(switchName);
  ConfigRegInfo* reg = registerAt(address);
  if (!reg) return 1;
  reg->defaultValue = (reg->defaultValue & ~mask) | FindDirOptVal(switchName, valueName);
  reg->setBits |= mask;
  return 0;
}

}  // namespace kcc8
