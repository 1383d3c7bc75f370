#pragma once
// The module windows the sensor monitor opens from its buttons (compass, ultrasonic, game pad,
// camera). The monitor does not know them: whoever builds the windows hands it these hooks.

#include <functional>

#include "core/monitor/MonitorCommands.h"

namespace kavel::gui {

using MonitorModule = BoardModule;
inline constexpr int kMonitorModules = kBoardModules;

struct MonitorModuleHooks {
  /// Shows the module's window modally and returns when it has closed.
  std::function<void(MonitorModule)> show;
  /// Closes the module windows that are visible (the sensor stream is starting).
  std::function<void()> closeVisible;
};

}  // namespace kavel::gui
