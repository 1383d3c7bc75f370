#include "core/comm/BoardLink.h"

#include <algorithm>

#include "core/comm/LinkFraming.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {

LinkClient::~LinkClient() {
  if (attachedTo_) attachedTo_->detach(*this);
}

BoardLink::~BoardLink() {
  for (LinkClient* c : clients_) c->attachedTo_ = nullptr;
}

BoardLink::BoardLink(BoardPort& port, LinkState& state, AppSettings& settings, ClockFunction clock)
    : port_(port), state_(state), settings_(settings), clock_(std::move(clock)), receiver_(port, state, settings) {
  receiver_.onAnswerUpdate = [this] { SendBytes("y"); };
  receiver_.onLine = [this](const LineRoute& route) {
    if (onLine) onLine(route);
    const Millis now = clock_();
    forEachClient([&](LinkClient& c) { c.lineRouted(route, now); });
  };
  receiver_.onLineError = [this] {
    if (!queue_.empty()) lastHeld_ = SendStatus::LineError;
    queue_.clear();
    if (onLineError) onLineError();
    const Millis now = clock_();
    forEachClient([&](LinkClient& c) { c.linkBroken(now); });
  };
}

OpenResult BoardLink::OpenPort(bool receive) {
  ClosePort();
  const OpenResult result = port_.OpenPort();
  if (result.ok && receive) receiver_.start(clock_());
  return result;
}

void BoardLink::ClosePort() {
  receiver_.stop();
  queue_.clear();
  port_.ClosePort();
}

SendStatus BoardLink::write(std::string bytes) {
  if (!port_.isOpen()) return SendStatus::NotOpen;
  if (queue_.empty() && !port_.ctsHolds()) return port_.SendBytes(bytes);
  const Millis now = clock_();
  if (queue_.empty() && onNotice) onNotice("CTS Hold");
  queue_.push_back({std::move(bytes), now + kCtsHoldLimit});
  return SendStatus::CtsHold;
}

SendStatus BoardLink::SendText(std::string_view text) { return write(framedText(settings_, text)); }

SendStatus BoardLink::SendBytes(std::string_view bytes) { return write(std::string(bytes)); }

void BoardLink::flush(Millis now) {
  while (!queue_.empty()) {
    if (!port_.isOpen()) {
      queue_.clear();
      lastHeld_ = SendStatus::NotOpen;
      return;
    }
    if (port_.ctsHolds()) {
      if (now < queue_.front().deadline) return;
      // The board kept CTS low past the limit: the text goes out anyway rather than hanging
      // the window; what the board makes of it shows in its answer.
      if (onNotice) onNotice(text::format("CTS Hold: sent after %d ms", kCtsHoldLimit));
    }
    lastHeld_ = port_.SendBytes(queue_.front().bytes);
    queue_.pop_front();
    if (lastHeld_ != SendStatus::Sent) {
      queue_.clear();
      return;
    }
  }
}

void BoardLink::poll() {
  Millis now = clock_();
  if (receiver_.running()) receiver_.poll(now);
  flush(now);
  forEachClient([this](LinkClient& c) { c.advance(clock_()); });
  now = clock_();
  flush(now);
}

Millis BoardLink::nextDeadline() const {
  Millis d = receiver_.nextDeadline();
  if (!queue_.empty()) d = std::min({d, clock_() + kCtsPollInterval, queue_.front().deadline});
  for (const LinkClient* c : clients_) d = std::min(d, c->nextDeadline());
  return d;
}

void BoardLink::attach(LinkClient& client) {
  if (!attached(&client)) clients_.push_back(&client);
  client.attachedTo_ = this;
}

void BoardLink::detach(LinkClient& client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), &client), clients_.end());
  client.attachedTo_ = nullptr;
}

bool BoardLink::attached(const LinkClient* client) const {
  return std::find(clients_.begin(), clients_.end(), client) != clients_.end();
}

}  // namespace kavel
