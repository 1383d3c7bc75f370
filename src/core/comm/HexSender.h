#pragma once
// Sends a HEX image to the boot loader one record at a time: a pause of SendTout before each
// line, then the line, then up to AckTout for the loader's ".". A step machine: the owner asks
// it what to do next whenever something happened or its deadline passed.

#include <string>

#include "core/comm/Clock.h"
#include "core/comm/HexFile.h"
#include "core/comm/Pause.h"
#include "core/comm/WaitAck.h"

namespace kavel {

struct LinkState;

class HexSender {
 public:
  enum class Step {
    Idle,      // nothing to do before `nextDeadline`
    Send,      // send `line()` with SendText now, then call `sent`
    Finished,  // the end record was acknowledged
    Failed,    // AbortFlag or the cancel request stopped the transfer
  };

  HexSender(const HexFile& image, int sendTout, int ackTout);

  /// Starts with the first record at `now`; clears AbortFlag.
  void start(Millis now, LinkState& state);

  /// What to do now. Reads AckFlag, AbortFlag and the cancel request of `state`; sets
  /// AbortFlag on an acknowledgement time-out ("Ack Tout!"), and the cancel request whenever
  /// AbortFlag is set. A board that reports an error while a line waits for its "." stops the
  /// transfer at once instead of after the time-out.
  Step step(Millis now, LinkState& state);

  /// The owner sent `line()` (true) or could not (false: the transfer fails).
  void sent(Millis now, LinkState& state, bool ok);

  /// The line to send when `step` said Send; also what "Hex Disp" shows.
  const std::string& line() const;
  Millis nextDeadline() const;

  int recordIndex() const { return index_; }             // records acknowledged so far
  int recordCount() const { return static_cast<int>(image_.records.size()); }
  std::size_t position() const { return position_; }    // file position reached (progress)
  std::size_t fileSize() const { return image_.fileSize; }
  /// The highest load address so far as " 0x%04X"; empty while it is 0.
  const std::string& highestAddressText() const { return addressText_; }
  bool ackTimedOut() const { return ackTimedOut_; }
  int ackTimeout() const { return ackTout_; }

 private:
  enum class Phase { Pausing, Sending, Waiting, Done, Stopped };
  Step finishLine(LinkState& state);

  const HexFile& image_;
  int sendTout_;
  int ackTout_;
  Phase phase_ = Phase::Done;
  int index_ = 0;
  std::size_t position_ = 0;
  int highest_ = 0;
  std::string addressText_;
  bool ackTimedOut_ = false;
  Pause pause_;
  WaitAck wait_;
};

}  // namespace kavel
