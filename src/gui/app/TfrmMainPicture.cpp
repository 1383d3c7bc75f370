// The main window's Export Picture command: the current program's rows as a PNG or SVG file.

#include <QAction>

#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/ProgramPicture.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/text/TextFile.h"

namespace kavel::gui {

void TfrmMain::mmExportPictureClick() {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur || codeStyle()) return;
  const Program& p = cur->program();
  std::string proposed = p.path.empty() ? ctx_.settings.DatPath_ + p.titleName : p.path;
  proposed.resize(proposed.size() - text::extensionOf(proposed).size());
  const QString path = prompts_->saveFileName(this, qs(proposed),
                                              QStringLiteral("PNG (*.png);;SVG (*.svg)"), QStringLiteral("png"));
  if (path.isEmpty()) return;
  exportPictureTo(path);
}

bool TfrmMain::exportPictureTo(const QString& path) {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur) return false;
  PictureRows rows;
  rows.rows = &cur->program().rows();
  for (int r = 0; r < static_cast<int>(cur->program().size()); ++r) rows.texts << cur->rowText(r);
  rows.workspace = cur->workspaceColour();
  rows.grid = gridOn();
  std::string error;
  if (ProgramPicture(cur->rowView()->rowPainter()).write(path, rows, &error)) return true;
  prompts_->ask(this, PromptIcon::Warning, message(44), message(154) + QStringLiteral("\n\n") + qs(error),
                PromptButtons::Ok);
  return false;
}

}  // namespace kavel::gui
