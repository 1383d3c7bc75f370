// The settings file: any bytes parse; untouched they are written back byte for byte; a key we
// write reads back, and lines we did not write keep their bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "core/settings/IniFile.h"

using namespace kavel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini = IniFile::fromBytes(bytes);
  fuzz::require(ini.toBytes() == bytes);
  for (const std::string& line : ini.lines()) {
    (void)ini.readInteger("COMPORT", line, 0);
    (void)IniFile::parseInteger(line);
  }

  const std::string value = "/home/\xE3\x83\xA2\xEF\xBE\x8F x";  // モ and ﾏ: both encodings in play
  ini.writeString("KavelFuzz", "Path", value);
  ini.writeInteger("KavelFuzz", "Number", -42);
  const IniFile back = IniFile::fromBytes(ini.toBytes());
  fuzz::require(back.value("KavelFuzz", "Path") == value);
  fuzz::require(back.readInteger("KavelFuzz", "Number", 0) == -42);
  return 0;
}
