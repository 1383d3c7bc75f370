#pragma once
// M_Type.h: the "#define" lines that tell the firmware library which microcontroller, product,
// connector modes and option modules the program uses. A macro is either defined or absent.

#include <string>
#include <vector>

#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"

namespace kavel {

/// The lines of the configuration header, in their fixed order. The microcontroller comes from
/// `settings.MCU2620_`, the product from `settings.variant`; `pwrOnRun` is the build window's
/// "PwrOn Run" box.
std::vector<std::string> configHeaderLines(const IoSetup& io, const AppSettings& settings, bool pwrOnRun);

}  // namespace kavel
