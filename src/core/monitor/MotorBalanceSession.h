#pragma once
// The motor balance window's talk with the board: "B:?" or a save, then up to 500 ms for the
// board's "B:" answer. A step machine on the link; the answer or its absence comes out as an
// event.

#include <deque>
#include <optional>
#include <string>

#include "core/comm/BoardLink.h"
#include "core/monitor/MotorBalance.h"

namespace kavel {

class MotorBalanceSession final : public LinkClient {
 public:
  enum class EventKind {
    Reply,          // `reply` the board's values
    AnswerMissing,  // no "B:" answer within 500 ms
  };
  struct Event {
    EventKind kind;
    BalanceReply reply;
  };

  explicit MotorBalanceSession(BoardLink& link);

  /// The window shows: "B:" lines are its own until `close`.
  void open();
  void close();
  /// Asks for the stored values ("B:?").
  void read();
  /// Sends the track bar position and the third setting.
  void save(int position, int third);
  /// A question waits for its answer.
  bool waiting() const { return waiting_; }

  std::optional<Event> takeEvent();

  void lineRouted(const LineRoute& route, Millis now) override;
  void linkBroken(Millis now) override;
  void advance(Millis now) override;
  Millis nextDeadline() const override;

 private:
  void ask(const std::string& command);

  BoardLink& link_;
  bool waiting_ = false;
  Millis deadline_ = kNoDeadline;
  std::deque<Event> events_;
};

}  // namespace kavel
