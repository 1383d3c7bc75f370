#include "core/shell/VersionInfo.h"

#include "core/settings/AppSettings.h"
#include "core/settings/ProductVariant.h"

namespace kavel {

VersionInfo versionInfo(const AppSettings& settings) {
  VersionInfo info;
  switch (normalizedVariant(settings.variant)) {
    case 0:
      info.icon = VersionInfo::Icon::Glent;
      break;
    case 1:
      info.icon = VersionInfo::Icon::QV7B;
      info.distributorPicture = settings.PRODUCT.find("QV7B-RX") != std::string::npos;
      break;
    case 2:
      info.icon = VersionInfo::Icon::None;
      break;
    default:
      info.icon = VersionInfo::Icon::BoardFamily;
      break;
  }
  info.title = std::string(kApplicationTitle);
  info.appVersion = "App Version : " + mainWindowTitle();
  if (!settings.BoardVersionText.empty()) info.buildVersion = "Build Version : " + settings.BoardVersionText;
  if (!settings.LoaderText.empty()) info.loaderVersion = "Loader Version : " + settings.LoaderText;
  return info;
}

}  // namespace kavel
