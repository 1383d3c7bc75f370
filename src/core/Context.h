#pragma once
// The process-wide records of the system, owned once (by main) and handed down by reference.
// Tests make their own.

#include <vector>

#include "i18n/MessageTable.h"
#include "model/ProgramSet.h"
#include "model/Statement.h"
#include "settings/AppSettings.h"
#include "setup/IoSetup.h"

namespace kavel {

struct Context {
  AppSettings settings;
  IoSetup io;
  SetupRecord setup;
  ProgramSet programs;
  EditBuffer edit;
  std::vector<Statement> clipboard;  // rows cut or copied, shared by all program windows
  MessageTable messages;
};

}  // namespace kavel
