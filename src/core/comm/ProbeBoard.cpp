#include "core/comm/ProbeBoard.h"

#include <algorithm>

#include "core/comm/BoardLink.h"
#include "core/comm/BoardTexts.h"
#include "core/comm/LineDispatcher.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"

namespace kavel {

ProbeBoard::ProbeBoard(BoardLink& link) : link_(link) {}

void ProbeBoard::start(Millis, std::vector<std::string> candidates, bool keepOpen) {
  const AppSettings& s = link_.settings();
  saved_ = {s.PortName, s.Parity__, s.SendHead, s.SendDlmt, s.RecvHead, s.RecvDlmt, s.BaudRate,
            s.ByteSize, s.StopBits, s.RecvTout, s.SendTout, s.Ack_Tout, s.RTS_Cont};
  LinkState& state = link_.state();
  state.ProbeMode = true;
  state.AckFlag = false;
  state.ReportOpenErrors = false;
  ports_.clear();
  ports_.push_back(s.PortName);
  for (std::string& c : candidates) {
    if (!c.empty() && std::find(ports_.begin(), ports_.end(), c) == ports_.end()) ports_.push_back(std::move(c));
  }
  next_ = 0;
  current_.clear();
  answered_.clear();
  otherAnswer_.clear();
  waiting_ = false;
  sendHeld_ = false;
  running_ = true;
  found_ = false;
  cancelled_ = false;
  keepOpen_ = keepOpen;
  lastFailure_ = {};
}

ProbeBoard::Status ProbeBoard::finish(bool found) {
  found_ = found && link_.state().AckFlag;
  if (waiting_ && !(found_ && keepOpen_)) link_.ClosePort();
  waiting_ = false;
  AppSettings& s = link_.settings();
  s.PortName = found_ ? answered_ : saved_.PortName;
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
  link_.state().ReportOpenErrors = true;
  link_.state().ProbeMode = false;
  running_ = false;
  if (link_.onProbeFinished) link_.onProbeFinished(found_, resultText());
  return found_ ? Status::Found : Status::NotFound;
}

void ProbeBoard::lineRouted(const LineRoute& route) {
  if (!running_ || !waiting_ || route.setAck || !otherAnswer_.empty()) return;
  // An empty line or the noise of a restart says nothing about who is on the other end.
  if (route.text.empty() || route.text == "<CRLF>") return;
  otherAnswer_ = route.text;
}

ProbeBoard::Status ProbeBoard::step(Millis now) {
  if (!running_) return found_ ? Status::Found : Status::NotFound;
  LinkState& state = link_.state();
  if (!state.ProbeMode || state.ReportOpenErrors) {
    cancelled_ = true;
    return finish(false);
  }
  if (waiting_ && sendHeld_) {
    // "Ver" waits for CTS: the 200 ms start when it has gone out.
    if (link_.holding()) return Status::Running;
    sendHeld_ = false;
    wait_.start(now, kAnswerTime);
  }
  if (waiting_) {
    // A port that broke off while it was asked simply did not answer.
    const WaitAck::Status s = link_.isOpen() ? wait_.poll(now, state.AckFlag) : WaitAck::Status::TimedOut;
    if (s == WaitAck::Status::Waiting) return Status::Running;
    if (s == WaitAck::Status::Acked) {
      answered_ = current_;
      return finish(true);
    }
    link_.ClosePort();
    waiting_ = false;
  }
  if (next_ >= ports_.size()) return finish(false);
  current_ = ports_[next_++];
  link_.settings().PortName = current_;
  if (link_.onProbePort) link_.onProbePort(current_);
  const OpenResult opened = link_.OpenPort(true);
  if (!opened.ok) {
    lastFailure_ = opened;
    return Status::Running;
  }
  state.AckFlag = false;
  const SendStatus sent = link_.SendText("Ver");
  if (sent != SendStatus::Sent && sent != SendStatus::CtsHold) {
    link_.ClosePort();
    return Status::Running;
  }
  wait_.start(now, kAnswerTime);
  waiting_ = true;
  sendHeld_ = sent == SendStatus::CtsHold;
  return Status::Running;
}

Millis ProbeBoard::nextDeadline() const {
  if (!running_) return kNoDeadline;
  if (sendHeld_) return kNoDeadline;  // the link's own deadline covers the wait for CTS
  return waiting_ ? wait_.nextDeadline() : 0;
}

std::string ProbeBoard::resultText() const { return link_.settings().PortName + (found_ ? ":OK" : ":NG"); }

std::string ProbeBoard::notFoundDetail(const std::string& portName, int language) const {
  if (!otherAnswer_.empty()) return anotherBoardAnswered(otherAnswer_, language);
  if (lastFailure_.failure != OpenFailure::None) return openFailureDetail(lastFailure_, language);
  return noAnswerText(portName, kAnswerTime, language);
}

}  // namespace kavel
