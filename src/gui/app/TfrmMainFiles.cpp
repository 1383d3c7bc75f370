// The main window's program commands: New, Open, Save, Print and the editing styles.

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QToolButton>

#include "gui/app/NativeFileName.h"
#include "gui/app/ProgramPrinter.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/QtText.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/app/Workbench.h"
#include "gui/app/Prompts.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/app/SidePanel.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFileCheck.h"
#include "core/model/ProgramSet.h"
#include "core/model/SubCallNames.h"
#include "core/model/StatementKind.h"
#include "core/setup/CSourceHeader.h"
#include "core/setup/SetupCodec.h"
#include "core/shell/ModeQuestion.h"
#include "core/build/HistoryName.h"
#include "core/shell/ShellTexts.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
QString TfrmMain::filterFor(bool code) const {
  return code ? QStringLiteral("C-Code (*.c);;All Files (*)") : QStringLiteral("Kavel (*.Kvl);;All Files (*)");
}

void TfrmMain::setFolder(const std::string& folder) {
  std::string f = folder;
  if (!f.empty() && f.back() != '/') f += '/';
  ctx_.settings.DatPath_ = f;
  pnlUserPath_->setText(qs(f));
  pnlUserPath_->setToolTip(qs(f));
}

// --- New ----------------------------------------------------------------------------------------

void TfrmMain::resetSetupForNew(bool askAllowed) {
  bool full = ctx_.settings.SetupDef == 1;
  if (ctx_.settings.SetupDef == 2 && askAllowed) {
    full = prompts_->askMode(*msgBox_, ModeQuestion::kNewSetup);
  }
  ResetSetup(ctx_.io, ctx_.setup, ctx_.settings, full);
}

void TfrmMain::mmNewClick() {
  const int current = ctx_.programs.current;
  TfrmProg* cur = prog(current);
  if (!cur) return;
  if (current == 0) bench_->nextNewFileName();
  if (cur->program().modified &&
      prompts_->ask(this, PromptIcon::Question, message(44), message(42), PromptButtons::YesNo) != Answer::Yes) {
    return;
  }
  // Sub windows that New closes must not take unsaved rows with them.
  if (!codeStyle() && !windows().offerToSaveSubsAbove(current)) return;
  // The path goes only once the user has agreed: a "No" keeps the program as it was.
  cur->program().path.clear();
  resetSetupForNew(true);
  if (codeStyle()) {
    writeCodeSkeleton();
  } else {
    for (int n = ProgramSet::kPrograms - 1; n > current; --n) closeProgramWindow(n);
    cur->clearRows();
    cur->setModified(false);
    if (cur->codeViewVisible()) cur->memoView()->clear();
  }
  refreshPalette();
}

// --- Open ---------------------------------------------------------------------------------------

void TfrmMain::mmOpenClick() {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur) return;
  if (cur->program().modified &&
      prompts_->ask(this, PromptIcon::Question, message(44), message(43), PromptButtons::YesNo) != Answer::Yes) {
    return;
  }
  const QString path = prompts_->openFileName(this, qs(ctx_.settings.DatPath_), filterFor(codeStyle()));
  if (path.isEmpty()) return;
  if (codeStyle()) {
    openCodeFile(path);
  } else {
    openProgramFile(path);
  }
}

bool TfrmMain::confirmDamagedOpen(const ProgramFileCheck& check) {
  if (check.rowsRead == 0) {
    prompts_->ask(this, PromptIcon::Warning, message(44),
                  qs(check.reason) + QStringLiteral("\n\nNo row could be read before it. The program was not changed."),
                  PromptButtons::Ok);
    return false;
  }
  const QString question =
      qs(check.reason) +
      QStringLiteral("\n\nOpen the %1 rows before that line? The program is then marked as changed, so that "
                     "it is saved over the file only when you save it.")
          .arg(check.rowsRead);
  return prompts_->ask(this, PromptIcon::Warning, message(44), question, PromptButtons::YesNo) == Answer::Yes;
}

bool TfrmMain::openProgramFile(const QString& path) { return openProgramFile(nativeFileName(path)); }

