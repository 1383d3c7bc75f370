#include "core/comm/DownloadSession.h"

#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {

DownloadSession::DownloadSession(RS232C& port, LinkState& state, AppSettings& settings, const HexFile& image,
                                 Options options)
    : port_(port),
      state_(state),
      settings_(settings),
      options_(options),
      receiver_(port, state, settings),
      probe_(port, receiver_, state, settings),
      sender_(image, settings.SendTout, settings.Ack_Tout) {
  receiver_.onLine = [this](const LineRoute& route) {
    if (route.refuse) {
      refused_ = true;
      refusedBanner_ = route.text;
    }
    if (route.bootLoaderReady) ready_ = true;
    if (route.setAbort && state_.downloadState == kDownloadSending) errorLine_ = route.text;
    if (onLine) onLine(route);
  };
  receiver_.onLineError = [this] { broken_ = true; };
}

int DownloadSession::descriptor() const { return port_.descriptor(); }

void DownloadSession::start(Millis now) {
  state_ = LinkState{};
  probe_.start(now, {});
  phase_ = Phase::Probing;
  outcome_ = Outcome::Running;
  message_.clear();
}

DownloadSession::Outcome DownloadSession::end(Outcome outcome, std::string message) {
  receiver_.stop();
  port_.ClosePort();
  state_.downloadState = kDownloadIdle;
  state_.downloadVisible = false;
  phase_ = Phase::Ended;
  outcome_ = outcome;
  message_ = std::move(message);
  return outcome;
}

DownloadSession::Outcome DownloadSession::stepSending(Millis now) {
  for (;;) {
    const HexSender::Step s = sender_.step(now, state_);
    if (s == HexSender::Step::Idle) return Outcome::Running;
    if (s == HexSender::Step::Finished) {
      state_.downloadState = kDownloadFinished;
      if (options_.run && port_.SendBytes("R") != SendStatus::Sent) {
        return end(Outcome::TransferFailed, "the image was sent, but \"R\" (run) could not be sent: the link broke off");
      }
      return end(Outcome::Done, {});
    }
    if (s == HexSender::Step::Failed) {
      const int line = sender_.recordIndex() + 1;
      std::string why;
      if (broken_) {
        why = text::format("the link broke off at line %d (%s disconnected)", line, settings_.PortName.c_str());
      } else if (sender_.ackTimedOut()) {
        why = text::format("Ack Tout! no \".\" for line %d within %d ms", line, settings_.Ack_Tout);
      } else if (!errorLine_.empty()) {
        why = text::format("the boot loader answered line %d with \"%s\"", line, errorLine_.c_str());
      } else {
        why = text::format("line %d could not be sent", line);
      }
      return end(Outcome::TransferFailed, why);
    }
    // Send
    const SendStatus sent = port_.SendText(sender_.line());
    if (sent == SendStatus::CtsHold) {
      if (ctsSince_ < 0) ctsSince_ = now;
      if (now - ctsSince_ <= settings_.Ack_Tout) return Outcome::Running;
      ctsSince_ = -1;
      sender_.sent(now, state_, false);
      return end(Outcome::TransferFailed, "CTS Hold: the board did not let the next line go");
    }
    ctsSince_ = -1;
    sender_.sent(now, state_, sent == SendStatus::Sent);
  }
}

DownloadSession::Outcome DownloadSession::poll(Millis now) {
  if (phase_ == Phase::Ended) return outcome_;
  receiver_.poll(now);
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
      state_.AbortFlag = false;
      state_.downloadVisible = true;
      state_.downloadStartEnabled = true;
      state_.downloadState = kDownloadWaiting;
      ready_ = refused_ = broken_ = false;
      if (port_.SendText("Reset") != SendStatus::Sent) {
        return end(Outcome::NoBoard, text::format("\"Reset\" could not be sent to %s", settings_.PortName.c_str()));
      }
      deadline_ = now + options_.promptTime;
      phase_ = Phase::AwaitPrompt;
      return Outcome::Running;
    }
    case Phase::AwaitPrompt:
      if (refused_) {
        return end(Outcome::Refused, text::format("Can't Download: the boot loader \"%s\" does not fit this "
                                                  "product and microcontroller (MCU2620_ %d)",
                                                  refusedBanner_.c_str(), settings_.MCU2620_));
      }
      if (broken_) return end(Outcome::NoBoard, settings_.PortName + " disconnected while the board restarted");
      if (ready_) {
        deadline_ = now + options_.readyDelay;
        phase_ = Phase::ReadyDelay;
        return Outcome::Running;
      }
      if (now > deadline_) {
        return end(Outcome::NoPrompt, text::format("no boot-loader prompt (\"Please send [.hex] file.\") within %d ms "
                                                   "of \"Reset\"",
                                                   options_.promptTime));
      }
      return Outcome::Running;
    case Phase::ReadyDelay:
      if (broken_) return end(Outcome::NoBoard, settings_.PortName + " disconnected before the transfer");
      if (now < deadline_) return Outcome::Running;
      state_.downloadState = kDownloadSending;
      state_.downloadCancel = false;
      sender_.start(now, state_);
      phase_ = Phase::Sending;
      return stepSending(now);
    case Phase::Sending:
      return stepSending(now);
    case Phase::Ended:
      break;
  }
  return outcome_;
}

Millis DownloadSession::nextDeadline() const {
  Millis d = receiver_.nextDeadline();
  switch (phase_) {
    case Phase::Probing:
      d = std::min(d, probe_.nextDeadline());
      break;
    case Phase::AwaitPrompt:
    case Phase::ReadyDelay:
      d = std::min(d, deadline_ + 1);
      break;
    case Phase::Sending:
      d = std::min(d, ctsSince_ >= 0 ? ctsSince_ + 10 : sender_.nextDeadline());
      break;
    case Phase::Ended:
      break;
  }
  return d;
}

}  // namespace kavel
