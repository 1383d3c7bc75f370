// The main window's offer, at start, to restore what a crashed or killed session left.

#include <QMdiSubWindow>

#include "gui/app/AutoSave.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/app/Workbench.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramSet.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
namespace {

// "Main - [ robot ]  (/home/.../robot.Kvl)": the window the copy came from and its own file.
QString describe(const RecoveryFile& file) {
  Program named(file.window);
  if (!file.originalPath.empty()) named.titleName = text::baseNameOf(file.originalPath);
  QString line = qs(named.caption());
  if (!file.originalPath.empty()) line += QStringLiteral("  (") + qs(file.originalPath) + QStringLiteral(")");
  return line;
}

}  // namespace

void TfrmMain::offerRecovery() {
  RecoveryFolder& folder = autoSave_->folder();
  const std::vector<RecoveryFolder::Orphan> orphans = folder.claimOrphans();
  std::vector<const RecoveryFolder::Orphan*> restorable, damaged;
  QStringList lines, refused;
  for (const auto& o : orphans) {
    const QString window = qs(recoveryWindowName(o.window));
    switch (o.read.verdict) {
      case RecoveryRead::Verdict::Ok:
        restorable.push_back(&o);
        lines << QStringLiteral("    ") + describe(o.read.file);
        break;
      case RecoveryRead::Verdict::Damaged:
        damaged.push_back(&o);
        refused << QStringLiteral("    ") + window + QStringLiteral(": ") + message(137);
        break;
      case RecoveryRead::Verdict::OtherVersion:
        // Left in place: the version that wrote it can still restore it.
        refused << QStringLiteral("    ") + window + QStringLiteral(": ") + message(153);
        break;
    }
  }
  if (restorable.empty() && damaged.empty()) return;  // nothing, or only other versions' copies

  bool restore = false;
  if (restorable.empty()) {
    prompts_->ask(this, PromptIcon::Warning, message(44), refused.join(QLatin1Char('\n')), PromptButtons::Ok);
  } else {
    QString text = message(103) + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
    if (!refused.isEmpty()) text += QStringLiteral("\n\n") + refused.join(QLatin1Char('\n'));
    restore = prompts_->ask(this, PromptIcon::Question, message(44), text, PromptButtons::YesNo) == Answer::Yes;
  }
  // Ended by a signal while the question waited: nobody answered, the copies wait for the next start.
  if (ending_) return;
  for (const auto* o : restorable) {
    // A copy that cannot be put back stays for the next start rather than being lost.
    if (restore && !restoreRecovered(o->read.file)) continue;
    folder.discard(*o);
  }
  for (const auto* o : damaged) folder.discard(*o);
  // Restored programs are modified: their copies start again at the next tick.
  if (restore) autoSave_->saveNow();
}

bool TfrmMain::restoreRecovered(const RecoveryFile& file) {
  if (!ProgramSet::isValidIndex(file.window)) return false;
  const bool code = file.content == RecoveryFile::Content::CCode;
  if (code != codeStyle()) {
    // Nothing has been changed yet this session, so the style switches without questions.
    ctx_.programs.current = 0;
    for (int n = ProgramSet::kPrograms - 1; n >= 1; --n) closeProgramWindow(n);
    if (TfrmProg* main = prog(0)) main->clearRows();
    if (code) {
      enterCodeStyle();
    } else {
      if (TfrmProg* main = prog(0)) main->setCodeLines({});
      enterStatementStyle();
    }
  }
  if (code && file.window != 0) return false;
  TfrmProg* target = openProgramWindow(file.window);
  if (!target) return false;
  Program& p = target->program();
  if (code) {
    std::vector<std::string> lines;
    const std::string decoded = text::decodeFile(file.text);
    std::size_t start = 0;
    while (start <= decoded.size()) {
      std::size_t end = decoded.find('\n', start);
      if (end == std::string::npos) end = decoded.size();
      std::string line = decoded.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (end == decoded.size() && line.empty()) break;
      lines.push_back(std::move(line));
      start = end + 1;
    }
    target->setCodeLines(lines);
    p.path = file.originalPath;
    p.statusText = file.originalPath;
    p.titleName = file.originalPath.empty() ? p.titleName : text::fileNameOf(file.originalPath);
  } else {
    ProgramFileContext context = bench_->fileContext();
    const ProgramFileResult r =
        readProgramText(p, file.text, file.originalPath, context, windows().fileHooks(*target));
    if (!r.ok) {
      target->rowsChanged();
      return false;
    }
    if (file.originalPath.empty()) {
      // A program never saved comes back as new: Save asks for its name.
      p.path.clear();
      p.titleName = file.window == 0 ? bench_->nextNewFileName() : text::format("SubFile-%02d", file.window);
      p.statusText.clear();
    } else {
      p.path = file.originalPath;
    }
    target->rowsChanged();
  }
  target->refreshTitle();
  target->setModified(true);
  refreshPalette();
  modifiedChanged();
  return true;
}

}  // namespace kavel::gui
