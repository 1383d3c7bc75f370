#include "core/monitor/MonitorSession.h"

#include <algorithm>

#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {

MonitorSession::MonitorSession(BoardLink& link, IoSetup& io, SetupRecord& record, Options options)
    : link_(link), io_(io), record_(record), options_(std::move(options)), probe_(link) {}

bool MonitorSession::listening() const { return link_.state().sensorMonitorListening; }

void MonitorSession::push(EventKind kind, std::string text) {
  Event e;
  e.kind = kind;
  e.text = std::move(text);
  events_.push_back(std::move(e));
}

std::optional<MonitorSession::Event> MonitorSession::takeEvent() {
  if (events_.empty()) return std::nullopt;
  Event e = std::move(events_.front());
  events_.pop_front();
  return e;
}

bool MonitorSession::send(const std::string& command) {
  sent_.push_back(command);
  const SendStatus s = link_.SendText(command);
  return s == SendStatus::Sent || s == SendStatus::CtsHold;
}

void MonitorSession::search() {
  link_.attach(*this);
  outcome_ = Outcome::Running;
  message_.clear();
  searchOnly_ = true;
  phase_ = Phase::Searching;
  probe_.start(link_.now(), options_.candidates, true);
}

void MonitorSession::open() {
  link_.attach(*this);
  link_.state().sensorMonitorListening = true;
  outcome_ = Outcome::Running;
  message_.clear();
  phase_ = Phase::Listening;
  searchOnly_ = false;
  monitoring_ = startRequest_ = false;
  versionSeen_ = true;
  versionDeadline_ = kNoDeadline;
  marks_ = {};
  pendingId_.reset();
  reports_ = lines_ = 0;
  sent_.clear();
}

void MonitorSession::start() {
  open();
  pressStart();
}

void MonitorSession::connect(Purpose purpose, BoardModule module) {
  purpose_ = purpose;
  module_ = module;
  const Millis now = link_.now();
  if (link_.isOpen()) {
    send(kAskVersion);
    connected(now);
    return;
  }
  if (link_.settings().variant == 0) {
    // This board restarts into its program and says who it is without being searched.
    LinkState& st = link_.state();
    st.ReportOpenErrors = false;
    const bool opened = link_.OpenPort(true).ok;
    st.ReportOpenErrors = true;
    if (opened) {
      send(kRestartBoard);
      connected(now);
      return;
    }
  }
  probe_.start(now, options_.candidates, true);
}

void MonitorSession::connected(Millis now) {
  if (purpose_ == Purpose::Module) {
    marks_[static_cast<std::size_t>(module_)] = true;
    Event e;
    e.kind = EventKind::ModuleReady;
    e.module = module_;
    events_.push_back(std::move(e));
    return;
  }
  versionSeen_ = false;
  versionDeadline_ = options_.versionTime > 0 ? now + options_.versionTime : kNoDeadline;
}

void MonitorSession::noBoard(const std::string& answer, const std::string& detail) {
  if (purpose_ == Purpose::Sensors) startRequest_ = false;
  Event e;
  e.kind = EventKind::NoBoard;
  e.text = answer;
  e.detail = detail;
  events_.push_back(std::move(e));
  if (options_.endWhenNoBoard) end(Outcome::NoBoard, detail);
}

void MonitorSession::pressStart() {
  if (phase_ != Phase::Listening) return;
  if (probe_.running()) {
    // Pressed again while the board is searched: the search stops.
    link_.state().ProbeMode = false;
    return;
  }
  if (startRequest_) {
    stopStream();
    return;
  }
  startRequest_ = true;
  connect(Purpose::Sensors, BoardModule::Compass);
}

void MonitorSession::stopStream() {
  send(kSensorStreamOff);
  startRequest_ = false;
  push(EventKind::StreamStopped);
}

void MonitorSession::openModule(BoardModule module) {
  if (phase_ != Phase::Listening || probe_.running()) return;
  if (startRequest_) stopStream();
  connect(Purpose::Module, module);
}

void MonitorSession::moduleClosed(BoardModule module) {
  if (phase_ != Phase::Listening) return;
  send(moduleStopCommand(module));
  marks_[static_cast<std::size_t>(module)] = false;
  startRequest_ = false;
}