bool TfrmMain::openProgramFile(const std::string& file) {
  const int current = ctx_.programs.current;
  TfrmProg* cur = prog(current);
  if (!cur) return false;

  // A file that is not a program file leaves the program as it is; of a damaged one, the rows
  // before the damage are opened only when the user has read what is lost.
  const ProgramFileCheck check = checkProgramFile(file, bench_->fileContext());
  if (check.verdict == ProgramFileCheck::Verdict::NotProgram) {
    prompts_->ask(this, PromptIcon::Warning, message(44),
                  qs(check.reason) + QStringLiteral("\n\nThe program was not changed."), PromptButtons::Ok);
    return false;
  }
  if (check.verdict == ProgramFileCheck::Verdict::Damaged && !confirmDamagedOpen(check)) return false;
  if (check.verdict == ProgramFileCheck::Verdict::CannotOpen) {
    cur->program().statusText = "Can't Open ... " + file;
    cur->rowsChanged();
    return false;
  }

  if (current == 0 && !windows().offerToSaveSubsAbove(0)) return false;
  // One file is open in one Sub window only: another window that holds it closes below, and
  // it may hold unsaved rows.
  const std::vector<int> others =
      current != 0 ? otherSubsCallingFile(ctx_.programs.main(), current, file) : std::vector<int>{};
  for (int n : others) {
    if (TfrmProg* other = prog(n); other && !windows().mayClose(*other)) return false;
  }
  if (!others.empty() && prog(current)) {
    mdi_->setActiveSubWindow(subWindow(current));
    windows().activate(current);
  }
  windows().clearClipboard();
  if (current != 0) {
    cur->clearRows();
    for (int n : others) closeProgramWindow(n);
    // Main's calls of this Sub name the opened file now: a change of Main to be saved.
    const bool renamed = nameSubCalls(ctx_.programs.main(), current, file);
    if (TfrmProg* main = prog(0); main && renamed) main->subCallNamesChanged();
  } else {
    for (int n = ProgramSet::kPrograms - 1; n >= 1; --n) closeProgramWindow(n);
    cur->clearRows();
  }
  cur->scrollToTopLeft();
  cur->program().modified = false;
  const bool ok = cur->readFile(file, false) || check.verdict == ProgramFileCheck::Verdict::Damaged;
  if (ok) {
    setFolder(text::folderOf(cur->program().path));
    QDir::setCurrent(qs(ctx_.settings.DatPath_));
    rememberRecent(cur->program().path);
  }
  refreshPalette();
  if (cur->codeViewVisible()) cur->regenerateCodeView();
  modifiedChanged();
  return ok;
}

bool TfrmMain::openCodeFile(const QString& path) {
  TfrmProg* main = prog(0);
  if (!main) return false;
  const std::string file = nativeFileName(path);
  const ProgramFileCheck check = checkCodeFile(file);
  std::string bytes;
  if (check.verdict == ProgramFileCheck::Verdict::NotProgram) {
    prompts_->ask(this, PromptIcon::Warning, message(44),
                  qs(check.reason) + QStringLiteral("\n\nThe program was not changed."), PromptButtons::Ok);
    return false;
  }
  if (check.verdict != ProgramFileCheck::Verdict::Ok || !text::readFileBytes(file, bytes)) {
    main->program().statusText = "Can't Open ... " + file;
    main->rowsChanged();
    return false;
  }
  const auto encoding = text::detectEncoding(bytes);
  std::vector<std::string> lines;
  for (std::string_view l : text::splitLines(text::withoutBom(bytes), bytes.size() + 2)) {
    lines.push_back(text::decode(l, encoding));
  }

  Program& p = main->program();
  main->setCodeLines(lines);
  p.path = file;
  p.statusText = file;
  p.titleName = text::fileNameOf(file);
  main->refreshTitle();
  main->setModified(false);
  setFolder(text::folderOf(file));
  QDir::setCurrent(qs(ctx_.settings.DatPath_));
  codeFileTime_ = QFileInfo(path).lastModified().toMSecsSinceEpoch();
  readSetupFromCSource(lines, ctx_.io, ctx_.setup);
  rememberRecent(file);
  return true;
}

// --- Save ---------------------------------------------------------------------------------------

