#include "core/shell/StartUp.h"

#include "core/settings/AppSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsPaths.h"
#include "core/setup/SetupCodec.h"

namespace kavel {

void startSession(Context& ctx, ProductVariant variant, const UserPaths& paths, std::string* settingsError) {
  setDefaultSettings(ctx.settings, ctx.io, variant, paths);
  ResetSetup(ctx.io, ctx.setup, ctx.settings, true);
  const std::string& iniPath = paths.settingsFile;
  if (!iniPath.empty()) {
    std::string why;
    if (IniFile probe; !probe.load(iniPath, &why) && settingsError) {
      *settingsError = "The settings file " + iniPath + " cannot be read (" + why +
                       "). The default settings are used, and the file is left as it is.";
    }
    std::vector<std::string> warnings;
    LoadSettings(ctx.settings, ctx.io, iniPath, paths, &warnings);
    if (!warnings.empty() && settingsError) {
      std::string text = "The settings file " + iniPath + " holds values that cannot be used:";
      for (const std::string& w : warnings) text += "\n" + w;
      *settingsError += (settingsError->empty() ? "" : "\n") + text;
    }
  }
  ctx.messages.load(0, ctx.settings.LANG_0__);
  ctx.messages.load(1, ctx.settings.LANG_1__);
}

void startSession(Context& ctx, ProductVariant variant, const std::string& programFolder, const std::string& iniPath,
                  std::string* settingsError) {
  UserPaths paths;
  paths.dataFolder = programFolder;
  paths.settingsFile = iniPath;
  startSession(ctx, variant, paths, settingsError);
}

}  // namespace kavel
