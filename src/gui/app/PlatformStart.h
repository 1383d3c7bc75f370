#pragma once
// The toolkit's start in kavelide: while the application object connects to the window system
// the toolkit's own messages are held back, and when it gives up (no display can be opened)
// the user reads one line that says what to do instead of the toolkit's plugin report.

#include "core/shell/IdeCommandLine.h"

namespace kavel::gui {

/// The display inputs of this process: `args` (without the program name) and the environment.
DisplayInputs displayInputsOf(const std::vector<std::string>& args);

/// From here until releasePlatformMessages() the toolkit's messages are kept; a fatal one ends
/// the process at once with exit status 1 after writing unreachableDisplayText(`in`) to
/// standard error.
void holdPlatformMessages(const DisplayInputs& in);
/// The toolkit started: its kept messages are passed on as they would have been.
void releasePlatformMessages();

}  // namespace kavel::gui
