#include "core/settings/AppSettings.h"

#include <climits>
#include <optional>
#include <vector>

#include "core/settings/IniFile.h"
#include "core/settings/SettingsPaths.h"
#include "core/setup/IoSetup.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

constexpr const char* kBuildBatchFile = "Build/Build_V190617/BuildPath.Bat";
constexpr std::array<const char*, 13> kComportKeys{
    "PortName", "BaudRate", "ByteSize", "StopBits", "Parity__", "RTS_Cont", "SendHead",
    "SendDlmt", "RecvHead", "RecvDlmt", "RecvTout", "SendTout", "Ack_Tout"};

std::string japaneseFileDefault(const AppSettings& s) { return s.programFolder + "Japanese.Txt"; }
std::string englishFileDefault(const AppSettings& s) { return s.programFolder + "English.Txt"; }
// The folders of the run the settings belong to; a plain program folder when none were given.
UserPaths foldersOf(const std::string& programFolder) {
  UserPaths paths;
  paths.dataFolder = programFolder;
  return paths;
}

std::string cnKey(int n) { return text::format("CN%d", n); }
std::string ussKey(int n) { return text::format("USS%d", n); }
std::string sigKey(int n) { return text::format("CL_SIG%d", n); }

std::optional<std::uint32_t> colourFromText(const std::string& text) {
  const auto v = IniFile::parseInteger(text);
  if (v && *v >= 0 && *v <= 0xFFFFFF) return static_cast<std::uint32_t>(*v);
  return std::nullopt;
}

std::string rangeText(int low, int high) {
  if (high == INT_MAX) return text::format("%d or more", low);
  if (high == low + 1) return text::format("%d or %d", low, high);
  return text::format("from %d to %d", low, high);
}

// Reads the numbers of a settings file. A value that is no number, or lies outside the range
// the program can work with (a size, a divisor, a digit), takes its default; each such value
// is named in a warning, so that a typing error in the file does not go by unseen.
class NumberReader {
 public:
  NumberReader(const IniFile& ini, std::vector<std::string>* warnings) : ini_(ini), warnings_(warnings) {}

  int integer(const char* section, const std::string& key, int fallback, int low = INT_MIN, int high = INT_MAX) {
    const std::optional<std::string> text = ini_.value(section, key);
    if (!text) return fallback;
    const std::optional<int> v = IniFile::parseInteger(*text);
    if (!v) {
      warn(section, key, *text, "is not a number", std::to_string(fallback));
      return fallback;
    }
    if (*v < low || *v > high) {
      warn(section, key, *text, "is not " + rangeText(low, high), std::to_string(fallback));
      return fallback;
    }
    return *v;
  }

  std::uint32_t colour(const char* section, const std::string& key, std::uint32_t fallback) {
    const std::optional<std::string> text = ini_.value(section, key);
    if (!text || text->empty()) return fallback;
    if (const auto c = colourFromText(*text)) return *c;
    warn(section, key, *text, "is not a colour (0x000000 to 0xFFFFFF)", text::format("0x%06X", fallback));
    return fallback;
  }

 private:
  void warn(const char* section, const std::string& key, const std::string& value, const std::string& what,
            const std::string& used) {
    if (warnings_) warnings_->push_back(text::format("[%s] %s=%s %s; %s is used instead.", section, key.c_str(),
                                                     value.c_str(), what.c_str(), used.c_str()));
  }

  const IniFile& ini_;
  std::vector<std::string>* warnings_;
};

}  // namespace

bool languageChosen(const AppSettings& settings) { return settings.LANG_NO_ == 0 || settings.LANG_NO_ == 1; }

void settleLanguage(AppSettings& settings) {
  if (!languageChosen(settings)) settings.LANG_NO_ = 1;
}

bool setupOptionAtStart(const AppSettings& settings) { return settings.variant == 0 || settings.SetupDef != 1; }

std::string defaultUserFolder(const UserPaths& paths, ProductVariant variant) {
  return (paths.userRoot.empty() ? paths.dataFolder : paths.userRoot) + variantInfo(variant).userFolder;
}

std::string defaultBatFile(const UserPaths& paths) {
  return (paths.buildRoot.empty() ? paths.dataFolder : paths.buildRoot) + kBuildBatchFile;
}

std::string redirectedBatFile(const UserPaths& paths, const std::string& batFile) {
  const std::string& from = paths.dataFolder;
  if (paths.buildRoot.empty() || from.empty() || paths.buildRoot == from) return batFile;
  if (batFile.size() <= from.size() || batFile.compare(0, from.size(), from) != 0) return batFile;
  return paths.buildRoot + batFile.substr(from.size());
}

std::string settingsFilePath(const std::string& programPath) {
  const std::string ext = text::extensionOf(programPath);
  return programPath.substr(0, programPath.size() - ext.size()) + ".ini";
}

