#include "gui/app/Chimes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace kavel::gui {

void Chimes::play(const QString& folder) {
  QString dir = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  const QString path = dir + QStringLiteral("chimes.wav");
  if (!QFileInfo::exists(path)) return;
  if (!effect_) effect_ = new QSoundEffect(owner_);
  if (source_ != path) {
    effect_->setSource(QUrl::fromLocalFile(path));
    source_ = path;
  }
  effect_->play();
}

}  // namespace kavel::gui
