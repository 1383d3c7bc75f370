#include "gui/dialogs/DialogSet.h"

#include <QPointer>

#include <vector>

#include "gui/app/Glyphs.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/dialogs/TfrmRepeat.h"
#include "gui/dialogs/TfrmSpeed.h"
#include "gui/dialogs/TfrmLcd.h"
#include "gui/dialogs/TfrmLed.h"
#include "gui/dialogs/TfrmOutCn.h"
#include "gui/dialogs/TfrmPwm.h"
#include "gui/dialogs/TfrmSensor.h"
#include "gui/dialogs/TfrmServo.h"
#include "gui/dialogs/TfrmTimer.h"
#include "gui/dialogs/TfrmVar.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {

// Every dialog is created here once. The set deletes them when it goes; a parent that goes
// first deletes them itself, which the guarded pointers notice. Kinds without a dialog in
// this version answer nullptr.
struct DialogSet::Impl {
  QPointer<TfrmCondition> condition;
  QPointer<TfrmSpeed> speed;
  QPointer<TfrmRepeat> repeat;
  QPointer<TfrmSensor> sensor;
  QPointer<TfrmVar> var;
  QPointer<TfrmTimer> timer;
  QPointer<TfrmLed> led;
  QPointer<TfrmOutCn> outCn;
  QPointer<TfrmPwm> pwm;
  QPointer<TfrmServo> servo;
  QPointer<TfrmLcd> lcd;

  std::vector<StatementDialog*> all() const {
    return {condition, speed, repeat, sensor, var, timer, led, outCn, pwm, servo, lcd};
  }
};

DialogSet::DialogSet(Context& ctx, const Glyphs& glyphs, QWidget* parent) : impl_(std::make_unique<Impl>()) {
  impl_->condition = new TfrmCondition(ctx, glyphs, parent);
  impl_->speed = new TfrmSpeed(ctx, glyphs, parent);
  impl_->repeat = new TfrmRepeat(ctx, parent);
  impl_->sensor = new TfrmSensor(ctx, glyphs, parent);
  impl_->var = new TfrmVar(ctx, parent);
  impl_->timer = new TfrmTimer(ctx, glyphs, parent);
  impl_->led = new TfrmLed(ctx, glyphs, parent);
  impl_->outCn = new TfrmOutCn(ctx, glyphs, parent);
  impl_->pwm = new TfrmPwm(ctx, parent);
  impl_->servo = new TfrmServo(ctx, parent);
  impl_->lcd = new TfrmLcd(ctx, parent);
}

DialogSet::~DialogSet() {
  for (StatementDialog* d : impl_->all()) delete d;
}

StatementDialog* DialogSet::forSubjectKind(int cno) {
  if (isMotorKind(cno)) return impl_->speed;
  if (cno == kRepeatCount) return impl_->repeat;
  if (isLedKind(cno)) return impl_->led;
  switch (cno) {
    case kSensorTestOld: case kSensorTest: return impl_->sensor;
    case kVariable: case kVariableItem: return impl_->var;
    case kWait: case kTimer: return impl_->timer;
    case kOutput: return impl_->outCn;
    case kPwm: return impl_->pwm;
    case kServo: return impl_->servo;
    case kLcd: return impl_->lcd;
    default: break;
  }
  return nullptr;
}

StatementDialog* DialogSet::condition() { return impl_->condition; }

void DialogSet::applyLanguage() {
  for (StatementDialog* d : impl_->all()) {
    if (d) d->applyLanguage();
  }
}

}  // namespace kavel::gui