void setDefaultSettings(AppSettings& settings, IoSetup& io, ProductVariant variant,
                        const std::string& programFolder) {
  setDefaultSettings(settings, io, variant, foldersOf(programFolder));
}

void setDefaultSettings(AppSettings& settings, IoSetup& io, ProductVariant variant, const UserPaths& paths) {
  const std::string& programFolder = paths.dataFolder;
  AppSettings fresh;
  fresh.variant = variant;
  fresh.programFolder = programFolder;
  // The live link state is not a setting; keep it.
  fresh.portOpen = settings.portOpen;
  fresh.recvRunning = settings.recvRunning;
  fresh.lineError = settings.lineError;
  fresh.LoaderText = settings.LoaderText;
  fresh.BoardVersionText = settings.BoardVersionText;

  const VariantInfo& info = variantInfo(variant);
  fresh.DefPath_ = defaultUserFolder(paths, variant);
  fresh.DatPath_ = fresh.DefPath_;
  fresh.BatFile_ = defaultBatFile(paths);
  fresh.MCU2620_ = info.mcu2620;
  fresh.LANG_0__ = japaneseFileDefault(fresh);
  fresh.LANG_1__ = englishFileDefault(fresh);
  fresh.WSCOLOR = info.workspaceColour;
  fresh.PRODUCT = programFolder + info.productImage;
  fresh.WPAPER = programFolder + info.wallpaperImage;
  fresh.LOGOIMG = programFolder + info.logoImage;
  settings = std::move(fresh);

  for (int i = 0; i < 10; ++i) {
    io.cnName[i] = info.connectorNames[i];
    io.cnMode[i] = info.connectorModes[i];
  }
}

void LoadSettings(AppSettings& settings, IoSetup& io, const std::string& iniPath, std::vector<std::string>* warnings) {
  LoadSettings(settings, io, iniPath, foldersOf(settings.programFolder), warnings);
}

void LoadSettings(AppSettings& settings, IoSetup& io, const std::string& iniPath, const UserPaths& paths,
                  std::vector<std::string>* warnings) {
  // Start from the defaults so that every key the file lacks has its documented value.
  setDefaultSettings(settings, io, settings.variant, paths);
  const AppSettings def = settings;
  const VariantInfo& info = variantInfo(settings.variant);

  IniFile ini;
  ini.load(iniPath);  // a file that cannot be read counts as empty
  NumberReader number(ini, warnings);

  AppSettings& s = settings;
  s.PortName = ini.readString("COMPORT", "PortName", def.PortName);
  s.BaudRate = number.integer("COMPORT", "BaudRate", def.BaudRate, 1, INT_MAX);
  s.ByteSize = number.integer("COMPORT", "ByteSize", def.ByteSize, 7, 8);
  s.StopBits = number.integer("COMPORT", "StopBits", def.StopBits, 1, 2);
  s.Parity__ = ini.readString("COMPORT", "Parity__", def.Parity__);
  s.RTS_Cont = number.integer("COMPORT", "RTS_Cont", def.RTS_Cont) != 0;
  s.SendHead = ini.readString("COMPORT", "SendHead", def.SendHead);
  s.SendDlmt = ini.readString("COMPORT", "SendDlmt", def.SendDlmt);
  s.RecvHead = ini.readString("COMPORT", "RecvHead", def.RecvHead);
  s.RecvDlmt = ini.readString("COMPORT", "RecvDlmt", def.RecvDlmt);
  s.RecvTout = number.integer("COMPORT", "RecvTout", def.RecvTout, 0, INT_MAX);
  s.SendTout = number.integer("COMPORT", "SendTout", def.SendTout, 0, INT_MAX);
  s.Ack_Tout = number.integer("COMPORT", "Ack_Tout", def.Ack_Tout, 0, INT_MAX);

  s.DefPath_ = ini.readString("PRJ", "DefPath_", def.DefPath_);
  s.DatPath_ = ini.readString("PRJ", "DatPath_", def.DatPath_);
  // A copy that cannot write beside itself builds in its copy of the sample folder, also when
  // the file still names the original.
  s.BatFile_ = redirectedBatFile(paths, ini.readString("PRJ", "BatFile_", def.BatFile_));
  s.EdtStyle = number.integer("PRJ", "EdtStyle", def.EdtStyle);
  s.TAB_Spc_ = number.integer("PRJ", "TAB_Spc_", def.TAB_Spc_, 0, 32);
  s.SetupDef = number.integer("PRJ", "SetupDef", def.SetupDef, 0, 2);
  s.BuildJob = number.integer("PRJ", "BuildJob", def.BuildJob, 0, 2);

  // 2 is the documented "no language chosen yet", so the first-run question still comes.
  s.LANG_NO_ = number.integer("LANGUAGE", "LANG_NO_", def.LANG_NO_, 0, 2);
  s.LANG_0__ = ini.readString("LANGUAGE", "LANG_0__", def.LANG_0__);
  s.LANG_1__ = ini.readString("LANGUAGE", "LANG_1__", def.LANG_1__);
  // A message file that has gone falls back to the one beside the program.
  if (!text::fileExists(s.LANG_0__)) s.LANG_0__ = def.LANG_0__;
  if (!text::fileExists(s.LANG_1__)) s.LANG_1__ = def.LANG_1__;

  // 3 docks the palette on the left, 4 on the right; there is no other side.
  s.FuncPnl = number.integer("FRM", "FuncPnl", def.FuncPnl, 3, 4);

  s.MCU2620_ = number.integer("PRJ", "MCU2620_", info.mcu2620);
  s.PRODUCT = ini.readString("FRM", "PRODUCT", def.PRODUCT);
  s.WPAPER = ini.readString("FRM", "WPAPER", def.WPAPER);
  s.LOGOIMG = ini.readString("FRM", "LOGOIMG", def.LOGOIMG);
  s.WSCOLOR = number.colour("FRM", "WSCOLOR", info.workspaceColour);
  for (int n = 1; n <= 10; ++n) {
    io.cnName[n - 1] = ini.readString("CN-NAME", cnKey(n), info.connectorNames[n - 1]);
  }
  for (int n = 1; n <= 10; ++n) {
    // One decimal digit each: a wider number would spill into its neighbours' setup digits.
    io.cnMode[n - 1] = number.integer("I/O", cnKey(n), info.connectorModes[n - 1], 0, 9);
  }

  for (int n = 1; n <= 4; ++n) {
    s.ussName[n - 1] = ini.readString("USS-NAME", ussKey(n), def.ussName[n - 1]);
  }
  for (int n = 1; n <= 7; ++n) s.clSig[n - 1] = number.colour("PIXY", sigKey(n), def.clSig[n - 1]);

  s.portOpen = false;
  s.recvRunning = false;
}

