#pragma once
// A whole download without a window, for the console: probe the board with "Ver", restart it
// into its boot loader with "Reset", check the loader's banner, wait for its prompt, send the
// image with one "." per line, then start the program with "R". A step machine on the
// owner's event loop; the owner reads the port (LinkReceiver::poll) whenever it is readable
// or `nextDeadline` has come, then calls `step`.

#include <functional>
#include <string>

#include "core/comm/Clock.h"
#include "core/comm/HexSender.h"
#include "core/comm/LinkReceiver.h"
#include "core/comm/ProbeBoard.h"

namespace kavel {

class RS232C;
struct AppSettings;
struct LinkState;

class DownloadSession {
 public:
  enum class Outcome {
    Running,
    Done,            // image sent and acknowledged (and "R" sent unless told not to)
    NoBoard,         // the port did not open, or no board answered "Ver"
    NoPrompt,        // no "Please send [.hex] file." in time after "Reset"
    Refused,         // the boot loader's banner does not fit the variant and MCU2620_
    TransferFailed,  // ack time-out, an error line from the loader, or the link broke off
  };

  struct Options {
    bool run = true;           // send "R" after the image
    int promptTime = 1000;     // ms from "Reset" to the loader's prompt (the auto-start timer)
    int readyDelay = 500;      // ms from the prompt to the first line
  };

  /// `image` must outlive the session. SendTout and Ack_Tout come from `settings`.
  DownloadSession(RS232C& port, LinkState& state, AppSettings& settings, const HexFile& image, Options options);

  void start(Millis now);
  /// Reads the port and advances; returns Running until the download has ended. The port is
  /// closed when the session ends.
  Outcome poll(Millis now);
  Millis nextDeadline() const;

  /// What went wrong, in words for the user (empty on success).
  const std::string& message() const { return message_; }
  const HexSender& sender() const { return sender_; }
  bool sending() const { return phase_ == Phase::Sending; }
  /// The port's descriptor while open, for the owner's readiness wait.
  int descriptor() const;

  /// Every routed board line (display text), for a verbose owner.
  std::function<void(const LineRoute&)> onLine;

 private:
  enum class Phase { Probing, AwaitPrompt, ReadyDelay, Sending, Ended };
  Outcome end(Outcome outcome, std::string message);
  Outcome stepSending(Millis now);

  RS232C& port_;
  LinkState& state_;
  AppSettings& settings_;
  Options options_;
  LinkReceiver receiver_;
  ProbeBoard probe_;
  HexSender sender_;
  Phase phase_ = Phase::Ended;
  Outcome outcome_ = Outcome::Running;
  Millis deadline_ = kNoDeadline;
  Millis ctsSince_ = -1;
  bool ready_ = false;
  bool refused_ = false;
  bool broken_ = false;
  std::string refusedBanner_;
  std::string errorLine_;
  std::string message_;
};

}  // namespace kavel
