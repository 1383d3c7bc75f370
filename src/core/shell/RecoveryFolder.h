#pragma once
// The folder of recovery files beside the settings file, shared by every running session of
// the program. Each session holds a lock file for as long as it runs (the system drops the lock
// when the process dies, however it dies), so the next start can tell the files of a session
// that crashed or was killed from those of a session still running.

#include <string>
#include <vector>

#include "core/shell/RecoveryFile.h"

namespace kavel {

/// The recovery folder that belongs to the settings file at `iniPath`: "recovery/" beside it.
std::string recoveryFolderFor(const std::string& iniPath);

class RecoveryFolder {
 public:
  /// A recovery file left by a session that no longer runs.
  struct Orphan {
    std::string path;
    std::string session;
    int window = 0;  // from the file's name, so that even a damaged file has its place
    RecoveryRead read;
  };

  /// Starts this session's part of `folder` (created when missing). When the folder cannot be
  /// made or locked, the session still runs but keeps no recovery files (usable() is false).
  explicit RecoveryFolder(std::string folder);
  /// Releases the lock; files are left (a normal close calls removeAll first).
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  bool usable() const { return lockFd_ >= 0; }
  const std::string& folder() const { return folder_; }
  const std::string& session() const { return session_; }

  /// This session's recovery file of window `window`.
  std::string pathFor(int window) const;
  /// Writes this session's file for the window (atomically, never over a user's file).
  bool save(const RecoveryFile& file, std::string* error = nullptr) const;
  /// Removes this session's file of the window, if any.
  void remove(int window) const;
  /// Removes every file of this session (a normal close) and its lock file.
  void removeAll();

  /// The recovery files of sessions that no longer run, Main before Subs, each read and
  /// judged. The sessions found are claimed: another session starting meanwhile sees them as
  /// running and does not offer them too. Lock files of ended sessions that left no recovery
  /// file are removed on the way.
  std::vector<Orphan> claimOrphans();
  /// Deletes an orphan's file; a claimed session with no files left loses its lock file too.
  void discard(const Orphan& orphan);

 private:
  void releaseClaims();

  std::string folder_;
  std::string session_;
  int lockFd_ = -1;
  struct Claim {
    std::string session;
    int fd;
  };
  std::vector<Claim> claims_;
};

}  // namespace kavel
