#pragma once
// Waiting for the board's answer without waiting: started with a time limit, then asked on
// every event whether the answer came, the time ran out, or it is still open.

#include "core/comm/Clock.h"

namespace kavel {

class WaitAck {
 public:
  enum class Status { Waiting, Acked, TimedOut };

  /// Starts a wait of `timeoutMs` at `now`. Does not clear AckFlag: callers clear it before
  /// they send.
  void start(Millis now, int timeoutMs) {
    deadline_ = now + timeoutMs;
    running_ = true;
  }
  /// Acked as soon as `ackFlag` is set; TimedOut once more than the time has passed.
  Status poll(Millis now, bool ackFlag) {
    if (!running_) return Status::TimedOut;
    if (ackFlag) {
      running_ = false;
      return Status::Acked;
    }
    if (now > deadline_) {
      running_ = false;
      return Status::TimedOut;
    }
    return Status::Waiting;
  }
  /// When `poll` must be asked again at the latest.
  Millis nextDeadline() const { return running_ ? deadline_ + 1 : kNoDeadline; }
  bool running() const { return running_; }

 private:
  Millis deadline_ = 0;
  bool running_ = false;
};

}  // namespace kavel
