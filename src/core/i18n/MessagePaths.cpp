#include "core/i18n/MessagePaths.h"

#include "core/settings/AppSettings.h"
#include "core/text/TextFile.h"

namespace kavel {

void moveMessagePaths(AppSettings& settings, const std::string& chosenFile) {
  const std::string folder = text::folderOf(chosenFile);
  settings.LANG_0__ = folder + text::fileNameOf(settings.LANG_0__);
  settings.LANG_1__ = folder + text::fileNameOf(settings.LANG_1__);
}

}  // namespace kavel
