#include "core/comm/ProbeBoard.h"

#include <algorithm>

#include "core/comm/LinkReceiver.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/comm/SerialOpenError.h"
#include "core/text/Format.h"
#include "core/settings/AppSettings.h"

namespace kavel {

ProbeBoard::ProbeBoard(RS232C& port, LinkReceiver& receiver, LinkState& state, AppSettings& settings)
    : port_(port), receiver_(receiver), state_(state), settings_(settings) {}

void ProbeBoard::start(Millis, std::vector<std::string> candidates) {
  const AppSettings& s = settings_;
  saved_ = {s.PortName, s.Parity__, s.SendHead, s.SendDlmt, s.RecvHead, s.RecvDlmt, s.BaudRate,
            s.ByteSize, s.StopBits, s.RecvTout, s.SendTout, s.Ack_Tout, s.RTS_Cont};
  state_.ProbeMode = true;
  state_.AckFlag = false;
  state_.ReportOpenErrors = false;
  ports_.clear();
  ports_.push_back(settings_.PortName);
  for (std::string& c : candidates) {
    if (std::find(ports_.begin(), ports_.end(), c) == ports_.end()) ports_.push_back(std::move(c));
  }
  next_ = 0;
  current_.clear();
  answered_.clear();
  waiting_ = false;
  running_ = true;
  found_ = false;
  lastFailure_ = {};
}

ProbeBoard::Status ProbeBoard::finish(bool found) {
  if (waiting_) {
    receiver_.stop();
    port_.ClosePort();
    waiting_ = false;
  }
  AppSettings& s = settings_;
  s.PortName = found ? answered_ : saved_.PortName;
  s.Parity__ = saved_.Parity__;
  s.SendHead = saved_.SendHead;
  s.SendDlmt = saved_.SendDlmt;
  s.RecvHead = saved_.RecvHead;
  s.RecvDlmt = saved_.RecvDlmt;
  s.BaudRate = saved_.BaudRate;
  s.ByteSize = saved_.ByteSize;
  s.StopBits = saved_.StopBits;
  s.RecvTout = saved_.RecvTout;
  s.SendTout = saved_.SendTout;
  s.Ack_Tout = saved_.Ack_Tout;
  s.RTS_Cont = saved_.RTS_Cont;
  state_.ReportOpenErrors = true;
  state_.ProbeMode = false;
  running_ = false;
  found_ = found && state_.AckFlag;
  return found_ ? Status::Found : Status::NotFound;
}

ProbeBoard::Status ProbeBoard::step(Millis now) {
  if (!running_) return found_ ? Status::Found : Status::NotFound;
  if (!state_.ProbeMode || state_.ReportOpenErrors) return finish(false);
  if (waiting_) {
    const WaitAck::Status s = wait_.poll(now, state_.AckFlag);
    if (s == WaitAck::Status::Waiting) return Status::Running;
    receiver_.stop();
    port_.ClosePort();
    waiting_ = false;
    if (s == WaitAck::Status::Acked) {
      answered_ = current_;
      return finish(true);
    }
  }
  if (next_ >= ports_.size()) return finish(false);
  current_ = ports_[next_++];
  settings_.PortName = current_;
  const OpenResult opened = port_.OpenPort();
  if (!opened.ok) {
    lastFailure_ = opened;
    return Status::Running;
  }
  receiver_.start(now);
  state_.AckFlag = false;
  if (port_.SendText("Ver") != SendStatus::Sent) {
    receiver_.stop();
    port_.ClosePort();
    return Status::Running;
  }
  wait_.start(now, kAnswerTime);
  waiting_ = true;
  return Status::Running;
}

Millis ProbeBoard::nextDeadline() const {
  if (!running_) return kNoDeadline;
  return waiting_ ? wait_.nextDeadline() : 0;
}

std::string ProbeBoard::resultText() const { return settings_.PortName + (found_ ? ":OK" : ":NG"); }

std::string ProbeBoard::notFoundDetail(const std::string& portName) const {
  if (lastFailure_.failure != OpenFailure::None) return openFailureDetail(lastFailure_, 1);
  return text::format("no board answered \"Ver\" on %s within %d ms", portName.c_str(), kAnswerTime);
}

}  // namespace kavel
