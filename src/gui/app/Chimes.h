#pragma once
// "chimes.wav" from the data folder, played without waiting: the user is often looking at the
// board, not the screen, when it is ready. Silent when the file is missing.

#include <QString>

class QObject;
class QSoundEffect;

namespace kavel::gui {

class Chimes {
 public:
  /// The sound object is created on first use as a child of `owner`.
  explicit Chimes(QObject* owner) : owner_(owner) {}

  /// Plays `folder`/chimes.wav; an empty folder means the program's own folder.
  void play(const QString& folder);

 private:
  QObject* owner_;
  QSoundEffect* effect_ = nullptr;
  QString source_;
};

}  // namespace kavel::gui
