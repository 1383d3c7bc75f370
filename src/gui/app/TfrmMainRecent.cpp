// The main window's Recent submenu: the last eight program files opened or saved.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/TfrmProg.h"
#include "core/text/TextFile.h"

namespace kavel::gui {

void TfrmMain::rememberRecent(const std::string& path) {
  recent_.add(path);
  // Kept at once, so the list survives a crash; a settings file that cannot be written costs
  // the list, never the file that was opened or saved.
  recent_.saveTo(options_.iniPath);
}

void TfrmMain::mmRecentShow() {
  mnuRecent_->clear();
  int number = 1;
  for (const std::string& file : recent_.files()) {
    const QString path = qs(file);
    const bool exists = QFileInfo(path).isFile();
    // A C file belongs to the C-code style, a program file to the statement style.
    const bool fitsStyle = (text::extensionOf(file) == ".c") == codeStyle();
    QString caption = QStringLiteral("&%1  %2").arg(number++).arg(QDir::toNativeSeparators(path));
    if (!exists) caption += QStringLiteral("  ") + message(157);
    QAction* a = mnuRecent_->addAction(caption);
    a->setObjectName(QStringLiteral("mmRecentFile%1").arg(number - 1));
    a->setData(path);
    a->setEnabled(exists && fitsStyle);
    connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
  }
  if (recent_.files().empty()) {
    mnuRecent_->addAction(message(159))->setEnabled(false);
    return;
  }
  mnuRecent_->addSeparator();
  QAction* clear = mnuRecent_->addAction(message(158));
  clear->setObjectName(QStringLiteral("mmRecentClear"));
  connect(clear, &QAction::triggered, this, [this] {
    recent_.clear();
    recent_.saveTo(options_.iniPath);
  });
}

void TfrmMain::openRecent(const QString& path) {
  TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current);
  if (!cur) return;
  if (cur->program().modified &&
      prompts_->ask(this, PromptIcon::Question, message(44), message(43), PromptButtons::YesNo) != Answer::Yes) {
    return;
  }
  if (codeStyle()) {
    openCodeFile(path);
  } else {
    openProgramFile(path);
  }
}

}  // namespace kavel::gui
