#pragma once
// The files a build leaves: what is cleared in the build folder before the tool chain runs,
// how success is decided, and the copies put beside the program.

#include <string>

namespace kavel {

/// True when `folder` exists and is a folder.
bool buildFolderExists(const std::string& folder);

/// Deletes User.o and User.Hex in the build folder, so a stale image never counts as success.
void clearBuildResults(const std::string& buildFolder);

/// A build succeeded when the tool chain left User.Hex in the build folder.
bool buildSucceeded(const std::string& buildFolder);

/// `programPath` with its extension replaced by `extension` (".Hex", ".c").
std::string besideProgram(const std::string& programPath, const std::string& extension);

/// Copies User.Hex over the program's path with ".Hex" and, when `withSource` (statement
/// style), User.c over its path with ".c". Each copy replaces its target whole or not at all.
/// False with `error` naming the file and the reason when a copy failed.
bool copyBuildResults(const std::string& buildFolder, const std::string& programPath, bool withSource,
                      std::string& error);

}  // namespace kavel
