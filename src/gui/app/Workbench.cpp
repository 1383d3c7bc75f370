#include "gui/app/Workbench.h"

#include "core/model/ProgramSet.h"
#include "core/settings/ProductVariant.h"
#include "core/text/Format.h"
#include "gui/app/Glyphs.h"
#include "gui/app/ProgramWindows.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/editor/Palette.h"

namespace kavel::gui {

Workbench::Workbench(Context& ctx, Prompts& prompts, const QString& programFolder, QWidget* dialogParent)
    : ctx_(ctx), prompts_(prompts) {
  glyphs_ = std::make_unique<Glyphs>(programFolder);
  dialogs_ = std::make_unique<DialogSet>(ctx_, *glyphs_, dialogParent);
  // Their file choices and warnings go through the same prompts as every other question.
  dialogs_->subProg()->usePrompts(prompts_);
  dialogs_->code()->usePrompts(prompts_);
  windows_ = std::make_unique<ProgramWindows>(*this, ctx_);
}

Workbench::~Workbench() = default;

void Workbench::setPalette(Palette* palette) {
  palette_ = palette;
  if (!palette_) return;
  connect(palette_, &Palette::armChanged, this, [this](int kind) {
    // Arming a statement ends any pending clipboard work.
    if (!ctx_.clipboard.empty()) windows_->clearClipboard();
    emit armChanged(kind);
  });
}

int Workbench::armedKind() const { return palette_ ? palette_->armedKind() : -1; }

void Workbench::disarm() {
  if (palette_) palette_->release();
  emit armChanged(-1);
}

int Workbench::paletteWidthIfLeft() const {
  if (!palette_ || ctx_.settings.FuncPnl != 3) return 0;
  const QWidget* panel = palette_->parentWidget();
  return panel && panel->isVisible() ? palette_->width() : 0;
}

ProgramFileContext Workbench::fileContext() {
  return ProgramFileContext{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, mainWindowTitle()};
}

std::string Workbench::nextNewFileName() {
  newFileNumber_ = nextNewFileNumber(ctx_.settings.DatPath_, newFileNumber_);
  return text::format("NewFile-%02d", newFileNumber_);
}

}  // namespace kavel::gui