void MonitorSession::output(int index, const std::string& valuePanel) {
  if (monitoring_ && index >= 0 && index < 10) send(outputButtonCommand(index, valuePanel));
}

void MonitorSession::led(int which, bool shownLit) {
  if (monitoring_ && which >= 0 && which <= 2) send(ledButtonCommand(which, shownLit));
}

void MonitorSession::servo(int connector, int position) {
  if (monitoring_ && (connector == 7 || connector == 8)) send(servoCommand(connector, position));
}

void MonitorSession::chooseId(int id) {
  if (!monitoring_) return;
  push(EventKind::Chime);
  // The board needs a moment after the chime before it takes the new ID.
  pendingId_ = idCommand(id);
  idAt_ = link_.now() + kIdDelay;
}

bool MonitorSession::sendCommand(const std::string& text) {
  if (!link_.isOpen()) return false;
  return send(text);
}

void MonitorSession::handleVersion(const LineRoute& route) {
  versionSeen_ = true;
  versionDeadline_ = kNoDeadline;
  push(EventKind::Version, route.text);
  const VersionAction action = versionAction(startRequest_, moduleMark(BoardModule::Compass),
                                             moduleMark(BoardModule::Ultrasonic));
  if (action.closeModules) {
    marks_ = {};
    push(EventKind::CloseModules);
  }
  if (action.chime) push(EventKind::Chime);
  if (action.kind == VersionAction::StartSensors) {
    monitoring_ = true;
    lines_ = 0;
    push(EventKind::Monitoring);
  }
  if (!action.command.empty()) send(action.command);
}

void MonitorSession::handleConfig(const LineRoute& route) {
  const std::optional<MonitorConfig> config = parseConfigLine(route.text);
  if (!config) return;
  const IoSetup before = io_;
  applyMonitorConfig(*config, io_, record_);
  send(kConfigLedOn);
  Event e;
  e.kind = EventKind::Config;
  e.config = *config;
  e.text = configChangeText(before, io_, options_.language);
  events_.push_back(std::move(e));
}

void MonitorSession::handleReport(const LineRoute& route, Millis now) {
  std::optional<MonitorReport> report = parseConnectorReport(route.text, io_.cnMode, link_.settings().variant);
  if (!report) return;
  ++reports_;
  Event e;
  e.kind = EventKind::Report;
  e.report = std::move(*report);
  e.at = now;
  events_.push_back(std::move(e));
}

void MonitorSession::lineRouted(const LineRoute& route, Millis now) {
  if (probe_.running()) {
    probe_.lineRouted(route);
    return;
  }
  if (route.target != LineTarget::SensorMonitor || phase_ == Phase::Ended) return;
  if (monitoring_) ++lines_;
  switch (route.monitorHandler) {
    case MonitorHandler::ConnectorReport:
      handleReport(route, now);
      break;
    case MonitorHandler::OptionReport:
      handleConfig(route);
      break;
    case MonitorHandler::Version:
      handleVersion(route);
      break;
    case MonitorHandler::None:
      break;
  }
}

void MonitorSession::linkBroken(Millis) {
  // A port that breaks off during a search simply did not answer.
  if (probe_.running() || phase_ == Phase::Ended || phase_ == Phase::Idle) return;
  push(EventKind::Disconnected, link_.settings().PortName);
  end(Outcome::Disconnected, link_.settings().PortName + " Disconnected!");
}

