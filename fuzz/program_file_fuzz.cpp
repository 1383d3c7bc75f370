// The program file reader on any bytes, then what it read through the row texts, the code view
// and a write/read round trip.

#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "core/Context.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "core/model/RowText.h"
#include "core/text/TextFile.h"

using namespace kavel;

namespace {

// A comment read from a file holds no line end (a CR alone ends a line as well) and no NUL (a
// file with one is refused); one set by a window may, and the writer makes them blanks. A
// comment longer than a line can hold is cut to whole characters.
std::string written(std::string cmt) {
  for (char& c : cmt) {
    if (c == '\r' || c == '\0') c = ' ';
  }
  if (cmt.size() > 450) {
    std::size_t cut = 450;
    while (cut > 0 && (static_cast<unsigned char>(cmt[cut]) & 0xC0) == 0x80) --cut;
    cmt.resize(cut);
  }
  return cmt;
}

bool sameRows(const Program& a, const Program& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Statement& x = a.rows()[i];
    const Statement& y = b.rows()[i];
    if (x.sno != y.sno || x.cno != y.cno || x.val0 != y.val0 || x.val1 != y.val1 || x.val2 != y.val2 ||
        written(x.cmt) != y.cmt) {
      return false;
    }
  }
  return true;
}

// Rows whose values or kinds do not fit their columns, or whose written line is longer than
// the reader's line buffer, cannot come back unchanged; the format says so.
bool writable(const std::string& bytes, const Program& p) {
  for (const Statement& s : p.rows()) {
    for (int v : {s.val0, s.val1, s.val2}) {
      if (v < -99999 || v > 999999) return false;
    }
    for (int k : {s.sno, s.cno}) {
      if (k < 0 || k > 99) return false;
    }
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    if (end - start >= 512) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::inputFile("in.Kvl", data, size);
  Context ctx;
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, "Kavel  [ Ver.20190706 ]"};
  Program& main = ctx.programs.main();
  const ProgramFileResult r = readProgramFile(main, in, fc);
  fuzz::require(main.size() <= Program::kMaxRows);
  // A file not read whole says where and why, and the program no longer passes for it.
  if (r.outcome == ProgramFileOutcome::Damaged) fuzz::require(!r.error.empty() && r.stoppedAt > 0 && main.modified);
  if (r.outcome == ProgramFileOutcome::NotProgram) fuzz::require(!r.error.empty() && main.size() == 0);
  if (!r.ok) return 0;

  const RowTextContext rt = rowTextContextOf(ctx, 0);
  for (const Statement& s : main.rows()) (void)composeRowText(s, rt);

  CodeGenerator generator(ctx);
  CodeBuffer view(CodeTarget::CodeView);
  generator.GenerateCode(view);

  const std::string out = fuzz::scratchFolder() + "out.Kvl";
  Program copy = main;
  fuzz::require(writeProgramFile(copy, out, fc));
  std::string written;
  fuzz::require(text::readFileBytes(out, written));
  Program back;
  Context ctx2;
  ProgramFileContext fc2{ctx2.settings, ctx2.io, ctx2.setup, ctx2.messages, "Kavel  [ Ver.20190706 ]"};
  fuzz::require(readProgramFile(back, out, fc2).ok);
  if (writable(written, main)) fuzz::require(sameRows(main, back));
  return 0;
}
