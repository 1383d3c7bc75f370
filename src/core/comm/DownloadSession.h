#pragma once
// One download, for the download window and for the console alike: search the board with
// "Ver", restart it into its boot loader with "Reset", check the loader's banner, wait for its
// prompt, send the HEX image with one "." per line, then start the program with "R". The
// window and the console differ only in their options: the window asks before searching
// again, waits for its Start button and stays open after a failure; the console goes straight
// through and ends at the first failure. A step machine on the link (BoardLink::poll drives
// it); what the user must see or answer comes out as events, in order.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/BoardLink.h"
#include "core/comm/HexFile.h"
#include "core/comm/HexSender.h"
#include "core/comm/ProbeBoard.h"

namespace kavel {

class DownloadSession final : public LinkClient {
 public:
  enum class Outcome {
    Running,
    Done,            // image sent and acknowledged (and "R" sent unless told not to); or the window closed
    NoBoard,         // the port did not open, no board answered "Ver", or it went away before the transfer
    NoPrompt,        // no "Please send [.hex] file." in time after "Reset"
    Refused,         // the boot loader's banner does not fit the variant and MCU2620_, or is unknown
    TransferFailed,  // ack time-out, an error line from the loader, the link broke off, the file went bad
    Cancelled,       // the search was cancelled, or the window closed as cancelled
  };

  struct Options {
    bool run = true;                   // send "R" once the image is in ("PwrOn Run" unticked)
    bool autoStart = true;             // the image follows the loader's prompt by itself ("AutoStart")
    bool startAtOnce = true;           // the Start press follows the search at once (the console)
    /// The window's search: without a board the configured port is still opened, and the
    /// user is asked (SearchAgain) up to `searchTries` - 1 times before the window opens
    /// without one. Off (the console), no board ends the session.
    bool askWhileSearching = false;
    int searchTries = 3;
    bool endOnFailure = true;          // the console; the window stays for another try
    bool acceptUnknownLoader = false;  // a prompt without a known banner is taken (the window, as always)
    int promptTime = 1000;             // ms from "Reset" to the loader's prompt (the auto-start timer)
    int readyDelay = 500;              // ms from the prompt to the first line
    int language = 1;                  // of the texts in events and `message` (0 Japanese)
    std::vector<std::string> candidates;  // ports searched after the configured one
  };

  enum class EventKind {
    SearchAgain,      // no board answered: ask whether to search again (`count` failures so far;
                      // `text` what answered instead, if anything); answer with answerSearch
    Connected,        // the search is over: state() is 1 when a board answered, 0 when none did
    OpenFailed,       // the Start button found a board but its port did not open (`text` why)
    LoaderBanner,     // `text` the boot loader's banner (the second status panel)
    LoaderReady,      // the boot loader asks for the image
    NoPrompt,         // no prompt in time after "Reset", or no board; `text` what answered instead,
                      // if anything; answer with answerNoPrompt
    Refused,          // `text` the banner line that does not fit, or why an unknown one is refused
    SendingStarted,   // the image is being sent
    ImageUnreadable,  // `text` "Can't open ... " and the path; `detail` why
    LineSent,         // `text` the record just sent ("Hex Disp")
    AckTimeout,       // no "." in time ("Ack Tout!")
    TransferDone,     // the image is in; "R" was sent unless `run` is off
    TransferFailed,   // `text` why; `cancelled` when the user stopped it
    Disconnected,     // the link broke off while the board restarted
  };
  struct Event {
    EventKind kind;
    std::string text;
    std::string detail;
    int count = 0;
    bool cancelled = false;
  };

  /// `link` must outlive the session. The HEX file is read when sending starts.
  DownloadSession(BoardLink& link, std::string hexPath, Options options);

