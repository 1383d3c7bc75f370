#pragma once
// The two 1000-row programs the save-loop helper writes in turn, shared with the test that
// kills it so both know the exact bytes of each complete file.

#include <string>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

namespace kavel::testing {

inline Program saveLoopProgram(int variant) {
  Program p;
  for (int i = 0; i < 1000; ++i) {
    Statement s;
    s.sno = s.cno = kWait;
    s.val0 = variant * 1000 + i % 1000;
    // Japanese and half-width katakana, so both encodings' paths are in play.
    s.cmt = variant == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 row " + std::to_string(i)
                         : "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD " + std::to_string(i);
    p.appendRow(s);
  }
  return p;
}

inline ProgramFileContext saveLoopContext(Context& ctx) {
  return ProgramFileContext{ctx.settings, ctx.io, ctx.setup, ctx.messages, "Kavel  [ Ver.20190706 ]"};
}

/// The bytes of the file that saving program `variant` to `path` leaves.
inline std::string saveLoopBytes(int variant, const std::string& path) {
  Context ctx;
  Program p = saveLoopProgram(variant);
  p.titleName = text::baseNameOf(path);
  return text::encodeForFile(programFileText(p, saveLoopContext(ctx)));
}

}  // namespace kavel::testing
