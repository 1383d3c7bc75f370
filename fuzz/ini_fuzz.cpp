// The settings file: any bytes parse; untouched they are written back byte for byte; a key we
// write reads back, and lines we did not write keep their bytes. Loaded from a file, one that is
// no text is refused, and every value that cannot be used is named with its key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFile.h"
#include "core/settings/AppSettings.h"
#include "core/settings/IniFile.h"
#include "core/setup/IoSetup.h"

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

  const std::string file = fuzz::inputFile("kavelide.ini", data, size);
  IniFile loaded;
  const bool text = bytes.find('\0') == std::string_view::npos && !bytes.starts_with("\xFF\xFE") &&
                    !bytes.starts_with("\xFE\xFF");
  fuzz::require(loaded.load(file) == text);
  AppSettings settings;
  IoSetup io;
  settings.programFolder = fuzz::scratchFolder();
  std::vector<std::string> warnings;
  LoadSettings(settings, io, file, &warnings);
  for (const std::string& w : warnings) fuzz::require(w.starts_with("[") && w.find("is used instead.") != std::string::npos);
  fuzz::require(settings.BaudRate > 0 && settings.TAB_Spc_ >= 0 && settings.TAB_Spc_ <= 32);
  return 0;
}
