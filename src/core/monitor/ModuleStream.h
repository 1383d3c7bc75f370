#pragma once
// A module's own stream switch, as the camera monitor's start button and the game-pad
// dialog's monitor button work it: connect (search the board, or open the configured port),
// start the stream (after a delay where the board needs one), and stop it again, closing a
// port that only the stream had opened. A step machine on the link.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/BoardLink.h"
#include "core/comm/ProbeBoard.h"

namespace kavel {

class ModuleStream final : public LinkClient {
 public:
  struct Options {
    std::string startCommand;          // "S4:1"
    std::string stopCommand;           // "S4:0"
    int startDelay = 0;                // ms between Started and the start command
    bool searchBoard = true;           // a closed port: search the board (camera) or just open it (game pad)
    bool gamePadMark = false;          // the link hands on "P:" lines while the stream runs
    int language = 1;
    std::vector<std::string> candidates;
  };
  enum class EventKind {
    Started,     // the stream is switched on (the window chimes, redraws); the command follows
    NoBoard,     // the search found no board: `text` what answered instead (may be empty), `detail` why
    OpenFailed,  // the port did not open: `text` the warning
    Stopped,     // the link broke off: the stream is off
  };
  struct Event {
    EventKind kind;
    std::string text;
    std::string detail;
  };

  /// The owner calls `stop` before it lets the stream go.
  ModuleStream(BoardLink& link, Options options);

  /// Connects when needed and starts the stream. Pressed again while the board is searched,
  /// the search stops.
  void start();
  /// Stops the stream (the stop command when the port is open) and closes a port it opened.
  void stop();
  bool running() const { return running_; }
  bool searching() const { return probe_.running(); }
  /// The ports searched after the configured one.
  void setCandidates(std::vector<std::string> ports) { options_.candidates = std::move(ports); }
  void setLanguage(int language) { options_.language = language; }

  std::optional<Event> takeEvent();

  void lineRouted(const LineRoute& route, Millis now) override;
  void linkBroken(Millis now) override;
  void advance(Millis now) override;
  Millis nextDeadline() const override;

 private:
  void begin(Millis now);
  void setRunning(bool on);

  BoardLink& link_;
  Options options_;
  ProbeBoard probe_;
  bool running_ = false;
  bool ownsPort_ = false;
  Millis startAt_ = kNoDeadline;
  std::deque<Event> events_;
};

}  // namespace kavel
