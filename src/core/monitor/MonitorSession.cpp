#include "core/monitor/MonitorSession.h"

#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {

MonitorSession::MonitorSession(RS232C& port, LinkState& state, AppSettings& settings, IoSetup& io,
                               SetupRecord& record, Options options)
    : port_(port),
      state_(state),
      settings_(settings),
      io_(io),
      record_(record),
      options_(options),
      receiver_(port, state, settings),
      probe_(port, receiver_, state, settings) {
  receiver_.onLine = [this](const LineRoute& route) { handleLine(route); };
  receiver_.onLineError = [this] { broken_ = true; };
}

int MonitorSession::descriptor() const { return port_.descriptor(); }

void MonitorSession::start(Millis now) {
  state_ = LinkState{};
  now_ = now;
  probe_.start(now, {});
  phase_ = Phase::Probing;
  outcome_ = Outcome::Running;
  versionSeen_ = broken_ = monitoring_ = stopRequested_ = false;
  reports_ = 0;
  sent_.clear();
  message_.clear();
}

bool MonitorSession::send(const std::string& command) {
  sent_.push_back(command);
  return port_.SendText(command) == SendStatus::Sent;
}

void MonitorSession::handleLine(const LineRoute& route) {
  switch (route.monitorHandler) {
    case MonitorHandler::ConnectorReport:
      if (const auto report = parseConnectorReport(route.text, io_.cnMode, settings_.variant)) {
        ++reports_;
        if (onReport) onReport(*report, now_);
      }
      break;
    case MonitorHandler::OptionReport:
      if (const auto config = parseConfigLine(route.text)) {
        applyMonitorConfig(*config, io_, record_);
        send(kConfigLedOn);
        if (onConfig) onConfig(*config);
      }
      break;
    case MonitorHandler::Version:
      versionSeen_ = true;
      break;
    case MonitorHandler::None:
      break;
  }
  if (onLine) onLine(route);
}

MonitorSession::Outcome MonitorSession::end(Outcome outcome, std::string message) {
  receiver_.stop();
  port_.ClosePort();
  state_.sensorMonitorListening = false;
  phase_ = Phase::Ended;
  outcome_ = outcome;
  message_ = std::move(message);
  return outcome;
}

void MonitorSession::stop(Millis now) {
  if (stopRequested_ || phase_ == Phase::Ended) return;
  stopRequested_ = true;
  if (phase_ == Phase::Streaming) {
    closing_ = closingSequence(io_.cnMode);
    nextClosing_ = 0;
    pause_.start(now, 0);
    phase_ = Phase::Closing;
  }
}

MonitorSession::Outcome MonitorSession::stepClosing(Millis now) {
  while (pause_.over(now)) {
    if (nextClosing_ >= closing_.size()) return end(Outcome::Done, {});
    const TimedCommand& c = closing_[nextClosing_++];
    if (!send(c.command)) {
      return end(Outcome::Disconnected, text::format("\"%s\" could not be sent: %s disconnected", c.command.c_str(),
                                                     settings_.PortName.c_str()));
    }
    pause_.start(now, c.pauseMs);
  }
  return Outcome::Running;
}

MonitorSession::Outcome MonitorSession::poll(Millis now) {
  if (phase_ == Phase::Ended) return outcome_;
  now_ = now;
  receiver_.poll(now);
  if (broken_) return end(Outcome::Disconnected, settings_.PortName + " Disconnected!");
  if (stopRequested_ && phase_ != Phase::Closing) {
    if (phase_ == Phase::Probing) {
      state_.ProbeMode = false;  // cancels the search, which puts the serial settings back
      probe_.step(now);
    }
    return end(Outcome::Done, {});
  }
  switch (phase_) {
    case Phase::Probing: {
      const ProbeBoard::Status s = probe_.step(now);
      if (s == ProbeBoard::Status::Running) return Outcome::Running;
      if (s == ProbeBoard::Status::NotFound) {
        return end(Outcome::NoBoard, probe_.notFoundDetail(settings_.PortName));
      }
      const OpenResult opened = port_.OpenPort();
      if (!opened.ok) return end(Outcome::NoBoard, openFailureDetail(opened, 1));
      receiver_.start(now);
      state_.AckFlag = false;
      state_.sensorMonitorListening = true;
      versionSeen_ = false;
      if (!send(kAskVersion)) {
        return end(Outcome::NoBoard, text::format("\"Ver\" could not be sent to %s", settings_.PortName.c_str()));
      }
      deadline_ = now + options_.versionTime;
      phase_ = Phase::AwaitVersion;
      return Outcome::Running;
    }
    case Phase::AwaitVersion: {
      if (!versionSeen_) {
        if (now <= deadline_) return Outcome::Running;
        return end(Outcome::NoBoard, text::format("the board on %s sent no version line within %d ms of \"Ver\"",
                                                  settings_.PortName.c_str(), options_.versionTime));
      }
      const VersionAction action = versionAction(true, false, false);
      if (!send(action.command)) {
        return end(Outcome::Disconnected, text::format("\"%s\" could not be sent: %s disconnected",
                                                       action.command.c_str(), settings_.PortName.c_str()));
      }
      monitoring_ = true;
      phase_ = Phase::Streaming;
      return Outcome::Running;
    }
    case Phase::Streaming:
      return Outcome::Running;
    case Phase::Closing:
      return stepClosing(now);
    case Phase::Ended:
      break;
  }
  return outcome_;
}

Millis MonitorSession::nextDeadline() const {
  Millis d = receiver_.nextDeadline();
  switch (phase_) {
    case Phase::Probing:
      d = std::min(d, probe_.nextDeadline());
      break;
    case Phase::AwaitVersion:
      d = std::min(d, deadline_ + 1);
      break;
    case Phase::Closing:
      d = std::min(d, pause_.nextDeadline());
      break;
    case Phase::Streaming:
    case Phase::Ended:
      break;
  }
  return d;
}

}  // namespace kavel
