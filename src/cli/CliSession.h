#pragma once
// What every console command starts from: the global options and a Context set up the way the
// program sets itself up at start (variant defaults, then the settings file, then messages).

#include <memory>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/shell/UserPaths.h"

namespace kavel::cli {

struct GlobalOptions {
  std::string iniPath;  // empty: every setting takes its default
  bool iniGiven = false;  // --ini was given (perhaps with an empty path)
  int variant = -1;     // -1: the one the application title selects
  int language = -1;    // -1: LANG_NO_ of the settings
};

/// Parses the global options in front of the command; the rest (command and its arguments)
/// stays in `rest`. False with `error` set on a bad option.
bool parseGlobalOptions(const std::vector<std::string>& args, GlobalOptions& options,
                        std::vector<std::string>& rest, std::string& error);

/// The settings file --ini names must be one the console can read: the user named it, so a
/// missing file, an empty path, a folder, a loop of links or a file that is no text is an
/// error, not a silent run with the defaults. False with `error` naming the path and why.
bool checkSettingsFile(const GlobalOptions& options, std::string& error);

/// A Context for the console: defaults of the variant, the settings file when given (never
/// written), both message files, and the current language.
std::unique_ptr<Context> makeContext(const GlobalOptions& options);

/// The folder of the running binary, ending with "/".
std::string programFolder();

/// The folders of this run: beside the binary, or per user for an installed or read-only copy.
UserPaths userPaths();

/// Reads an integer option value; false when it is not a whole decimal number.
bool parseInt(const std::string& text, int& value);

}  // namespace kavel::cli