void MonitorSession::advance(Millis now) {
  if (probe_.running()) {
    const ProbeBoard::Status s = probe_.step(now);
    if (s == ProbeBoard::Status::Running) return;
    if (phase_ == Phase::Searching) {
      Event e;
      e.kind = EventKind::Searched;
      e.found = s == ProbeBoard::Status::Found;
      events_.push_back(std::move(e));
      phase_ = Phase::Idle;
      link_.detach(*this);
      return;
    }
    if (phase_ != Phase::Listening) return;
    if (s == ProbeBoard::Status::NotFound) {
      if (probe_.cancelled()) {
        if (purpose_ == Purpose::Sensors) startRequest_ = false;
        return;
      }
      noBoard(probe_.otherAnswer(), probe_.notFoundDetail(link_.settings().PortName, options_.language));
      return;
    }
    if (!link_.isOpen()) {
      const OpenResult opened = link_.OpenPort(true);
      if (!opened.ok) {
        if (purpose_ == Purpose::Sensors) startRequest_ = false;
        push(EventKind::OpenFailed, openFailureText(opened, link_.settings().PortName, options_.language, false));
        if (options_.endWhenNoBoard) end(Outcome::NoBoard, openFailureDetail(opened, options_.language));
        return;
      }
    }
    if (!send(kAskVersion) && options_.endWhenNoBoard) {
      end(Outcome::NoBoard, text::format("\"Ver\" could not be sent to %s", link_.settings().PortName.c_str()));
      return;
    }
    connected(now);
    return;
  }
  if (phase_ == Phase::Listening) {
    if (pendingId_ && now >= idAt_) {
      const std::string command = *pendingId_;
      pendingId_.reset();
      send(command);
    }
    // "Ver" waits for CTS: its time starts when it has gone out.
    if (!versionSeen_ && versionDeadline_ != kNoDeadline && link_.holding()) {
      versionDeadline_ = now + options_.versionTime;
    }
    if (!versionSeen_ && now >= versionDeadline_) {
      versionSeen_ = true;
      if (purpose_ == Purpose::Sensors) startRequest_ = false;
      if (options_.endWhenNoBoard) {
        end(Outcome::NoBoard, text::format("the board on %s sent no version line within %d ms of \"Ver\"",
                                           link_.settings().PortName.c_str(), options_.versionTime));
      }
    }
    return;
  }
  if (phase_ != Phase::Closing) return;
  while (pause_.over(now)) {
    if (nextClosing_ >= closing_.size() || !link_.isOpen()) {
      finishClosing();
      return;
    }
    const TimedCommand& c = closing_[nextClosing_++];
    if (!send(c.command)) {
      const std::string why = text::format("\"%s\" could not be sent: %s disconnected", c.command.c_str(),
                                           link_.settings().PortName.c_str());
      push(EventKind::Disconnected, link_.settings().PortName);
      end(Outcome::Disconnected, why);
      return;
    }
    pause_.start(now, c.pauseMs);
  }
}

Millis MonitorSession::nextDeadline() const {
  if (probe_.running()) return probe_.nextDeadline();
  switch (phase_) {
    case Phase::Listening: {
      Millis d = versionSeen_ ? kNoDeadline : versionDeadline_;
      if (pendingId_) d = std::min(d, idAt_);
      return d;
    }
    case Phase::Closing:
      return pause_.nextDeadline();
    default:
      return kNoDeadline;
  }
}

void MonitorSession::stop() {
  if (phase_ == Phase::Ended || phase_ == Phase::Closing) return;
  if (probe_.running()) {
    link_.state().ProbeMode = false;
    probe_.step(link_.now());
  }
  pendingId_.reset();
  if (phase_ != Phase::Listening) {
    end(Outcome::Done);
    return;
  }
  if (monitoring_ && link_.isOpen()) {
    closing_ = closingSequence(io_.cnMode);
    nextClosing_ = 0;
    pause_.start(link_.now(), 0);
    phase_ = Phase::Closing;
    advance(link_.now());
    return;
  }
  finishClosing();
}

void MonitorSession::finishClosing() {
  monitoring_ = false;
  auto& pad = marks_[static_cast<std::size_t>(BoardModule::GamePad)];
  if (link_.isOpen() && pad) {
    pad = false;
    send(kGamePadStreamOff);
  }
  push(EventKind::Closed);
  end(Outcome::Done);
}

void MonitorSession::end(Outcome outcome, std::string message) {
  if (probe_.running()) {
    link_.state().ProbeMode = false;
    probe_.step(link_.now());
  }
  link_.state().sensorMonitorListening = false;
  if (options_.closePortAtEnd) link_.ClosePort();
  pendingId_.reset();
  marks_ = {};
  startRequest_ = false;
  phase_ = Phase::Ended;
  outcome_ = outcome;
  message_ = std::move(message);
  link_.detach(*this);
}

}  // namespace kavel
