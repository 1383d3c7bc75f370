#include "gui/dialogs/DialogSet.h"

#include <QPointer>

#include <vector>

#include "gui/app/Glyphs.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/dialogs/TfrmRepeat.h"
#include "gui/dialogs/TfrmSpeed.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {

// Every dialog is created here once. The set deletes them when it goes; a parent that goes
// first deletes them itself, which the guarded pointers notice. Kinds without a dialog in
// this version answer nullptr.
struct DialogSet::Impl {
  QPointer<TfrmCondition> condition;
  QPointer<TfrmSpeed> speed;
  QPointer<TfrmRepeat> repeat;

  std::vector<StatementDialog*> all() const { return {condition, speed, repeat}; }
};

DialogSet::DialogSet(Context& ctx, const Glyphs& glyphs, QWidget* parent) : impl_(std::make_unique<Impl>()) {
  impl_->condition = new TfrmCondition(ctx, glyphs, parent);
  impl_->speed = new TfrmSpeed(ctx, glyphs, parent);
  impl_->repeat = new TfrmRepeat(ctx, parent);
}

DialogSet::~DialogSet() {
  for (StatementDialog* d : impl_->all()) delete d;
}

StatementDialog* DialogSet::forSubjectKind(int cno) {
  if (isMotorKind(cno)) return impl_->speed;
  if (cno == kRepeatCount) return impl_->repeat;
  return nullptr;
}

StatementDialog* DialogSet::condition() { return impl_->condition; }

void DialogSet::applyLanguage() {
  for (StatementDialog* d : impl_->all()) {
    if (d) d->applyLanguage();
  }
}

}  // namespace kavel::gui
