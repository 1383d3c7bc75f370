#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `picture FILE --out OUT.png|OUT.svg [--sub N] [--lang N]`: reads FILE as Open does and
/// writes every row as the program window paints it (line numbers, glyphs, row texts in the
/// language chosen, indentation) as a PNG or SVG picture. Draws offscreen: no display is
/// needed. Exit 0 written; 1 bad usage or FILE not read; 2 OUT not written. Every failure
/// message names the file and the reason.
int runPicture(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
