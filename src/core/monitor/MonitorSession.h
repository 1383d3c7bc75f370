#pragma once
// The sensor monitor without a window, for the console: find the board with "Ver", open the
// port, ask "Ver" again and wait for the version line, start the sensor stream with "S0:1",
// hand on every report (configuration lines update the connector modes), and on `stop` send
// the closing sequence that leaves the board at rest. A step machine on the owner's event
// loop like DownloadSession: the owner calls `poll` when the port is readable or
// `nextDeadline` has come; nothing here waits.

#include <functional>
#include <string>
#include <vector>

#include "core/comm/Clock.h"
#include "core/comm/LinkReceiver.h"
#include "core/comm/Pause.h"
#include "core/comm/ProbeBoard.h"
#include "core/monitor/MonitorCommands.h"
#include "core/monitor/MonitorConfig.h"
#include "core/monitor/MonitorReport.h"

namespace kavel {

class RS232C;
struct AppSettings;
struct LinkState;

class MonitorSession {
 public:
  enum class Outcome {
    Running,
    Done,          // stopped; the closing sequence was sent when the stream had started
    NoBoard,       // the port did not open, no board answered "Ver", or no version line came
    Disconnected,  // the link broke off while monitoring
  };

  struct Options {
    int versionTime = 1000;  // ms from "Ver" on the opened port to the version line
  };

  /// The connector modes are read from (and configuration lines stored into) `io` and
  /// `record`; all references must outlive the session.
  MonitorSession(RS232C& port, LinkState& state, AppSettings& settings, IoSetup& io, SetupRecord& record,
                 Options options);
  MonitorSession(RS232C& port, LinkState& state, AppSettings& settings, IoSetup& io, SetupRecord& record)
      : MonitorSession(port, state, settings, io, record, Options{}) {}

  /// Starts the search for the board on PortName.
  void start(Millis now);
  /// Reads the port and advances; Running until the session has ended. The port is closed
  /// when it ends.
  Outcome poll(Millis now);
  /// Asks the session to end: while the stream runs the closing sequence is sent first (one
  /// command per pause); before that the port is simply closed at the next `poll`.
  void stop(Millis now);
  Millis nextDeadline() const;

  /// The stream was started ("S0:1" sent).
  bool monitoring() const { return monitoring_; }
  bool stopping() const { return stopRequested_; }
  /// Why the session failed, in words for the user (empty otherwise).
  const std::string& message() const { return message_; }
  /// The port's descriptor while open, for the owner's readiness wait.
  int descriptor() const;
  long reportsReceived() const { return reports_; }
  /// Commands sent since `start`, in order (what the board was told).
  const std::vector<std::string>& sent() const { return sent_; }

  /// A connector report, read with the modes in force when it arrived, and its arrival time.
  std::function<void(const MonitorReport&, Millis)> onReport;
  /// A configuration line, after it was stored in the I/O setup.
  std::function<void(const MonitorConfig&)> onConfig;
  /// Every routed board line, for a verbose owner.
  std::function<void(const LineRoute&)> onLine;

 private:
  enum class Phase { Probing, AwaitVersion, Streaming, Closing, Ended };
  Outcome end(Outcome outcome, std::string message);
  bool send(const std::string& command);
  void handleLine(const LineRoute& route);
  Outcome stepClosing(Millis now);

  RS232C& port_;
  LinkState& state_;
  AppSettings& settings_;
  IoSetup& io_;
  SetupRecord& record_;
  Options options_;
  LinkReceiver receiver_;
  ProbeBoard probe_;
  Phase phase_ = Phase::Ended;
  Outcome outcome_ = Outcome::Running;
  Millis now_ = 0;
  Millis deadline_ = kNoDeadline;
  bool versionSeen_ = false;
  bool broken_ = false;
  bool monitoring_ = false;
  bool stopRequested_ = false;
  std::vector<TimedCommand> closing_;
  std::size_t nextClosing_ = 0;
  Pause pause_;
  long reports_ = 0;
  std::vector<std::string> sent_;
  std::string message_;
};

}  // namespace kavel
