#include "gui/app/Workbench.h"

#include "core/model/ProgramSet.h"
#include "core/settings/ProductVariant.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "gui/app/Glyphs.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/build/TfrmBuild.h"
#include "gui/comm/SerialLink.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/editor/Palette.h"
#include "gui/editor/TfrmProg.h"

namespace kavel::gui {

Workbench::Workbench(Context& ctx, Prompts& prompts, const QString& programFolder, QWidget* dialogParent)
    : ctx_(ctx), prompts_(prompts) {
  glyphs_ = std::make_unique<Glyphs>(programFolder);
  dialogs_ = std::make_unique<DialogSet>(ctx_, *glyphs_, dialogParent);
  // Their file choices and warnings go through the same prompts as every other question.
  dialogs_->subProg()->usePrompts(prompts_);
  dialogs_->code()->usePrompts(prompts_);
  windows_ = std::make_unique<ProgramWindows>(*this, ctx_);

  BuildWindowServices services;
  services.programFolder = programFolder.toStdString();
  if (!services.programFolder.empty() && services.programFolder.back() != '/') services.programFolder += '/';
  services.buildPathChanged = [this] { emit buildPathChanged(); };
  services.codeGenHooks = codeGenHooks();
  services.showProgramRow = [this](int program, int row) { showProgramRow(program, row); };
  build_ = new TfrmBuild(ctx_, prompts_, std::move(services), dialogParent);
  link_ = std::make_unique<SerialLink>(ctx_);
  dialogs_->snx4410()->useLink(*link_, prompts_);
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

CodeGenHooks Workbench::codeGenHooks() {
  CodeGenHooks hooks;
  // The build reads every Sub from the file the save step wrote and lets go of it afterwards: an
  // open Sub window goes with it rather than staying behind without its rows.
  hooks.closeSubWindow = [this](int sub) { windows_->close(sub); };
  hooks.readFailed = [this](int program, const std::string& path, const std::string& error) {
    // A Sub that cannot be read is built with an empty body: the user must know why.
    const QString what = program == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(program);
    prompts_.ask(build_, PromptIcon::Warning, QStringLiteral("File Error"),
                 QStringLiteral("Can't Open ... %1 (%2)\n%3").arg(qs(path), what, qs(error)), PromptButtons::Ok);
  };
  hooks.fileHooks.productWarning = [this](const std::string& text) {
    prompts_.ask(build_, PromptIcon::Warning, QStringLiteral("Warning"), qs(text), PromptButtons::Ok);
  };
  hooks.fileHooks.askOldVersion = [this](const std::string& title, const std::string& text) {
    return prompts_.ask(build_, PromptIcon::Warning, qs(title), qs(text), PromptButtons::YesNo) == Answer::Yes;
  };
  return hooks;
}

void Workbench::showProgramRow(int program, int row) {
  if (!ProgramSet::isValidIndex(program)) return;
  TfrmProg* prog = windows_->prog(program);
  if (!prog) {
    std::string name;
    for (const CalledSub& call : calledSubs(ctx_.programs.main())) {
      if (call.number == program) name = call.fileName;
    }
    if (name.empty()) return;
    // Read from where the build read it.
    std::string path = name.front() == '/' ? name : ctx_.settings.DatPath_ + name;
    if (text::extensionOf(path).empty()) path += kProgramFileExtension;
    prog = windows_->open(program);
    if (!prog || !prog->readFile(qs(path))) return;
  } else {
    windows_->open(program);  // restored and brought to the front
  }
  prog->selectRow(row);
}

std::string Workbench::nextNewFileName() {
  newFileNumber_ = nextNewFileNumber(ctx_.settings.DatPath_, newFileNumber_);
  return text::format("NewFile-%02d", newFileNumber_);
}

}  // namespace kavel::gui
