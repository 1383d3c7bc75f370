#pragma once
// The two message file paths move together: the language editor only asks for a folder.

#include <string>

namespace kavel {

struct AppSettings;

/// Moves LANG_0__ and LANG_1__ into the folder of `chosenFile`, each keeping its own file
/// name. The chosen file's own name does not matter (picking English.Txt moves both too).
void moveMessagePaths(AppSettings& settings, const std::string& chosenFile);

}  // namespace kavel
