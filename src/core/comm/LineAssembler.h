#pragma once
// Cuts the bytes the board sends into lines, byte by byte, the way the receive step of the
// link always has: CR LF ends a line, ETX does with the "ETX" setting, a line never grows past
// 4097 bytes, and a pause longer than RecvTout ends whatever has gathered. A "." while the
// download is sending is an acknowledgement, and the board's "Update?(y/n):" is answered.

#include <functional>
#include <string>
#include <string_view>

#include "core/comm/Clock.h"

namespace kavel {

struct LinkState;

class LineAssembler {
 public:
  /// Longest line kept before it is cut; one more byte completes it.
  static constexpr std::size_t kLineLimit = 4096;

  struct Sinks {
    /// A completed line (raw bytes, never empty).
    std::function<void(const std::string&)> line;
    /// The board asked "Update?(y/n)": the link must send the single byte "y" now.
    std::function<void()> answerUpdate;
  };

  /// `recvDelimiterCode` as RecvDelimiterCode gives it; `recvTout` in milliseconds.
  LineAssembler(int recvDelimiterCode, int recvTout);

  /// Empties the buffer and starts the idle time from `now` (a port was just opened).
  void start(Millis now);

  /// Handles bytes that arrived at `now`. Reads the download marks of `state` and sets its
  /// AckFlag (a "." while sending) and its download state (the "Update?(y/n)" answer). The sinks
  /// run in the order the bytes arrived, and a sink may change `state` before the next byte.
  void feed(std::string_view bytes, Millis now, LinkState& state, const Sinks& sinks);

  /// The idle cut: when more than RecvTout ms passed since the last byte, hands on what has
  /// gathered (if anything) and restarts the idle time.
  void tick(Millis now, const Sinks& sinks);

  /// When `tick` can next cut a line; kNoDeadline while the buffer is empty.
  Millis nextDeadline() const;

  const std::string& pending() const { return buffer_; }

 private:
  void complete(const Sinks& sinks);

  int delimiterCode_;
  int recvTout_;
  std::string buffer_;
  Millis lastByte_ = 0;
};

}  // namespace kavel
