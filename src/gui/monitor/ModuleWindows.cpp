#include "gui/monitor/ModuleWindows.h"

#include "core/Context.h"
#include "gui/app/Prompts.h"
#include "gui/app/Workbench.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/monitor/TfrmCmps.h"
#include "gui/monitor/TfrmMoni.h"
#include "gui/monitor/TfrmPixyMoni.h"
#include "gui/monitor/TfrmUssMoni.h"

namespace kavel::gui {

ModuleWindows::ModuleWindows(Context& ctx, Workbench& bench, TfrmMoni& moni)
    : QObject(&moni), ctx_(ctx), bench_(bench), moni_(moni) {}

MonitorModuleHooks ModuleWindows::hooks() {
  MonitorModuleHooks h;
  h.show = [this](MonitorModule module) { show(module); };
  h.closeVisible = [this] { closeVisible(); };
  return h;
}

TfrmCmps* ModuleWindows::cmps() {
  if (!cmps_) cmps_ = new TfrmCmps(ctx_, bench_.link(), bench_.prompts(), &moni_);
  return cmps_;
}

TfrmUssMoni* ModuleWindows::ussMoni() {
  if (!uss_) uss_ = new TfrmUssMoni(ctx_, bench_.link(), bench_.prompts(), &moni_);
  return uss_;
}

TfrmPixyMoni* ModuleWindows::pixyMoni() {
  if (!pixy_) {
    pixy_ = new TfrmPixyMoni(ctx_, bench_.link(), bench_.prompts(), &moni_);
    // The camera's start button stops the sensor stream first, as the monitor's own start
    // button does when pressed a second time.
    pixy_->stopSensorStream = [this] {
      if (moni_.startRequest()) moni_.btnStartClick();
    };
  }
  return pixy_;
}

QDialog* ModuleWindows::window(MonitorModule module) {
  switch (module) {
    case MonitorModule::Compass: return cmps();
    case MonitorModule::Ultrasonic: return ussMoni();
    case MonitorModule::Camera: return pixyMoni();
    case MonitorModule::GamePad: return bench_.dialogs().snx4410();
  }
  return nullptr;
}

void ModuleWindows::show(MonitorModule module) {
  QDialog* w = window(module);
  if (!w) return;
  if (module != MonitorModule::GamePad) {
    bench_.prompts().showModal(*w);
    return;
  }
  // The pad dialog is a statement dialog: shown here for its live lines only, so whatever it
  // writes into the edit buffer must not reach the row being edited.
  const EditBuffer kept = ctx_.edit;
  bench_.prompts().showModal(*w);
  ctx_.edit = kept;
}

void ModuleWindows::closeVisible() {
  QDialog* windows[] = {cmps_.data(), uss_.data(), pixy_.data(), bench_.dialogs().snx4410()};
  for (QDialog* w : windows) {
    if (w && w->isVisible()) w->close();
  }
}

}  // namespace kavel::gui
