#include "core/comm/HexSender.h"

#include "core/comm/LinkState.h"
#include "core/text/Format.h"

namespace kavel {

HexSender::HexSender(const HexFile& image, int sendTout, int ackTout)
    : image_(image), sendTout_(sendTout), ackTout_(ackTout) {}

void HexSender::start(Millis now, LinkState& state) {
  state.AbortFlag = false;
  index_ = 0;
  position_ = 0;
  highest_ = 0;
  addressText_.clear();
  ackTimedOut_ = false;
  phase_ = image_.records.empty() ? Phase::Done : Phase::Pausing;
  pause_.start(now, sendTout_);
}

const std::string& HexSender::line() const {
  static const std::string none;
  return index_ < recordCount() ? image_.records[static_cast<std::size_t>(index_)].line : none;
}

void HexSender::sent(Millis now, LinkState& state, bool ok) {
  if (phase_ != Phase::Sending) return;
  if (!ok) {
    state.AbortFlag = true;
    state.downloadCancel = true;
    phase_ = Phase::Stopped;
    return;
  }
  phase_ = Phase::Waiting;
  wait_.start(now, ackTout_);
}

HexSender::Step HexSender::finishLine(LinkState& state) {
  const HexRecord& record = image_.records[static_cast<std::size_t>(index_)];
  position_ = record.endOffset;
  if (state.AbortFlag) state.downloadCancel = true;
  if (state.downloadCancel) {
    phase_ = Phase::Stopped;
    return Step::Failed;
  }
  ++index_;
  // A record without data bytes is the end record: the loader takes nothing after it.
  if (record.byteCount == 0 || index_ >= recordCount()) {
    phase_ = Phase::Done;
    return Step::Finished;
  }
  if (record.address > highest_) {
    highest_ = record.address;
    addressText_ = text::format(" 0x%04X", highest_);
  }
  phase_ = Phase::Pausing;
  return Step::Idle;
}

HexSender::Step HexSender::step(Millis now, LinkState& state) {
  for (;;) {
    switch (phase_) {
      case Phase::Done:
        return Step::Finished;
      case Phase::Stopped:
        return Step::Failed;
      case Phase::Sending:
        return Step::Send;
      case Phase::Pausing:
        if (state.downloadCancel || state.AbortFlag) {
          state.downloadCancel = true;
          phase_ = Phase::Stopped;
          return Step::Failed;
        }
        if (!pause_.over(now)) return Step::Idle;
        state.AckFlag = false;
        phase_ = Phase::Sending;
        return Step::Send;
      case Phase::Waiting: {
        const WaitAck::Status s = wait_.poll(now, state.AckFlag);
        if (s == WaitAck::Status::Waiting) {
          if (!state.AbortFlag && !state.downloadCancel) return Step::Idle;
        } else if (s == WaitAck::Status::TimedOut) {
          ackTimedOut_ = true;
          state.AbortFlag = true;
        }
        const Step after = finishLine(state);
        if (after != Step::Idle) return after;
        pause_.start(now, sendTout_);
        break;
      }
    }
  }
}

Millis HexSender::nextDeadline() const {
  switch (phase_) {
    case Phase::Pausing:
      return pause_.nextDeadline();
    case Phase::Waiting:
      return wait_.nextDeadline();
    case Phase::Sending:
      return 0;
    default:
      return kNoDeadline;
  }
}

}  // namespace kavel
