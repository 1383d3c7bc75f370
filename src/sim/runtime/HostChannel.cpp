#include "sim/runtime/HostChannel.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace kavel::sim {

void HostChannel::send(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(0);  // nobody listens any more: the run is over
    done += static_cast<std::size_t>(n);
  }
}

void HostChannel::sendReady() { send(WireWriter().frame(static_cast<std::uint8_t>(HostMessage::Ready))); }

void HostChannel::sendLoadFailed(const std::string& why) {
  send(WireWriter().text(why).frame(static_cast<std::uint8_t>(HostMessage::LoadFailed)));
}

void HostChannel::end(EndKind kind, std::int64_t timeUs, const std::string& text) {
  send(WireWriter().u8(static_cast<std::uint8_t>(kind)).i64(timeUs).text(text).frame(
      static_cast<std::uint8_t>(HostMessage::Ended)));
  ::_exit(0);
}

void HostChannel::receive(Simulation& sim, bool block) {
  char buffer[4096];
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, block ? -1 : 0);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(0);  // the client has gone
    in_.append(buffer, static_cast<std::size_t>(n));
    WireMessage m;
    bool broken = false;
    while (takeMessage(in_, m, broken)) handle(sim, m);
    if (broken) ::_exit(0);
    if (static_cast<std::size_t>(n) < sizeof buffer) return;
  }
}

void HostChannel::handle(Simulation& sim, const WireMessage& m) {
  WireReader r(m.payload);
  switch (static_cast<ClientMessage>(m.type)) {
    case ClientMessage::Grant:
      grantUs_ = r.i64();
      break;
    case ClientMessage::Pad: {
      PadState pad;
      if (decodePad(m.payload, pad)) sim.setPadState(pad);
      break;
    }
    case ClientMessage::SetOutput: {
      const int cn = r.i32();
      const int level = r.i32();
      if (r.ok()) sim.overrideLat(cn, level != 0);
      break;
    }
    case ClientMessage::SetLed: {
      const int n = r.i32();
      const int on = r.i32();
      if (r.ok()) sim.overrideLed(n, on != 0);
      break;
    }
    case ClientMessage::SetServo: {
      const int cn = r.i32();
      const int us = r.i32();
      if (r.ok()) sim.overrideServo(cn, us);
      break;
    }
  }
}

void HostChannel::onSample(Simulation& sim) {
  send(encodeSnapshot(sim.snapshot()));
  const std::int64_t now = sim.nowUs();
  if (endUs_ > 0 && now >= endUs_) end(EndKind::TimeUp, now);
  receive(sim, false);
  bool told = false;
  while (grantUs_ <= now) {
    if (!told) send(WireWriter().i64(now).frame(static_cast<std::uint8_t>(HostMessage::Waiting)));
    told = true;
    receive(sim, true);
  }
}

}  // namespace kavel::sim
