#pragma once
// Why a serial port could not be opened, with what the user can do about it.

#include <string>

namespace kavel {

enum class OpenFailure {
  None,
  NotFound,     // no such device
  Permission,   // the user may not open the device (its group, or only its owner may)
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
  std::string owner;    // Permission: the device's owner
  int mode = -1;        // Permission: the device's permission bits (0660), -1 when unknown
  std::string setting;  // Settings: the setting the device refused ("BaudRate 76800")
  std::string system;   // the system's own wording of the error
};

/// The warning shown for a failed open in `language` (0 Japanese, else English), with
/// `portName` in it: the "select another port" wording when the communication settings dialog
/// caused the open, else the "check the cable" wording; followed by a line that says what
/// failed on this machine and what to do (join the group and log in again, close the other
/// program); a device whose group may not open it is described by its owner and mode.
std::string openFailureText(const OpenResult& result, const std::string& portName, int language, bool fromSettings);

/// The line that explains `result` alone (no port wording), in `language`.
std::string openFailureDetail(const OpenResult& result, int language);

/// The box text of a link that broke off (a cable pulled, the board switched off).
std::string disconnectedText(const std::string& portName, int language);

/// The caption of that box: "Confirm" / "確認".
std::string disconnectedCaption(int language);

}  // namespace kavel
