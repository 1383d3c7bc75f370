#pragma once
// The sensor monitor's talk with the board, for the monitor window and the console alike:
// connecting (an open port is asked "Ver"; variant 0 opens and restarts the board; otherwise
// the board is searched), the start button and the module buttons, what the board's version
// line starts, configuration lines stored in the I/O setup, the connector reports, the
// output, LED, servo and sub I/O controls, and the closing sequence that leaves the board at
// rest. A step machine on the link (BoardLink::poll drives it); what the user must see comes
// out as events, in order. Nothing here waits.

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/BoardLink.h"
#include "core/comm/Pause.h"
#include "core/comm/ProbeBoard.h"
#include "core/monitor/MonitorCommands.h"
#include "core/monitor/MonitorConfig.h"
#include "core/monitor/MonitorReport.h"

namespace kavel {

class MonitorSession final : public LinkClient {
 public:
  enum class Outcome {
    Running,
    Done,          // stopped; the closing sequence was sent when the stream had started
    NoBoard,       // the console: the port did not open, no board answered "Ver", or no version line came
    Disconnected,  // the link broke off while the window listened
  };

  struct Options {
    int versionTime = 1000;        // ms for the version line after "Ver"; 0 waits as long as the window is open
    bool endWhenNoBoard = true;    // the console ends without a board; the window tells and stays
    bool closePortAtEnd = true;    // the console; the main window closes the port after the window
    int language = 1;              // of the texts in events and `message` (0 Japanese)
    std::vector<std::string> candidates;  // ports searched after the configured one
  };

  enum class EventKind {
    Searched,       // the command's search ended (`found`); the window shows next
    NoBoard,        // connecting found no board: `text` what answered instead (may be empty), `detail` why
    OpenFailed,     // the board answered but its port did not open (`text`)
    ModuleReady,    // show the window of `module`; call moduleClosed when it has closed
    Version,        // `text` the board's version line
    CloseModules,   // the sensor stream starts: the module windows close
    Chime,          // play the chime
    Monitoring,     // "S0:1" was sent: the stream runs
    StreamStopped,  // the start button or a module button stopped the stream ("S0:0")
    Config,         // `config` is stored in the I/O setup; `text` says which connectors changed (empty: none)
    Report,         // `report`, read with the modes in force, arrived at `at`
    Closed,         // the closing sequence has ended; nothing listens any more
    Disconnected,   // the link broke off; nothing listens any more
  };
  struct Event {
    EventKind kind;
    std::string text;
    std::string detail;
    BoardModule module = BoardModule::Compass;
    bool found = false;
    MonitorConfig config;
    MonitorReport report;
    Millis at = 0;
  };

  /// The connector modes are read from (and configuration lines stored into) `io` and
  /// `record`; all references must outlive the session.
  MonitorSession(BoardLink& link, IoSetup& io, SetupRecord& record, Options options);
  MonitorSession(BoardLink& link, IoSetup& io, SetupRecord& record) : MonitorSession(link, io, record, Options{}) {}

  /// The monitor command's search before the window shows: the board's port stays open.
  void search();
  /// The window's first activation: the monitor listens; nothing is sent.
  void open();
  /// The console: open, then what the start button does.
  void start();
  /// Every activation of the window clears the start request.
  void clearStartRequest() { startRequest_ = false; }
  /// The language of the texts in events (0 Japanese, else English).
  void setLanguage(int language) { options_.language = language; }
  /// The ports searched after the configured one.
  void setCandidates(std::vector<std::string> ports) { options_.candidates = std::move(ports); }

  /// The start button: a second press stops the stream ("S0:0"); otherwise connects and lets
  /// the version line start it. Pressed while the board is searched, it stops the search.
  void pressStart();
  /// A module button: stops the stream when it was requested, connects, then ModuleReady.
  void openModule(BoardModule module);
  /// The module's window has closed: its stream is stopped and its mark cleared.
  void moduleClosed(BoardModule module);

  /// The controls; each acts only while monitoring. `valuePanel` is what the connector's
  /// value panel reads; `shownLit` whether the LED is shown lit.
  void output(int index, const std::string& valuePanel);
  void led(int led, bool shownLit);
  void servo(int connector, int position);
  /// The sub I/O list closed on `id`: a chime, then "ID:%d" 500 ms later.
  void chooseId(int id);
  /// The command line: sends `text` as it is; false when the port is not open.
  bool sendCommand(const std::string& text);

  /// Asks the session to end: while monitoring the closing sequence is sent first (one
  /// command per pause), then Closed; before that it ends at once.
  void stop();

  std::optional<Event> takeEvent();

  Outcome outcome() const { return outcome_; }
  bool ended() const { return phase_ == Phase::Ended; }
  bool listening() const;
  /// The stream was started ("S0:1" sent); stays set until the session ends.
  bool monitoring() const { return monitoring_; }
  bool startRequest() const { return startRequest_; }
  bool closing() const { return phase_ == Phase::Closing; }
  bool searching() const { return probe_.running(); }
  bool moduleMark(BoardModule module) const { return marks_[static_cast<std::size_t>(module)]; }
  /// Why the session failed, in words for the user (empty otherwise).
  const std::string& message() const { return message_; }
  long reportsReceived() const { return reports_; }
  /// Lines the board sent since the stream was started.
  long linesReceived() const { return lines_; }
  /// Commands sent since `open`, in order (what the board was told).
  const std::vector<std::string>& sent() const { return sent_; }

  void lineRouted(const LineRoute& route, Millis now) override;
  void linkBroken(Millis now) override;
  void advance(Millis now) override;
  Millis nextDeadline() const override;

 private:
  enum class Phase { Idle, Searching, Listening, Closing, Ended };
  enum class Purpose { Sensors, Module };

  void push(EventKind kind, std::string text = {});
  bool send(const std::string& command);
  void connect(Purpose purpose, BoardModule module);
  void connected(Millis now);
  void noBoard(const std::string& answer, const std::string& detail);
  void stopStream();
  void handleVersion(const LineRoute& route);
  void handleConfig(const LineRoute& route);
  void handleReport(const LineRoute& route, Millis now);
  void finishClosing();
  void end(Outcome outcome, std::string message = {});

  BoardLink& link_;
  IoSetup& io_;
  SetupRecord& record_;
  Options options_;
  ProbeBoard probe_;
  Phase phase_ = Phase::Idle;
  Outcome outcome_ = Outcome::Running;
  Purpose purpose_ = Purpose::Sensors;
  BoardModule module_ = BoardModule::Compass;
  bool searchOnly_ = false;       // the command's search: no connecting after it
  bool monitoring_ = false;
  bool startRequest_ = false;
  bool versionSeen_ = true;
  Millis versionDeadline_ = kNoDeadline;
  std::array<bool, kBoardModules> marks_{};
  std::optional<std::string> pendingId_;
  Millis idAt_ = kNoDeadline;
  std::vector<TimedCommand> closing_;
  std::size_t nextClosing_ = 0;
  Pause pause_;
  long reports_ = 0;
  long lines_ = 0;
  std::vector<std::string> sent_;
  std::deque<Event> events_;
  std::string message_;
};

}  // namespace kavel
