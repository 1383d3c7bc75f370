#pragma once
// What kavelide does with its command line before any window exists: print its help or version
// and end, or find out that the window system it would need is not there, so that it can say
// so in one line instead of failing inside the toolkit.

#include <string>
#include <vector>

namespace kavel {

enum class IdeAction { Run, Help, Version };

/// The action the arguments ask for (`args` without the program name): "--help" or "-h" asks
/// for the help, "--version" for the version; arguments after "--" are file names.
IdeAction ideAction(const std::vector<std::string>& args);

/// The help text, ending with a line end.
std::string ideUsageText();
/// "kavelide " followed by the main window's caption, ending with a line end.
std::string ideVersionText();

/// What decides whether a display is there: the platform named by "-platform NAME" (or
/// "-platform=NAME") on the command line, $QT_QPA_PLATFORM, $DISPLAY and $WAYLAND_DISPLAY.
struct DisplayInputs {
  std::string platformArgument;
  std::string platformVariable;
  std::string display;
  std::string waylandDisplay;
};

/// The platform argument of `args` ("" when none).
std::string platformArgumentOf(const std::vector<std::string>& args);

/// One line (with its line end) saying that no display can be opened and what to do, or ""
/// when the start may go on. The platform list of the argument, else of the variable (names
/// separated by ";", the first one that can start is used), else the desktop's default, needs a
/// display only for the X11 ("xcb") and Wayland platforms; those need $DISPLAY or
/// $WAYLAND_DISPLAY.
std::string missingDisplayText(const DisplayInputs& in);

/// The same line for a display that is named but could not be opened (the toolkit gave up).
std::string unreachableDisplayText(const DisplayInputs& in);

}  // namespace kavel
