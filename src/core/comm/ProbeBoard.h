#pragma once
// The automatic search for the board: opens the configured port and then each candidate,
// asks "Ver", and gives each port 200 ms to answer with one of the boards' names. A step
// machine on the owner's event loop; the port is closed again when it ends.

#include <string>
#include <vector>

#include "core/comm/Clock.h"
#include "core/comm/SerialOpenError.h"
#include "core/comm/WaitAck.h"

namespace kavel {

class LinkReceiver;
class RS232C;
struct AppSettings;
struct LinkState;

class ProbeBoard {
 public:
  enum class Status { Running, Found, NotFound };
  static constexpr int kAnswerTime = 200;  // ms a port has to answer "Ver"

  ProbeBoard(RS232C& port, LinkReceiver& receiver, LinkState& state, AppSettings& settings);

  /// Sets ProbeMode, keeps a copy of the serial settings, clears AckFlag and ReportOpenErrors.
  /// The configured PortName is tried first, then each of `candidates` not tried yet.
  void start(Millis now, std::vector<std::string> candidates);

  /// Advances by at most one port. Found: AckFlag is set and PortName names the port that
  /// answered; NotFound: the settings are as before. Either way the port is closed, ProbeMode
  /// cleared, ReportOpenErrors set. Clearing ProbeMode or setting ReportOpenErrors from outside
  /// while it runs cancels the search (NotFound).
  Status step(Millis now);

  Millis nextDeadline() const;
  /// The port being tried (the first status panel shows it while searching).
  const std::string& currentPort() const { return current_; }
  /// PortName followed by ":OK" or ":NG", for the status panel at the end.
  std::string resultText() const;
  /// Why the last port that could not be opened failed (None when every port opened).
  const OpenResult& lastOpenFailure() const { return lastFailure_; }
  /// What a console command says when the search found nothing on `portName`: why the port
  /// would not open, or that no board answered (English).
  std::string notFoundDetail(const std::string& portName) const;

 private:
  Status finish(bool found);

  RS232C& port_;
  LinkReceiver& receiver_;
  LinkState& state_;
  AppSettings& settings_;
  std::vector<std::string> ports_;
  std::size_t next_ = 0;
  std::string current_;
  std::string answered_;
  bool waiting_ = false;
  bool running_ = false;
  bool found_ = false;
  WaitAck wait_;
  OpenResult lastFailure_;

  struct SerialCopy {
    std::string PortName, Parity__, SendHead, SendDlmt, RecvHead, RecvDlmt;
    int BaudRate, ByteSize, StopBits, RecvTout, SendTout, Ack_Tout;
    bool RTS_Cont;
  } saved_{};
};

}  // namespace kavel
