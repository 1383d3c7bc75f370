#pragma once
// The process-wide records of the system, owned once (by main) and handed down by reference.
// Tests make their own.

#include <vector>

#include "core/i18n/MessageTable.h"
#include "core/model/ProgramSet.h"
#include "core/model/RowText.h"
#include "core/model/Statement.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"

namespace kavel {

/// The program windows' view options of the Option menu; they last for one run.
struct EditorOptions {
  bool grid = false;         // the layout grid behind the rows
  bool deleteQuery = true;   // ask before deleting a block
  bool lineNumbers = true;   // row numbers in front of the rows
};

struct Context {
  AppSettings settings;
  IoSetup io;
  SetupRecord setup;
  ProgramSet programs;
  EditBuffer edit;
  std::vector<Statement> clipboard;  // rows cut or copied, shared by all program windows
  MessageTable messages;
  EditorOptions options;
};

/// What the row texts of program `program` depend on: language, connector modes, compass flag
/// and the time unit (message 126).
inline RowTextContext rowTextContextOf(const Context& ctx, int program) {
  RowTextContext rt;
  rt.language = ctx.messages.language();
  rt.currentProgram = program;
  rt.cnMode = ctx.io.cnMode;
  rt.useHmc = ctx.io.useHmc;
  rt.timeUnit = ctx.messages(126);
  return rt;
}

}  // namespace kavel
