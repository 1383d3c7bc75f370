#include "core/monitor/MotorBalanceSession.h"

#include "core/comm/LinkState.h"

namespace kavel {

MotorBalanceSession::MotorBalanceSession(BoardLink& link) : link_(link) {}

void MotorBalanceSession::open() {
  link_.state().motorBalanceListening = true;
  link_.attach(*this);
}

void MotorBalanceSession::close() {
  link_.state().motorBalanceListening = false;
  waiting_ = false;
  deadline_ = kNoDeadline;
  link_.detach(*this);
}

void MotorBalanceSession::ask(const std::string& command) {
  link_.state().AckFlag = false;
  // A failed send leaves the flag clear: the wait then ends in AnswerMissing.
  link_.SendText(command);
  waiting_ = true;
  deadline_ = link_.now() + kBalanceReplyTime;
}

void MotorBalanceSession::read() { ask(kAskBalance); }

void MotorBalanceSession::save(int position, int third) { ask(balanceSaveCommand(position, third)); }

std::optional<MotorBalanceSession::Event> MotorBalanceSession::takeEvent() {
  if (events_.empty()) return std::nullopt;
  Event e = events_.front();
  events_.pop_front();
  return e;
}

void MotorBalanceSession::lineRouted(const LineRoute& route, Millis) {
  if (route.target != LineTarget::MotorBalance) return;
  waiting_ = false;
  deadline_ = kNoDeadline;
  events_.push_back({EventKind::Reply, parseBalanceReply(route.text)});
}

void MotorBalanceSession::linkBroken(Millis) {
  waiting_ = false;
  deadline_ = kNoDeadline;
}

void MotorBalanceSession::advance(Millis now) {
  if (!waiting_ || now < deadline_) return;
  waiting_ = false;
  deadline_ = kNoDeadline;
  if (!link_.state().AckFlag) events_.push_back({EventKind::AnswerMissing, {}});
}

Millis MotorBalanceSession::nextDeadline() const { return deadline_; }

}  // namespace kavel