  /// The entry: searches the board on the configured port, then on the candidates.
  void start();
  /// The window was shown without a search, in download state `state` (0 or 1).
  void startConnected(int state);
  /// The answer to SearchAgain: search again, or stop (Cancelled).
  void answerSearch(bool again);
  /// The Start button: in state 0 search the board, in state 1 restart it with "Reset" and
  /// wait for the prompt, in state 2 send the image. Ignored while searching or sending.
  void pressStart();
  /// The answer to NoPrompt: back to state 0 with Start enabled (the window stays or closes).
  void answerNoPrompt();
  /// The cancel button: true when a transfer was running and is now being stopped; false when
  /// there was none (the window closes).
  bool cancelTransfer();
  /// The window closed (as cancelled or not): everything stops, the download state is 0 and
  /// the port is closed.
  void finish(bool cancelled);

  /// The window's boxes; read when sending starts. Without them SendTout and Ack_Tout of the
  /// settings serve.
  std::function<void(int& sendTout, int& ackTout)> readTimeouts;
  void setHexPath(std::string path) { hexPath_ = std::move(path); }
  void setAutoStart(bool on) { options_.autoStart = on; }
  void setRun(bool on) { options_.run = on; }

  /// The next event, oldest first.
  std::optional<Event> takeEvent();

  Outcome outcome() const { return outcome_; }
  bool ended() const { return phase_ == Phase::Ended; }
  /// What went wrong, in words for the user (empty on success).
  const std::string& message() const { return message_; }
  int state() const;
  bool searching() const { return phase_ == Phase::Searching || phase_ == Phase::StartSearching; }
  bool sending() const { return phase_ == Phase::Sending; }
  bool startRequest() const { return startRequest_; }
  /// The transfer's progress while it runs and after it ended; null before the first one.
  const HexSender* sender() const { return sender_ ? &*sender_ : nullptr; }
  const ProbeBoard& probe() const { return probe_; }
  /// The loader was refused because its banner is none this program knows (not one of another
  /// product).
  bool unknownLoader() const { return unknownLoader_; }
  const std::string& hexPath() const { return hexPath_; }

  void lineRouted(const LineRoute& route, Millis now) override;
  void linkBroken(Millis now) override;
  void advance(Millis now) override;
  Millis nextDeadline() const override;

 private:
  enum class Phase {
    Idle,
    Searching,       // the entry's search
    AskingSearch,    // SearchAgain is being asked
    Waiting,         // for the Start button (state 0, 1, 2 or 3)
    StartSearching,  // the Start button's search in state 0
    AwaitPrompt,     // "Reset" sent: the auto-start timer runs
    ReadyDelay,      // the prompt came: the auto-start timer runs again
    AskingNoPrompt,  // NoPrompt is being asked
    Sending,
    Finishing,       // "R" waits for CTS before the console's session ends
    Ended,
  };

  void push(EventKind kind, std::string text = {}, std::string detail = {}, int count = 0, bool cancelled = false);
  void setStartEnabled(bool on);
  void searchEnded(ProbeBoard::Status status, Millis now);
  void startSearchEnded(ProbeBoard::Status status, Millis now);
  void connected(int state);
  void sendReset(Millis now);
  void loaderReady(Millis now);
  void refuse(const std::string& text, const std::string& why);
  void autoStartCheck(Millis now);
  void beginSending(Millis now);
  void stepSending(Millis now);
  void transferFailed(const std::string& why);
  void transferDone();
  void end(Outcome outcome, std::string message = {});
  std::string lostBoardText(const char* when) const;

  BoardLink& link_;
  std::string hexPath_;
  Options options_;
  ProbeBoard probe_;
  Phase phase_ = Phase::Idle;
  Outcome outcome_ = Outcome::Running;
  Millis deadline_ = kNoDeadline;
  int failures_ = 0;
  bool startRequest_ = false;
  bool bannerAccepted_ = false;
  bool broken_ = false;
  bool awaitingCts_ = false;
  bool unknownLoader_ = false;
  std::string lastLine_;   // the last line after "Reset" that was neither a banner nor the prompt
  std::string errorLine_;  // what the loader answered that stopped the transfer
  HexFile image_;
  std::optional<HexSender> sender_;
  std::deque<Event> events_;
  std::string message_;
};

}  // namespace kavel
