#include "gui/app/AutoSave.h"

#include <cstdlib>

#include "gui/app/ProgramWindows.h"
#include "gui/app/Workbench.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramSet.h"
#include "core/text/Encoding.h"

namespace kavel::gui {

int AutoSave::intervalMs() {
  if (const char* env = std::getenv("KAVEL_AUTOSAVE_MS")) {
    char* end = nullptr;
    const long ms = std::strtol(env, &end, 10);
    if (end != env && *end == '\0' && ms > 0 && ms <= 24L * 3600 * 1000) return static_cast<int>(ms);
  }
  return 60 * 1000;
}

AutoSave::AutoSave(Workbench& bench, Context& ctx, const std::string& iniPath, QObject* parent)
    : QObject(parent), bench_(bench), ctx_(ctx), folder_(recoveryFolderFor(iniPath)) {
  timer_.setInterval(intervalMs());
  connect(&timer_, &QTimer::timeout, this, &AutoSave::saveNow);
  connect(&bench_, &Workbench::programModified, this, &AutoSave::programChanged);
  timer_.start();
}

RecoveryFile AutoSave::copyOf(int number) const {
  const TfrmProg* prog = bench_.windows().prog(number);
  RecoveryFile file;
  file.window = number;
  file.originalPath = prog->program().path;
  if (prog->codeStyle()) {
    file.content = RecoveryFile::Content::CCode;
    std::string lines;
    for (const std::string& line : prog->codeLines()) lines += line + "\r\n";
    file.text = text::encodeForFile(lines);
  } else {
    file.text = text::encodeForFile(programFileText(prog->program(), bench_.fileContext()));
  }
  return file;
}

void AutoSave::saveNow() {
  lastError_.clear();
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    const TfrmProg* prog = bench_.windows().prog(n);
    if (!prog || !prog->program().modified) {
      if (written_.erase(n) > 0) folder_.remove(n);
      continue;
    }
    const RecoveryFile file = copyOf(n);
    const auto last = written_.find(n);
    if (last != written_.end() && last->second == file.text) continue;
    std::string error;
    if (folder_.save(file, &error)) {
      written_[n] = file.text;
    } else {
      // The next tick tries again; the session goes on either way.
      lastError_ = error;
    }
  }
}

void AutoSave::programChanged(int number) {
  const TfrmProg* prog = bench_.windows().prog(number);
  if (prog && prog->program().modified) return;
  if (written_.erase(number) > 0) folder_.remove(number);
}

void AutoSave::closeNormally() {
  timer_.stop();
  written_.clear();
  folder_.removeAll();
}

}  // namespace kavel::gui
