#pragma once
// The defaults of the settings that name folders, for a run whose folders UserPaths decided:
// an installed or read-only copy keeps the user's programs and its build folder elsewhere than
// in the program folder.

#include <string>
#include <vector>

#include "core/settings/AppSettings.h"
#include "core/shell/UserPaths.h"

namespace kavel {

struct IoSetup;

/// The home user folder of `variant`: the user root (the data folder when that is not set)
/// followed by the variant's user folder.
std::string defaultUserFolder(const UserPaths& paths, ProductVariant variant);

/// The build batch file of the sample build folder: under the build root when that is set,
/// else in the data folder.
std::string defaultBatFile(const UserPaths& paths);

/// A build batch file that lies in the data folder, moved to the same place under the build
/// root (where the sample build folder is copied, since the program folder is not written).
/// Any other path, or any path when there is no build root, comes back unchanged.
std::string redirectedBatFile(const UserPaths& paths, const std::string& batFile);

/// setDefaultSettings for the folders of `paths` (data folder as the program folder).
void setDefaultSettings(AppSettings& settings, IoSetup& io, ProductVariant variant, const UserPaths& paths);

/// LoadSettings for the folders of `paths`: the folder defaults follow them, and a BatFile_
/// that points into the data folder is redirected to the build root (redirectedBatFile).
void LoadSettings(AppSettings& settings, IoSetup& io, const std::string& iniPath, const UserPaths& paths,
                  std::vector<std::string>* warnings = nullptr);

}  // namespace kavel