bool TfrmMain::mmSaveClick() {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur) return false;
  const Program& p = cur->program();
  std::string proposed = p.path;
  if (proposed.empty()) {
    proposed = ctx_.settings.DatPath_ +
               (p.isMain() ? text::format("NewFile-%02d", bench_->newFileNumber()) : text::format("SubFile-%02d", p.index()));
  } else {
    const std::string ext = text::extensionOf(proposed);
    proposed.resize(proposed.size() - ext.size());
  }
  const bool code = codeStyle();
  QString path = prompts_->saveFileName(this, qs(proposed), filterFor(code), code ? "c" : "Kvl");
  if (path.isEmpty()) return false;
  return code ? saveCodeAs(path) : saveProgramAs(path);
}

// A name chosen in a dialog: its extension added, then as the file system holds it, so that a
// file whose name is no UTF-8 is saved over, not beside it under a name with U+FFFD in it.
namespace {

std::string chosenFile(const QString& chosen, const char* extension) {
  return nativeFileName(text::extensionOf(chosen.toStdString()).empty() ? chosen + extension : chosen);
}

}  // namespace

bool TfrmMain::saveProgramAs(const QString& chosen) { return saveProgramAs(chosenFile(chosen, kProgramFileExtension)); }

bool TfrmMain::saveProgramAs(const std::string& file) {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur) return false;
  std::string path = file;
  if (text::extensionOf(path).empty()) path += kProgramFileExtension;
  if (ctx_.settings.BuildJob == 2) path = historyName(path, false);
  if (!cur->writeFile(path)) return false;

  const Program& p = cur->program();
  if (!p.isMain()) {
    // Main's calls of this Sub name its file from now on; Main has changed with them.
    const bool changed = nameSubCalls(ctx_.programs.main(), p.index(), text::baseNameOf(path));
    if (TfrmProg* main = prog(0); main && changed) main->subCallNamesChanged();
  }
  cur->setModified(false);
  setFolder(text::folderOf(path));
  rememberRecent(path);
  return true;
}

bool TfrmMain::saveCodeAs(const QString& chosen) { return saveCodeAs(chosenFile(chosen, ".c")); }

bool TfrmMain::saveCodeAs(const std::string& file) {
  TfrmProg* main = prog(0);
  if (!main) return false;
  std::string path = file;
  if (text::extensionOf(path).empty()) path += ".c";
  if (ctx_.settings.BuildJob == 2) path = historyName(path, true);
  std::string out;
  for (const std::string& line : main->codeLines()) out += line + "\r\n";
  Program& p = main->program();
  if (!text::writeFileAtomic(path, text::encodeForFile(out))) {
    p.statusText = "Can't Save ... " + path;
    main->rowsChanged();
    return false;
  }
  p.path = path;
  p.statusText = path;
  p.titleName = text::fileNameOf(path);
  main->refreshTitle();
  main->setModified(false);
  setFolder(text::folderOf(path));
  codeFileTime_ = QFileInfo(qs(path)).lastModified().toMSecsSinceEpoch();
  rememberRecent(path);
  return true;
}

// --- Print --------------------------------------------------------------------------------------

void TfrmMain::mmPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current);
  if (!cur) return;
  printer.setDocName(ProgramPrinter::documentTitle(cur->windowTitle()));
  if (!prompts_->setUpPrinter(this, printer)) return;
  printTo(printer);
}

int TfrmMain::printTo(QPrinter& printer) {
  TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current);
  if (!cur) return 0;
  PrintOptions options;
  options.title = cur->windowTitle();
  options.font = cur->rowView()->buttonFont();
  options.font.setBold(false);
  options.grid = gridOn();
  const ProgramPrinter printer_(bench_->glyphs());
  if (codeStyle()) {
    QStringList lines;
    for (const std::string& l : cur->codeLines()) lines << qs(l);
    options.font = cur->memoCode()->font();
    return printer_.printLines(printer, lines, options);
  }
  return printer_.printProgram(printer, ctx_, cur->number(), options);
}

// --- editing styles -----------------------------------------------------------------------------

void TfrmMain::enterStatementStyle() {
  ctx_.settings.EdtStyle = 0;
  action("mmKavel")->setChecked(true);
  for (const char* name : {"mmGrid", "mmDelQuery", "mmCodeView", "mmSetupButton", "mmExportPicture"}) {
    action(name)->setEnabled(true);
  }
  sidePanel_->show();
  dockSidePanel();
  showToolButton("btnCLib", false);
  dialogs().code()->close();
  if (TfrmProg* main = prog(0)) main->setCodeStyle(false);
  refreshPalette();
}

