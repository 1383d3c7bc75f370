#include "core/model/ProgramFileCheck.h"

#include <sys/stat.h>

#include "core/i18n/MessageTable.h"
#include "core/model/ProgramSet.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

using Verdict = ProgramFileCheck::Verdict;

ProgramFileCheck refuse(Verdict v, std::string reason) { return {v, std::move(reason), 0}; }

}  // namespace

ProgramFileCheck checkProgramFile(const std::string& path, const ProgramFileContext& context) {
  // A trial read on copies of everything the reader changes.
  AppSettings settings = context.settings;
  IoSetup io = context.io;
  SetupRecord setup = context.setup;
  ProgramFileContext trial{settings, io, setup, context.messages, context.mainWindowTitle};
  Program scratch;
  const ProgramFileResult r = readProgramFile(scratch, path, trial);
  switch (r.outcome) {
    case ProgramFileOutcome::Read:
    case ProgramFileOutcome::Declined:
      return {};
    case ProgramFileOutcome::CannotOpen:
      return refuse(Verdict::CannotOpen, {});
    case ProgramFileOutcome::NotProgram:
      return refuse(Verdict::NotProgram, r.error);
    case ProgramFileOutcome::Damaged:
      return {Verdict::Damaged, r.error, scratch.size()};
  }
  return {};
}

ProgramFileCheck checkCodeFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!text::readFileBytes(path, bytes, &error, kMaxProgramFileBytes)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return refuse(Verdict::CannotOpen, {});
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > kMaxProgramFileBytes) {
      return refuse(Verdict::NotProgram, text::fileNameOf(path) + " is too large to be a Kavel program file.");
    }
    if (!S_ISREG(st.st_mode)) return refuse(Verdict::NotProgram, error);
    return refuse(Verdict::CannotOpen, {});
  }
  if (bytes.find('\0') != std::string::npos) {
    return refuse(Verdict::NotProgram,
                  text::fileNameOf(path) + " holds binary data; it is not a Kavel program file.");
  }
  return {};
}

}  // namespace kavel
