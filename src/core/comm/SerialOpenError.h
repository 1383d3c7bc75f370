#pragma once
// Why a serial port could not be opened, with what the user can do about it.

#include <string>

namespace kavel {

enum class OpenFailure {
  None,
  NotFound,     // no such device
  Permission,   // the user lacks the device's group
  InUse,        // another program holds the port
  NotSerial,    // the path is not a terminal device
  Settings,     // the device refused the line settings
  Other,
};

struct OpenResult {
  bool ok = false;
  OpenFailure failure = OpenFailure::None;
  std::string device;   // the path that was opened
  std::string group;    // Permission: the device's group ("dialout")
  std::string system;   // the system's own wording of the error
};

/// The warning shown for a failed open in `language` (0 Japanese, else English), with
/// `portName` in it: the "select another port" wording when the communication settings dialog
/// caused the open, else the "check the cable" wording; followed by a line that says what
/// failed on this machine and what to do (join the group and log in again, close the other
/// program).
std::string openFailureText(const OpenResult& result, const std::string& portName, int language, bool fromSettings);

/// The line that explains `result` alone (no port wording), in `language`.
std::string openFailureDetail(const OpenResult& result, int language);

/// The box text of a link that broke off (a cable pulled, the board switched off).
std::string disconnectedText(const std::string& portName, int language);

/// The caption of that box: "Confirm" / "確認".
std::string disconnectedCaption(int language);

}  // namespace kavel
