#pragma once
// How the build window shows a program kept as C source: its lines numbered "%04d|".

#include <string>
#include <string_view>
#include <vector>

namespace kavel {

/// The build pane lines of a C source copied to User.c (`source` as UTF-8): each tab becomes
/// `tabSpaces` spaces, each CR (or an LF not preceded by one) ends a line, which gets "%04d|"
/// with its 1-based number, other characters below the space are dropped, and text after the
/// last line end is not shown.
std::vector<std::string> cSourceBuildPaneLines(std::string_view source, int tabSpaces);

}  // namespace kavel
