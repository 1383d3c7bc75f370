#pragma once
// The module windows the sensor monitor opens from its buttons: compass, ultrasonic and camera
// monitors, and the game-pad dialog with its live pad lines. Created on first use and kept, so a
// window reopens where the user left it. Everything here belongs to the sensor monitor and goes
// with it.

#include <QObject>
#include <QPointer>

#include "gui/monitor/MonitorModule.h"

class QDialog;

namespace kavel {
struct Context;
}

namespace kavel::gui {

class TfrmCmps;
class TfrmMoni;
class TfrmPixyMoni;
class TfrmUssMoni;
class Workbench;

class ModuleWindows : public QObject {
 public:
  /// Becomes a child of `moni`, as do the windows it creates.
  ModuleWindows(Context& ctx, Workbench& bench, TfrmMoni& moni);

  /// The hooks to hand to the sensor monitor.
  MonitorModuleHooks hooks();

  /// Shows the module's window modally; returns when it has closed.
  void show(MonitorModule module);
  /// Closes every module window that is visible.
  void closeVisible();

  TfrmCmps* cmps();
  TfrmUssMoni* ussMoni();
  TfrmPixyMoni* pixyMoni();

 private:
  QDialog* window(MonitorModule module);

  Context& ctx_;
  Workbench& bench_;
  TfrmMoni& moni_;
  QPointer<TfrmCmps> cmps_;
  QPointer<TfrmUssMoni> uss_;
  QPointer<TfrmPixyMoni> pixy_;
};

}  // namespace kavel::gui
