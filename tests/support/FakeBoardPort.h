#pragma once
// Serial ports with a virtual board behind them, in the test's own process and on the test's
// clock: the sessions run exactly as over a real port, but every step is repeatable and a
// minute of board time passes in a moment. Ports are named; a port without a board does not
// exist, a port can be made to refuse opening, and the board can hold CTS.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "VirtualBoard.h"
#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"

namespace kavel::testing {

class FakeBoardPort final : public BoardPort {
 public:
  FakeBoardPort(AppSettings& settings, const Millis& clock) : settings_(settings), clock_(clock) {}

  /// A board on `port`, answering "Ver" with `version` and showing `banner` in its loader.
  vboard::VirtualBoard& addBoard(const std::string& port, const std::string& version = "Wrenlet CORE Ver.2.10 vboard",
                                 const std::string& banner = "WL Loader2520 Ver.1.05", vboard::Faults faults = {},
                                 vboard::StreamSetup streams = {}) {
    boards_[port] = std::make_unique<vboard::VirtualBoard>(version, banner, faults, streams);
    return *boards_[port];
  }
  /// `port` exists but does not open.
  void refuse(const std::string& port, OpenFailure why) { refused_[port] = why; }
  /// The board holds CTS low until `until` (board time).
  void holdCts(Millis until) { ctsUntil_ = until; }

  OpenResult OpenPort() override {
    ClosePort();
    OpenResult r;
    r.device = settings_.PortName;
    opened.push_back(settings_.PortName);
    if (const auto it = refused_.find(settings_.PortName); it != refused_.end()) {
      r.failure = it->second;
      r.system = "refused by the test";
      return r;
    }
    const auto it = boards_.find(settings_.PortName);
    if (it == boards_.end()) {
      r.failure = OpenFailure::NotFound;
      r.system = "No such file or directory";
      return r;
    }
    board_ = it->second.get();
    name_ = it->first;
    hungUp_ = false;
    settings_.portOpen = true;
    r.ok = true;
    return r;
  }
  void ClosePort() override {
    board_ = nullptr;
    settings_.portOpen = false;
  }
  bool isOpen() const override { return board_ != nullptr; }
  int descriptor() const override { return -1; }

  SendStatus SendBytes(std::string_view bytes) override {
    if (!board_) return SendStatus::NotOpen;
    if (hungUp_) return SendStatus::LineError;
    written[name_].append(bytes);
    board_->receive(bytes, clock_);
    return SendStatus::Sent;
  }
  ReadStatus readAvailable(std::string& out) override {
    if (!board_) return ReadStatus::LineError;
    board_->tick(clock_);
    vboard::Output o;
    bool got = false;
    while (!hungUp_ && board_->takeDue(clock_, o)) {
      if (o.hangup) {
        hungUp_ = true;
        break;
      }
      out += o.bytes;
      got = true;
    }
    if (hungUp_) return ReadStatus::LineError;
    return got ? ReadStatus::Data : ReadStatus::Nothing;
  }
  bool ctsHolds() const override { return board_ && settings_.RTS_Cont && clock_ < ctsUntil_; }

  /// When the open board has something to say next.
  Millis nextEvent() const {
    if (!board_) return kNoDeadline;
    return std::min<Millis>(board_->nextOutput(), board_->nextTick());
  }
  vboard::VirtualBoard* board(const std::string& port) {
    const auto it = boards_.find(port);
    return it == boards_.end() ? nullptr : it->second.get();
  }

  std::vector<std::string> opened;              // every port opened, in order
  std::map<std::string, std::string> written;   // all bytes written to each port

 private:
  AppSettings& settings_;
  const Millis& clock_;
  std::map<std::string, std::unique_ptr<vboard::VirtualBoard>> boards_;
  std::map<std::string, OpenFailure> refused_;
  vboard::VirtualBoard* board_ = nullptr;
  std::string name_;
  bool hungUp_ = false;
  Millis ctsUntil_ = 0;
};

/// The link over fake ports, with a clock that only moves when the test lets it.
struct FakeLink {
  Millis now = 1000;
  AppSettings settings;
  LinkState state;
  FakeBoardPort port{settings, now};
  BoardLink link{port, state, settings, [this] { return now; }};
  std::vector<std::string> notices;

  FakeLink() {
    settings.PortName = "/dev/ttyFAKE0";
    link.onNotice = [this](const std::string& n) { notices.push_back(n); };
  }

  /// Polls the link and moves the clock on to whatever is due next (the link's deadline or the
  /// board's next output), until `done` or `ms` of board time have passed. `step` runs after
  /// each poll (to collect events).
  bool runUntil(const std::function<bool()>& done, Millis ms, const std::function<void()>& step = {}) {
    const Millis end = now + ms;
    for (;;) {
      link.poll();
      if (step) step();
      if (done()) return true;
      if (now >= end) return false;
      Millis next = std::min(link.nextDeadline(), port.nextEvent());
      if (next <= now) next = now + 1;
      now = std::min(next, end);
    }
  }
};

}  // namespace kavel::testing
