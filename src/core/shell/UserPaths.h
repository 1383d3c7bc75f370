#pragma once
// Where a run of Kavel reads its data and keeps what belongs to the user. A program folder the
// user can write (build/bin, a copy on a USB stick) holds everything, as it always has. An
// installed copy (data in ../share/kavel beside the binaries' folder) or a program folder the
// user cannot write keeps settings, programs and the build folder per user, under the folders
// the XDG base directory rules name, so two users of one machine never share them.

#include <string>

namespace kavel {

/// Everything the decision looks at, gathered by probePathInputs() or written by a test.
struct PathInputs {
  std::string binaryPath;        ///< full path of the running binary
  bool installedLayout = false;  ///< the folder ../share/kavel exists beside the binary's folder
  bool programFolderWritable = true;
  std::string home;              ///< $HOME as found ("" when unset)
  bool homeExists = true;        ///< $HOME names an existing folder
  std::string xdgConfigHome;     ///< $XDG_CONFIG_HOME as found ("" when unset)
  std::string xdgDataHome;       ///< $XDG_DATA_HOME as found ("" when unset)
};

/// The folders of one run. Folder fields end with "/".
struct UserPaths {
  /// True for an installed or read-only program folder: nothing is written beside the program.
  bool perUser = false;
  /// Message files, pictures, glyphs, C-CodeLib.Txt, chimes.wav and the sample build folder.
  std::string dataFolder;
  /// The settings file of kavelide; "" when there is nowhere to keep one.
  std::string settingsFile;
  /// Holds the variant's user folder (User_WL/ ...); "" means the data folder.
  std::string userRoot;
  /// Where the sample build folder is copied and built in; "" means it is used where it lies.
  std::string buildRoot;
  /// The existing folders below which the settings folder and buildRoot may be created ($HOME,
  /// or the XDG folder when that is set); "" when there is none.
  std::string settingsBase;
  std::string buildBase;
  /// Sentences for the user when a per-user folder is missing or cannot be made; "" when all is
  /// well. The run goes on with the default settings and writes nowhere else.
  std::string problem;
};

/// The decision as a plain rule over `in`: a writable program folder without the installed
/// layout keeps everything beside the binary (settings `<binary>.ini`); otherwise settings are
/// $XDG_CONFIG_HOME/kavel/<binary name>.ini, programs under $HOME/Kavel/, the build folder
/// under $XDG_DATA_HOME/kavel/. XDG values that are not absolute paths are ignored (their
/// defaults ~/.config and ~/.local/share apply); a $HOME that is unset, relative or missing
/// gives no per-user folder that depends on it, and a sentence in `problem`.
UserPaths decideUserPaths(const PathInputs& in);

/// Gathers the inputs for the running binary at `binaryPath` from the environment and the file
/// system. Writes nothing. A folder counts as writable only when its mode has a write bit and
/// access() grants writing, so that a folder made read-only counts so for root as well.
PathInputs probePathInputs(const std::string& binaryPath);

/// Whether the process can and may create files in `folder` (the rule of probePathInputs).
bool folderWritable(const std::string& folder);

/// Makes the per-user folders of a per-user run exist: the settings folder and the user
/// program folder `userFolder` (a folder inside userRoot), each created 0700 with any missing
/// parent below an existing $HOME or XDG folder, and an empty settings file created 0600 so
/// every later save keeps that mode. Never creates $HOME or an XDG base folder itself. What
/// fails is added to `paths.problem`; the paths stay, so a readable settings file is still read
/// and a later save fails where it would have written instead of writing elsewhere. Does
/// nothing for a run that is not per-user.
void prepareUserFolders(UserPaths& paths, const std::string& userFolder);

/// Creates `folder` and its missing parents below the existing folder `base` with mode 0700.
/// False with `error` set to a sentence naming the folder and the reason.
bool makePrivateFolders(const std::string& base, const std::string& folder, std::string* error);

}  // namespace kavel
