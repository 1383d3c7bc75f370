#pragma once
// The receiving half of the link: reads what the port holds when its owner says data are
// ready (or time passed), cuts it into lines, routes every line and applies the route's
// changes to the link marks. The owner's event loop calls `poll`; nothing here waits.

#include <functional>
#include <string>

#include "core/comm/Clock.h"
#include "core/comm/LineAssembler.h"
#include "core/comm/LineDispatcher.h"

namespace kavel {

class BoardPort;
struct AppSettings;
struct LinkState;

class LinkReceiver {
 public:
  LinkReceiver(BoardPort& port, LinkState& state, AppSettings& settings);

  /// Starts receiving on the freshly opened port: empty buffer, idle time from `now`, the
  /// receive delimiter and time-out taken from the settings.
  void start(Millis now);
  /// Stops receiving (the port is about to close or was closed).
  void stop();
  bool running() const { return running_; }

  /// Reads every waiting byte, hands on completed lines, then makes the idle cut. On a line
  /// error (hang-up, port failure) a running download is aborted, the port is closed and
  /// `onLineError` runs; false is returned then.
  bool poll(Millis now);

  /// When `poll` must run at the latest even without new data (the idle cut).
  Millis nextDeadline() const;

  /// Every routed line, after its changes were applied (the listening window's part).
  std::function<void(const LineRoute&)> onLine;
  /// The link broke off; the port is closed already.
  std::function<void()> onLineError;
  /// The board asked "Update?(y/n)": sends the single byte "y" (straight to the port unless set).
  std::function<void()> onAnswerUpdate;

 private:
  void handleLine(const std::string& bytes);

  BoardPort& port_;
  LinkState& state_;
  AppSettings& settings_;
  LineAssembler assembler_;
  LineAssembler::Sinks sinks_;
  std::string chunk_;
  bool running_ = false;
};

}  // namespace kavel