bool SaveSettings(const AppSettings& s, const IoSetup& io, const std::string& iniPath,
                  std::string* error) {
  IniFile ini;
  std::string why;
  if (!ini.load(iniPath, &why)) {
    // Writing now would drop whatever else the file holds.
    if (error) *error = "Cannot save the settings: the existing file cannot be read (" + why + ").";
    return false;
  }

  const std::array<std::string, 13> comport{
      s.PortName, std::to_string(s.BaudRate), std::to_string(s.ByteSize),
      std::to_string(s.StopBits), s.Parity__, s.RTS_Cont ? "1" : "0", s.SendHead, s.SendDlmt,
      s.RecvHead, s.RecvDlmt, std::to_string(s.RecvTout), std::to_string(s.SendTout),
      std::to_string(s.Ack_Tout)};
  for (size_t i = 0; i < comport.size(); ++i) ini.writeString("COMPORT", kComportKeys[i], comport[i]);

  ini.writeString("PRJ", "DefPath_", s.DefPath_);
  ini.writeString("PRJ", "DatPath_", s.DatPath_);
  ini.writeString("PRJ", "BatFile_", s.BatFile_);
  ini.writeInteger("PRJ", "EdtStyle", s.EdtStyle);
  ini.writeInteger("PRJ", "TAB_Spc_", s.TAB_Spc_);
  ini.writeInteger("PRJ", "SetupDef", s.SetupDef);
  ini.writeInteger("PRJ", "BuildJob", s.BuildJob);
  ini.writeInteger("PRJ", "MCU2620_", s.MCU2620_);

  ini.writeInteger("LANGUAGE", "LANG_NO_", s.LANG_NO_);
  ini.writeString("LANGUAGE", "LANG_0__", s.LANG_0__);
  ini.writeString("LANGUAGE", "LANG_1__", s.LANG_1__);

  ini.writeInteger("FRM", "FuncPnl", s.FuncPnl);
  ini.writeString("FRM", "PRODUCT", s.PRODUCT);
  ini.writeString("FRM", "WPAPER", s.WPAPER);
  ini.writeString("FRM", "LOGOIMG", s.LOGOIMG);
  ini.writeColour("FRM", "WSCOLOR", s.WSCOLOR);

  for (int n = 1; n <= 10; ++n) ini.writeString("CN-NAME", cnKey(n), io.cnName[n - 1]);
  for (int n = 1; n <= 10; ++n) ini.writeInteger("I/O", cnKey(n), io.cnMode[n - 1]);
  for (int n = 1; n <= 4; ++n) ini.writeString("USS-NAME", ussKey(n), s.ussName[n - 1]);
  for (int n = 1; n <= 7; ++n) ini.writeColour("PIXY", sigKey(n), s.clSig[n - 1]);

  if (!ini.save(iniPath, &why)) {
    if (error) {
      *error = "Cannot save the settings: " + why +
               ". Make the file and its folder writable; the settings stay in effect until the "
               "program ends.";
    }
    return false;
  }
  return true;
}

}  // namespace kavel
