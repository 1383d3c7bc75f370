#pragma once
// Generating M_Type.h and User.c at the console for a Main program already read, as a build
// does: Subs read from the files Main's calls name, problems reported on standard error.

#include <string>

#include "core/Context.h"

namespace kavel::cli {

/// Generates for Main (read from `file`) into `outFolder`. Messages on standard error start
/// with `who` ("kavel gen"). False, with nothing written, when a Sub file Main calls is there
/// but is no program file or does not read whole; false when the generated files could not be
/// written.
bool generateForConsole(Context& ctx, const std::string& file, const std::string& outFolder, bool pwrOn,
                        const std::string& who);

}  // namespace kavel::cli
