#include "gui/app/NativeFileName.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>

#include "core/text/TextFile.h"

namespace kavel::gui {

std::string nativeFileName(const QString& chosen) {
  const std::string utf8 = chosen.toStdString();
  struct stat st {};
  if (!chosen.contains(QChar::ReplacementCharacter) || ::stat(utf8.c_str(), &st) == 0) return utf8;
  const std::string folder = text::folderOf(utf8);
  const QString name = QString::fromStdString(text::fileNameOf(utf8));
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return utf8;
  std::string found;
  int matches = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (QFile::decodeName(entry->d_name) == name) {
      found = entry->d_name;
      ++matches;
    }
  }
  ::closedir(dir);
  return matches == 1 ? folder + found : utf8;
}

}  // namespace kavel::gui
