#include "gui/app/SettingsKeeper.h"

#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"

namespace kavel::gui {

SettingsKeeper::SettingsKeeper(const Context& ctx, std::string iniPath) : ctx_(ctx), iniPath_(std::move(iniPath)) {
  remember();
}

void SettingsKeeper::remember() {
  saved_ = ctx_.settings;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    names_[i] = ctx_.io.cnName[i];
    modes_[i] = ctx_.io.cnMode[i];
  }
}

bool SettingsKeeper::changed() const {
  // The state of the serial link and the texts a board sent live in the same record but are
  // never written: they do not count.
  AppSettings now = ctx_.settings;
  now.variant = saved_.variant;
  now.programFolder = saved_.programFolder;
  now.portOpen = saved_.portOpen;
  now.recvRunning = saved_.recvRunning;
  now.lineError = saved_.lineError;
  now.LoaderText = saved_.LoaderText;
  now.BoardVersionText = saved_.BoardVersionText;
  if (!(now == saved_)) return true;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] != ctx_.io.cnName[i] || modes_[i] != ctx_.io.cnMode[i]) return true;
  }
  return false;
}

bool SettingsKeeper::keepIfChanged(std::string* error) {
  if (iniPath_.empty() || !changed()) return true;
  return saveNow(error);
}

bool SettingsKeeper::saveNow(std::string* error) {
  std::string why;
  if (!SaveSettings(ctx_.settings, ctx_.io, iniPath_, &why)) {
    if (error) *error = why.find(iniPath_) == std::string::npos ? iniPath_ + ": " + why : why;
    return false;
  }
  remember();
  return true;
}

}  // namespace kavel::gui
