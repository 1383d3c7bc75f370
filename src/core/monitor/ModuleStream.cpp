#include "core/monitor/ModuleStream.h"

#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"

namespace kavel {

ModuleStream::ModuleStream(BoardLink& link, Options options)
    : link_(link), options_(std::move(options)), probe_(link) {}

void ModuleStream::setRunning(bool on) {
  running_ = on;
  if (options_.gamePadMark) link_.state().gamePadMonitor = on;
}

std::optional<ModuleStream::Event> ModuleStream::takeEvent() {
  if (events_.empty()) return std::nullopt;
  Event e = std::move(events_.front());
  events_.pop_front();
  return e;
}

void ModuleStream::start() {
  if (running_) return;
  if (probe_.running()) {
    link_.state().ProbeMode = false;
    return;
  }
  link_.attach(*this);
  if (link_.isOpen()) {
    begin(link_.now());
    return;
  }
  if (options_.searchBoard) {
    probe_.start(link_.now(), options_.candidates, true);
    return;
  }
  const OpenResult opened = link_.OpenPort(true);
  if (!opened.ok) {
    events_.push_back({EventKind::OpenFailed,
                       openFailureText(opened, link_.settings().PortName, options_.language, false), {}});
    return;
  }
  ownsPort_ = true;
  begin(link_.now());
}

void ModuleStream::begin(Millis now) {
  setRunning(true);
  events_.push_back({EventKind::Started, {}, {}});
  if (options_.startDelay > 0) {
    startAt_ = now + options_.startDelay;
  } else {
    link_.SendText(options_.startCommand);
  }
}

void ModuleStream::stop() {
  if (probe_.running()) {
    link_.state().ProbeMode = false;
    probe_.step(link_.now());
  }
  startAt_ = kNoDeadline;
  if (running_) {
    setRunning(false);
    if (link_.isOpen()) link_.SendText(options_.stopCommand);
  }
  // A port the sensor monitor opened stays open for it.
  if (ownsPort_) link_.ClosePort();
  ownsPort_ = false;
  link_.detach(*this);
}

void ModuleStream::lineRouted(const LineRoute& route, Millis) {
  if (probe_.running()) probe_.lineRouted(route);
}

void ModuleStream::linkBroken(Millis) {
  if (probe_.running()) return;
  const bool was = running_;
  startAt_ = kNoDeadline;
  ownsPort_ = false;
  setRunning(false);
  if (was) events_.push_back({EventKind::Stopped, {}, {}});
}

void ModuleStream::advance(Millis now) {
  if (probe_.running()) {
    const ProbeBoard::Status s = probe_.step(now);
    if (s == ProbeBoard::Status::Running) return;
    if (s == ProbeBoard::Status::NotFound) {
      if (!probe_.cancelled()) {
        events_.push_back({EventKind::NoBoard, probe_.otherAnswer(),
                           probe_.notFoundDetail(link_.settings().PortName, options_.language)});
      }
      return;
    }
    if (!link_.isOpen()) {
      const OpenResult opened = link_.OpenPort(true);
      if (!opened.ok) {
        events_.push_back({EventKind::OpenFailed,
                           openFailureText(opened, link_.settings().PortName, options_.language, false), {}});
        return;
      }
    }
    begin(now);
    return;
  }
  if (running_ && now >= startAt_) {
    startAt_ = kNoDeadline;
    if (link_.isOpen()) link_.SendText(options_.startCommand);
  }
}

Millis ModuleStream::nextDeadline() const { return probe_.running() ? probe_.nextDeadline() : startAt_; }

}  // namespace kavel
