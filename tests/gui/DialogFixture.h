#pragma once
// What the dialog tests share: a context with both message files loaded and the glyphs of the
// program folder.

#include <QString>

#include "core/Context.h"
#include "gui/app/Glyphs.h"

namespace kavel::test {

struct DialogFixture {
  Context ctx;
  gui::Glyphs glyphs{QStringLiteral(KAVEL_BIN_DIR)};

  DialogFixture() {
    ctx.messages.load(0, KAVEL_SOURCE_DIR "/data/Japanese.Txt");
    ctx.messages.load(1, KAVEL_SOURCE_DIR "/data/English.Txt");
    ctx.messages.setLanguage(1);
  }

  /// The edit buffer as the program window prepares it before opening a dialog.
  void edit(int sno, int cno, int val0 = 0, int val1 = 0, int val2 = 0, std::string cmt = {}) {
    ctx.edit = Statement{};
    ctx.edit.sno = sno;
    ctx.edit.cno = cno;
    ctx.edit.val0 = val0;
    ctx.edit.val1 = val1;
    ctx.edit.val2 = val2;
    ctx.edit.cmt = std::move(cmt);
  }
};

}  // namespace kavel::test
