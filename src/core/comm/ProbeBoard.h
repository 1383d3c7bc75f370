#pragma once
// The automatic search for the board: opens the configured port and then each candidate,
// asks "Ver", and gives each port 200 ms to answer with one of the boards' names. A step
// machine inside a session: its owner hands it the link's lines and calls `step`.

#include <string>
#include <vector>

#include "core/comm/Clock.h"
#include "core/comm/SerialOpenError.h"
#include "core/comm/WaitAck.h"

namespace kavel {

class BoardLink;
struct LineRoute;

class ProbeBoard {
 public:
  enum class Status { Running, Found, NotFound };
  static constexpr int kAnswerTime = 200;  // ms a port has to answer "Ver"

  explicit ProbeBoard(BoardLink& link);

  /// Sets ProbeMode, keeps a copy of the serial settings, clears AckFlag and ReportOpenErrors.
  /// The configured PortName is tried first, then each of `candidates` not tried yet. With
  /// `keepOpen` the port where a board answered stays open and receiving, so that the caller
  /// goes on without opening it a second time.
  void start(Millis now, std::vector<std::string> candidates, bool keepOpen = false);

  /// Advances by at most one port. Found: AckFlag is set and PortName names the port that
  /// answered; NotFound: the settings are as before. Either way ProbeMode is cleared and
  /// ReportOpenErrors set, and the port is closed unless the board was found with `keepOpen`.
  /// Clearing ProbeMode or setting ReportOpenErrors from outside while it runs cancels the
  /// search (NotFound, `cancelled`).
  Status step(Millis now);
  /// Every line the link routed while the search runs.
  void lineRouted(const LineRoute& route);

  bool running() const { return running_; }
  bool cancelled() const { return cancelled_; }
  Millis nextDeadline() const;
  /// The port being tried (the first status panel shows it while searching).
  const std::string& currentPort() const { return current_; }
  /// PortName followed by ":OK" or ":NG", for the status panel at the end.
  std::string resultText() const;
  /// Why the last port that could not be opened failed (None when every port opened).
  const OpenResult& lastOpenFailure() const { return lastFailure_; }
  /// The first line a port answered "Ver" with that named none of the boards (another
  /// product, another device); empty when none came.
  const std::string& otherAnswer() const { return otherAnswer_; }
  /// What the search found on `portName` when it found no board, in `language` (0 Japanese,
  /// else English): what answered instead, why the port would not open, or that nothing
  /// answered.
  std::string notFoundDetail(const std::string& portName, int language = 1) const;

 private:
  Status finish(bool found);

  BoardLink& link_;
  std::vector<std::string> ports_;
  std::size_t next_ = 0;
  std::string current_;
  std::string answered_;
  std::string otherAnswer_;
  bool waiting_ = false;
  bool sendHeld_ = false;  // "Ver" waits for CTS
  bool running_ = false;
  bool found_ = false;
  bool keepOpen_ = false;
  bool cancelled_ = false;
  WaitAck wait_;
  OpenResult lastFailure_;

  struct SerialCopy {
    std::string PortName, Parity__, SendHead, SendDlmt, RecvHead, RecvDlmt;
    int BaudRate, ByteSize, StopBits, RecvTout, SendTout, Ack_Tout;
    bool RTS_Cont;
  } saved_{};
};

}  // namespace kavel
