#pragma once
// Keeps a recovery copy of every modified program window, written every minute (a test sets
// another interval with KAVEL_AUTOSAVE_MS) into the recovery folder beside the settings file,
// never over the user's own files. A saved or closed program's copy goes at once; a normal
// close of the program removes them all, so what remains after a start belongs to a session
// that crashed or was killed.

#include <QObject>
#include <QTimer>

#include <map>
#include <string>

#include "core/Context.h"
#include "core/shell/RecoveryFolder.h"

namespace kavel::gui {

class Workbench;

class AutoSave : public QObject {
  Q_OBJECT

 public:
  /// The interval: KAVEL_AUTOSAVE_MS when it holds a positive number, else one minute.
  static int intervalMs();

  /// Starts the timer; the recovery folder is the one that belongs to `iniPath`.
  AutoSave(Workbench& bench, Context& ctx, const std::string& iniPath, QObject* parent = nullptr);

  /// Writes the copy of every modified program window whose text changed since its last copy,
  /// and removes the copies of programs no longer modified or no longer open.
  void saveNow();
  /// A normal close: every copy of this session goes.
  void closeNormally();

  RecoveryFolder& folder() { return folder_; }
  /// The last failure to write a copy ("" when the last tick wrote everything).
  const std::string& lastError() const { return lastError_; }

 private:
  void programChanged(int number);
  RecoveryFile copyOf(int number) const;

  Workbench& bench_;
  Context& ctx_;
  RecoveryFolder folder_;
  QTimer timer_;
  std::map<int, std::string> written_;  // window -> bytes of its last copy
  std::string lastError_;
};

}  // namespace kavel::gui
