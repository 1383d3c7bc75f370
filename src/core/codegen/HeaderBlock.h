#pragma once
// The comment and include block at the top of generated C, the program-name line of each
// function, and the skeleton of a new program kept as C source.

#include <string>
#include <vector>

#include "core/setup/IoSetup.h"

namespace kavel {

/// "//" followed by 80 hyphens; frames every block of generated C.
extern const std::string kSeparatorLine;

/// The four include lines every generated file starts its code with.
std::vector<std::string> includeLines();

/// How the "// Build:" line names a build folder: from "Build_V" up to the folder's trailing
/// separator ("Build_V190617"), or " ... " and the 20 characters before the last one.
std::string buildFolderPart(const std::string& buildFolder);

/// The full header block: separator, "// Title: <title>", "// Build:<caption> - [ <folder
/// part> ]", separator, the setup values and connector names, separator, includes, separator.
std::vector<std::string> fullHeaderBlock(const std::string& title, const std::string& mainWindowCaption,
                                         const std::string& buildFolder, const SetupRecord& setup, const IoSetup& io);

/// The code view's short header block: separator, includes, separator.
std::vector<std::string> shortHeaderBlock();

/// The program name a build gives a program: its file name (without folder) with the
/// extension replaced by ".C".
std::string programNameForBuild(const std::string& path);

/// The program name the code view gives a program: the text between "[ " and a later " ]" of
/// its window caption followed by ".C", or the whole caption when it has no such brackets.
std::string programNameForView(const std::string& caption);

/// The body of a new C-code program below its header block: an empty program name, the
/// separator, an empty user_main holding one ";" indented by `tabSpaces`, the separator.
std::vector<std::string> cSkeletonBody(int tabSpaces);

}  // namespace kavel
