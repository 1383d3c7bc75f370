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
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/TfrmDir.h"
#include "gui/dialogs/TfrmPixy.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/dialogs/TfrmUss.h"
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

  QPointer<TfrmUss> uss;
  QPointer<TfrmDir> dir;
  QPointer<TfrmSNX4410> snx4410;
  QPointer<TfrmPixy> pixy;
  QPointer<TfrmSubProg> subProg;
  QPointer<TfrmCode> code;

  std::vector<StatementDialog*> all() const {
    return {condition, speed, repeat, sensor, var, timer, led, outCn, pwm, servo, lcd,
            uss, dir, snx4410, pixy, subProg, code};
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
  impl_->uss = new TfrmUss(ctx, glyphs, parent);
  impl_->dir = new TfrmDir(ctx, parent);
  impl_->snx4410 = new TfrmSNX4410(ctx, parent);
  impl_->pixy = new TfrmPixy(ctx, glyphs, parent);
  impl_->subProg = new TfrmSubProg(ctx, glyphs, parent);
  impl_->code = new TfrmCode(ctx, parent);
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
    case kUltrasonic: return impl_->uss;
    case kDirectionTest: return impl_->dir;
    case kGamePadTest: return impl_->snx4410;
    case kCameraTest: return impl_->pixy;
    case kSubCall:
    case kReturn: return impl_->subProg;
    case kCCode: return impl_->code;
    default: return nullptr;
  }
}

TfrmSubProg* DialogSet::subProg() { return impl_->subProg; }

TfrmCode* DialogSet::code() { return impl_->code; }

TfrmSNX4410* DialogSet::snx4410() { return impl_->snx4410; }

StatementDialog* DialogSet::condition() { return impl_->condition; }

void DialogSet::applyLanguage() {
  for (StatementDialog* d : impl_->all()) {
    if (d) d->applyLanguage();
  }
}

}  // namespace kavel::gui
