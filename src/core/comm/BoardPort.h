#pragma once
// What the link needs of a serial port: open and close the port the settings name, write raw
// bytes, read what has arrived, and say whether the board holds CTS. RS232C is the port of a
// real device or pseudo-terminal; tests put a virtual board behind a stand-in. Nothing here
// waits for the board.

#include <string>
#include <string_view>

#include "core/comm/SerialOpenError.h"

namespace kavel {

enum class SendStatus {
  Sent,
  NotOpen,
  LineError,  // the port reported an error or hang-up: nothing was written
  CtsHold,    // RTS control is on and the board holds CTS: the text waits (BoardLink) or was not written (RS232C)
  WriteFailed,
};

enum class ReadStatus { Data, Nothing, LineError };

class BoardPort {
 public:
  virtual ~BoardPort() = default;

  /// Closes the port if open, then opens the one the settings name with their line settings.
  /// On failure the result says why; nothing is shown.
  virtual OpenResult OpenPort() = 0;
  /// Drops the modem lines and closes the port; nothing when it is not open.
  virtual void ClosePort() = 0;
  virtual bool isOpen() const = 0;
  /// The descriptor a readiness wait watches; -1 when closed or when the port has none.
  virtual int descriptor() const = 0;

  /// Writes `bytes` as they are, after testing the port for errors.
  virtual SendStatus SendBytes(std::string_view bytes) = 0;
  /// Appends what the port holds to `out` without waiting. LineError when the other end hung
  /// up or the port failed (bytes read before that are still appended).
  virtual ReadStatus readAvailable(std::string& out) = 0;
  /// True when RTS control is on and the board holds CTS low.
  virtual bool ctsHolds() const = 0;
};

}  // namespace kavel