void TfrmMain::enterCodeStyle() {
  ctx_.settings.EdtStyle = 1;
  action("mmCode")->setChecked(true);
  // The picture shows statement rows; the C-code style has none.
  for (const char* name : {"mmGrid", "mmDelQuery", "mmCodeView", "mmSetupButton", "mmExportPicture"}) {
    action(name)->setEnabled(false);
  }
  action("mmSetupButton")->setChecked(true);
  sidePanel_->hide();
  showToolButton("btnCLib", true);
  setSetupButtonShown(true);
  // The Setup option is disabled in this style, so the edit-style menu is the only way back.
  mnuEditStyleAction_->setVisible(true);
  if (TfrmProg* main = prog(0)) {
    main->setCodeStyle(true);
    writeCodeSkeleton();
  }
  refreshPalette();
}

bool TfrmMain::mainMayLeaveStyle() {
  TfrmProg* main = prog(0);
  if (!main || !main->program().modified) return true;
  // As on closing: Yes saves Main in the style it was written in, No lets its changes go,
  // Cancel keeps everything as it was.
  const QString text =
      qs(closeQuestionText(main->program().caption(), ctx_.messages(41), ctx_.messages.language()));
  switch (prompts_->ask(this, PromptIcon::Question, message(44), text, PromptButtons::YesNoCancel)) {
    case Answer::Yes:
      mdi_->setActiveSubWindow(subWindow(0));
      windows().activate(0);
      mmSaveClick();
      return !main->program().modified;  // the save dialog may have been cancelled
    case Answer::No:
      return true;
    default:
      return false;
  }
}

void TfrmMain::mmKavelClick() {
  if (!codeStyle()) {
    action("mmKavel")->setChecked(true);
    return;
  }
  TfrmProg* main = prog(0);
  if (!mainMayLeaveStyle()) {
    action("mmCode")->setChecked(true);
    return;
  }
  ctx_.programs.current = 0;
  if (main) {
    main->setCodeLines({});
    main->program().path.clear();
    main->clearRows();
  }
  enterStatementStyle();
  if (main) {
    main->setModified(false);
    main->pmPaste()->setEnabled(false);
  }
  ResetSetup(ctx_.io, ctx_.setup, ctx_.settings, ctx_.settings.SetupDef != 0);
  refreshPalette();
  openProgramWindow(0);
}

void TfrmMain::mmCodeClick() {
  if (codeStyle()) {
    action("mmCode")->setChecked(true);
    return;
  }
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    if (TfrmProg* p = prog(n)) p->setCodeViewVisible(false);
  }
  TfrmProg* main = openProgramWindow(0);
  if (main && main->rowCount() > 0 && !mainMayLeaveStyle()) {
    action("mmKavel")->setChecked(true);
    return;
  }
  if (!windows().offerToSaveSubsAbove(0)) {
    action("mmKavel")->setChecked(true);
    return;
  }
  ctx_.programs.current = 0;
  for (int n = ProgramSet::kPrograms - 1; n >= 1; --n) closeProgramWindow(n);
  if (main) {
    main->clearRows();
    main->program().path.clear();
  }
  ResetSetup(ctx_.io, ctx_.setup, ctx_.settings, ctx_.settings.SetupDef != 0);
  enterCodeStyle();
}

void TfrmMain::writeCodeSkeleton() {
  TfrmProg* main = prog(0);
  if (!main) return;
  // A new program is in the editor, not the file it held before: the caption, the header's
  // title and the status panel say so.
  Program& p = main->program();
  p.path.clear();
  p.statusText.clear();
  p.titleName = bench_->nextNewFileName();
  main->refreshTitle();
  CodeBuffer skeleton(CodeTarget::CSourceEditor);
  CodeGenerator(ctx_).WriteCSkeleton(skeleton, 0);  // the header names Main's window
  main->setCodeLines(skeleton.lines());
  main->setModified(false);
  codeFileTime_ = 0;
}

}  // namespace kavel::gui
