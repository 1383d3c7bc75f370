#pragma once
// The files a build leaves: what is cleared in the build folder before the tool chain runs,
// how success is decided, and the copies put beside the program.

#include <string>

namespace kavel {

/// True when `folder` exists and is a folder.
bool buildFolderExists(const std::string& folder);

/// Why `batFile` (BatFile_) leads to no build folder: it names a folder rather than the build
/// batch file inside one. Empty when it names no folder.
std::string batFileProblem(const std::string& batFile);

/// The message for a build folder that lacks the compile batch file `batch`: it names the
/// folder and what to choose instead.
std::string missingBatchFile(const std::string& buildFolder, const std::string& batch);

/// Deletes User.o and User.Hex in the build folder, so a stale image never counts as success.
/// False with `error` set when a User.Hex stays (it cannot be deleted, or is a folder): a build
/// there could not tell its own image from the old one.
bool clearBuildResults(const std::string& buildFolder, std::string* error = nullptr);

/// A build succeeded when the tool chain left User.Hex in the build folder.
bool buildSucceeded(const std::string& buildFolder);

/// `programPath` with its extension replaced by `extension` (".Hex", ".c").
std::string besideProgram(const std::string& programPath, const std::string& extension);

/// Copies User.Hex over the program's path with ".Hex" and, when `withSource` (statement
/// style), User.c over its path with ".c": both copies or, when one cannot be made, neither.
/// False with `error` naming the file and the reason when they were not made.
bool copyBuildResults(const std::string& buildFolder, const std::string& programPath, bool withSource,
                      std::string& error);

}  // namespace kavel
