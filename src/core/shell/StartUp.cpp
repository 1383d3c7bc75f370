#include "core/shell/StartUp.h"

#include "core/settings/AppSettings.h"
#include "core/setup/SetupCodec.h"

namespace kavel {

void startSession(Context& ctx, ProductVariant variant, const std::string& programFolder, const std::string& iniPath) {
  setDefaultSettings(ctx.settings, ctx.io, variant, programFolder);
  ResetSetup(ctx.io, ctx.setup, ctx.settings, true);
  if (!iniPath.empty()) LoadSettings(ctx.settings, ctx.io, iniPath);
  ctx.messages.load(0, ctx.settings.LANG_0__);
  ctx.messages.load(1, ctx.settings.LANG_1__);
}

}  // namespace kavel
