#pragma once
// The start of a session, shared by kavelide and the kavel console tool.

#include <string>

#include "core/Context.h"
#include "core/settings/ProductVariant.h"
#include "core/shell/UserPaths.h"

namespace kavel {

/// Fills `ctx` as a session starts: the settings and connectors take the defaults of `variant`
/// for the folders `paths` decided (data from its data folder, the user folder under its user
/// root, the sample build folder under its build root), the I/O setup is reset to them, the
/// settings file `paths.settingsFile` (none when empty) is read over them, and both message
/// files are loaded. The language is left to the caller (the first run of kavelide asks for
/// it). A settings file that exists but cannot be read leaves the defaults in place and puts a
/// sentence naming the file and the reason in `settingsError` (when given), for the caller to
/// show; so do values that are no number or out of range (one line each, with the default
/// used). A missing file is the first run, not an error.
void startSession(Context& ctx, ProductVariant variant, const UserPaths& paths, std::string* settingsError = nullptr);

/// The same for a program whose data and user files all live in `programFolder` and whose
/// settings file is `iniPath`.
void startSession(Context& ctx, ProductVariant variant, const std::string& programFolder, const std::string& iniPath,
                  std::string* settingsError = nullptr);

}  // namespace kavel
