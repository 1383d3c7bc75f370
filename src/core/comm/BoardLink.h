#pragma once
// The serial link as the download and monitor sessions use it, in the window and in the
// console alike: one port, its receiving half, the marks the windows set, and the texts that
// wait while the board holds CTS. The owner's event loop calls `poll` whenever the port's
// descriptor is readable or `nextDeadline` has come; the link then reads and routes the
// board's lines and lets every attached session take its next steps. Nothing here waits.

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/comm/BoardPort.h"
#include "core/comm/Clock.h"
#include "core/comm/LinkReceiver.h"

namespace kavel {

struct AppSettings;
struct LinkState;

class BoardLink;

/// A step machine that works over the link (a download, a monitor, a probe of its own).
class LinkClient {
 public:
  LinkClient() = default;
  LinkClient(const LinkClient&) = delete;
  LinkClient& operator=(const LinkClient&) = delete;
  /// Leaves the link it is attached to, if that still exists.
  virtual ~LinkClient();
  /// A routed line; its changes to the link marks are applied already.
  virtual void lineRouted(const LineRoute& route, Millis now) = 0;
  /// The link broke off; the port is closed.
  virtual void linkBroken(Millis now) = 0;
  /// Lines were read or time passed: take whatever steps are due.
  virtual void advance(Millis now) = 0;
  /// When `advance` must run at the latest.
  virtual Millis nextDeadline() const = 0;

 private:
  friend class BoardLink;
  BoardLink* attachedTo_ = nullptr;  // cleared when the link goes first
};

class BoardLink {
 public:
  /// How long a text waits for the board to release CTS before it is sent anyway.
  static constexpr int kCtsHoldLimit = 2000;
  /// How often CTS is looked at again while a text waits.
  static constexpr int kCtsPollInterval = 10;

  using ClockFunction = std::function<Millis()>;

  /// All references must outlive the link. `clock` gives the time every step uses (tests drive
  /// it by hand).
  BoardLink(BoardPort& port, LinkState& state, AppSettings& settings, ClockFunction clock = steadyMillis);
  ~BoardLink();
  BoardLink(const BoardLink&) = delete;
  BoardLink& operator=(const BoardLink&) = delete;

  /// Opens the port the settings name; with `receive` the board's lines are read and routed
  /// until ClosePort. A failure is returned, never shown.
  OpenResult OpenPort(bool receive);
  /// Stops receiving, drops what still waits for CTS and closes the port.
  void ClosePort();

  /// Sends header, `text` and delimiter. While the board holds CTS (RTS control on) the text
  /// waits, "CTS Hold" goes to the log, and it is sent when CTS is released or after
  /// kCtsHoldLimit ms at the latest; CtsHold is returned then. Texts keep their order.
  SendStatus SendText(std::string_view text);
  /// Sends raw bytes in the same order and with the same wait.
  SendStatus SendBytes(std::string_view bytes);
  /// Something waits for CTS.
  bool holding() const { return !queue_.empty(); }
  /// How the last text that had to wait went out (Sent once it is written).
  SendStatus lastHeldResult() const { return lastHeld_; }

  bool isOpen() const { return port_.isOpen(); }
  bool receiving() const { return receiver_.running(); }
  /// The port's descriptor for the owner's readiness wait; -1 when closed.
  int descriptor() const { return port_.descriptor(); }

  /// Reads and routes what arrived, sends what waited for CTS, then lets every attached
  /// session advance.
  void poll();
  /// When `poll` must run at the latest without new data.
  Millis nextDeadline() const;
  Millis now() const { return clock_(); }

  /// A session takes part in `poll` until it detaches (sessions detach themselves when they
  /// end or are destroyed). A session may attach or detach others while it is called.
  void attach(LinkClient& client);
  void detach(LinkClient& client);

  LinkState& state() { return state_; }
  AppSettings& settings() { return settings_; }

  /// Every routed line, for the owner (the main window's message log, the listening windows).
  std::function<void(const LineRoute&)> onLine;
  /// The link broke off; the port is closed. Runs before the sessions hear of it.
  std::function<void()> onLineError;
  /// A line for the log of the window in front that is not a board line ("CTS Hold").
  std::function<void(const std::string&)> onNotice;
  /// A board search tries `port` (the main window's first status panel shows it).
  std::function<void(const std::string& port)> onProbePort;
  /// A board search ended: PortName followed by ":OK" or ":NG".
  std::function<void(bool found, const std::string& status)> onProbeFinished;

 private:
  SendStatus write(std::string bytes);
  void flush(Millis now);
  bool attached(const LinkClient* client) const;
  /// Calls `f` for every client attached when the call began and still attached when its turn
  /// comes (a client may detach itself or others on the way).
  template <typename F>
  void forEachClient(F f);

  struct Held {
    std::string bytes;
    Millis deadline;
  };

  BoardPort& port_;
  LinkState& state_;
  AppSettings& settings_;
  ClockFunction clock_;
  LinkReceiver receiver_;
  std::vector<LinkClient*> clients_;
  std::deque<Held> queue_;
  SendStatus lastHeld_ = SendStatus::Sent;
};

template <typename F>
void BoardLink::forEachClient(F f) {
  // A few sessions at most: a copy on the stack, no allocation per line.
  constexpr std::size_t kInline = 8;
  if (clients_.size() > kInline) {
    const std::vector<LinkClient*> copy = clients_;
    for (LinkClient* c : copy) {
      if (attached(c)) f(*c);
    }
    return;
  }
  LinkClient* copy[kInline];
  const std::size_t n = clients_.size();
  std::copy(clients_.begin(), clients_.end(), copy);
  for (std::size_t i = 0; i < n; ++i) {
    if (attached(copy[i])) f(*copy[i]);
  }
}

}  // namespace kavel
