#pragma once
// An installed copy of Kavel cannot build in its own sample build folder: a build writes its
// files there. The folder is copied to the user's build root on the first build and refreshed
// when the installed one is newer (an update), and every build then runs in the copy.

#include <string>

#include "core/shell/UserPaths.h"

namespace kavel {

/// Makes the build folder of the build batch file `batFile` ready for a build. When it lies
/// under `paths.buildRoot` and the data folder holds the same folder, the files missing from
/// the copy, or older there than in the program folder, are copied (modes kept plus the owner's
/// write bit, times kept, folders 0700 below `paths.buildBase`); files the build or the user added stay. A build folder
/// inside a program folder that is never written, or one the user cannot write, is refused.
/// True when the folder can be built in (also when it is not ours to copy and simply missing:
/// the caller reports that as ever); false with `error` set to sentences naming the folder, the
/// reason and what to do.
bool prepareBuildFolder(const std::string& batFile, const UserPaths& paths, std::string* error);

}  // namespace kavel
