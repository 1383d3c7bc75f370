#include "core/comm/DownloadSession.h"

#include <algorithm>
#include <filesystem>

#include "core/comm/BoardTexts.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {

DownloadSession::DownloadSession(BoardLink& link, std::string hexPath, Options options)
    : link_(link), hexPath_(std::move(hexPath)), options_(std::move(options)), probe_(link) {}

int DownloadSession::state() const { return link_.state().downloadState; }

void DownloadSession::push(EventKind kind, std::string text, std::string detail, int count, bool cancelled) {
  events_.push_back({kind, std::move(text), std::move(detail), count, cancelled});
}

std::optional<DownloadSession::Event> DownloadSession::takeEvent() {
  if (events_.empty()) return std::nullopt;
  Event e = std::move(events_.front());
  events_.pop_front();
  return e;
}

void DownloadSession::setStartEnabled(bool on) { link_.state().downloadStartEnabled = on; }

void DownloadSession::start() {
  link_.attach(*this);
  LinkState& st = link_.state();
  st.AckFlag = st.AbortFlag = st.downloadCancel = false;
  st.downloadState = kDownloadIdle;
  outcome_ = Outcome::Running;
  message_.clear();
  failures_ = 0;
  phase_ = Phase::Searching;
  probe_.start(link_.now(), options_.candidates, true);
}

void DownloadSession::startConnected(int state) {
  link_.attach(*this);
  outcome_ = Outcome::Running;
  message_.clear();
  const bool startAtOnce = options_.startAtOnce;
  options_.startAtOnce = false;
  connected(state == kDownloadWaiting && link_.isOpen() ? kDownloadWaiting : kDownloadIdle);
  options_.startAtOnce = startAtOnce;
}

void DownloadSession::connected(int state) {
  LinkState& st = link_.state();
  st.downloadState = state;
  st.downloadVisible = true;
  st.downloadCancel = false;
  setStartEnabled(true);
  startRequest_ = false;
  phase_ = Phase::Waiting;
  push(EventKind::Connected);
  if (options_.startAtOnce) pressStart();
}

void DownloadSession::searchEnded(ProbeBoard::Status status, Millis) {
  if (status == ProbeBoard::Status::Found) {
    // The search leaves the port it found open and receiving.
    connected(link_.isOpen() ? kDownloadWaiting : kDownloadIdle);
    return;
  }
  if (probe_.cancelled()) {
    end(Outcome::Cancelled);
    return;
  }
  const std::string& port = link_.settings().PortName;
  if (!options_.askWhileSearching) {
    end(Outcome::NoBoard, probe_.notFoundDetail(port, options_.language));
    return;
  }
  // Without a board the configured port is opened all the same: a board in its loader, or one
  // that only answers after "Reset", can still take the image.
  LinkState& st = link_.state();
  st.ReportOpenErrors = false;
  const bool opened = link_.OpenPort(true).ok;
  st.ReportOpenErrors = true;
  if (opened || ++failures_ >= options_.searchTries) {
    connected(kDownloadIdle);
    return;
  }
  phase_ = Phase::AskingSearch;
  push(EventKind::SearchAgain, probe_.otherAnswer(), probe_.notFoundDetail(port, options_.language), failures_);
}

void DownloadSession::answerSearch(bool again) {
  if (phase_ != Phase::AskingSearch) return;
  if (!again) {
    end(Outcome::Cancelled);
    return;
  }
  phase_ = Phase::Searching;
  probe_.start(link_.now(), options_.candidates, true);
}

void DownloadSession::pressStart() {
  if (phase_ != Phase::Waiting && phase_ != Phase::AwaitPrompt && phase_ != Phase::ReadyDelay) return;
  LinkState& st = link_.state();
  // A disabled Start button stays disabled until the window shows again or the question after
  // a missing prompt is answered.
  if (!st.downloadStartEnabled) return;
  switch (st.downloadState) {
    case kDownloadRefused:
      return;
    case kDownloadIdle:
      link_.ClosePort();
      setStartEnabled(false);
      phase_ = Phase::StartSearching;
      probe_.start(link_.now(), options_.candidates, true);
      return;
    case kDownloadWaiting:
      sendReset(link_.now());
      return;
    default:
      st.downloadState = kDownloadSending;
      beginSending(link_.now());
      return;
  }
}

void DownloadSession::startSearchEnded(ProbeBoard::Status status, Millis now) {
  LinkState& st = link_.state();
  if (status == ProbeBoard::Status::Found) {
    if (!link_.isOpen()) {
      const OpenResult opened = link_.OpenPort(true);
      if (!opened.ok) {
        setStartEnabled(true);
        phase_ = Phase::Waiting;
        push(EventKind::OpenFailed,
             openFailureText(opened, link_.settings().PortName, options_.language, false));
        return;
      }
    }
    st.downloadState = kDownloadWaiting;
    setStartEnabled(true);
    sendReset(now);
    return;
  }
  if (probe_.cancelled()) {
    setStartEnabled(true);
    phase_ = Phase::Waiting;
    return;
  }
  startRequest_ = true;
  st.ReportOpenErrors = false;
  link_.OpenPort(true);
  st.ReportOpenErrors = true;
  lastLine_ = probe_.otherAnswer();
  autoStartCheck(now);
}

void DownloadSession::sendReset(Millis now) {
  startRequest_ = true;
  bannerAccepted_ = false;
  unknownLoader_ = false;
  lastLine_.clear();
  const SendStatus sent = link_.SendText("Reset");
  if (options_.endOnFailure && sent != SendStatus::Sent && sent != SendStatus::CtsHold) {
    end(Outcome::NoBoard, text::format("\"Reset\" could not be sent to %s", link_.settings().PortName.c_str()));
    return;
  }
  deadline_ = now + options_.promptTime;
  phase_ = Phase::AwaitPrompt;
}

void DownloadSession::loaderReady(Millis now) {
  push(EventKind::LoaderReady);
  if (options_.autoStart) {
    startRequest_ = false;
    deadline_ = now + options_.readyDelay;
    phase_ = Phase::ReadyDelay;
    return;
  }
  // The next press of Start sends the image. The auto-start timer has nothing left to check:
  // left running, it would ask whether the board answers although it just did.
  link_.state().downloadState = kDownloadSending;
  deadline_ = kNoDeadline;
  phase_ = Phase::Waiting;
}

void DownloadSession::refuse(const std::string& text, const std::string& why) {
  LinkState& st = link_.state();
  st.downloadState = kDownloadRefused;
  st.AbortFlag = true;
  st.downloadCancel = true;
  setStartEnabled(false);
  deadline_ = kNoDeadline;
  push(EventKind::Refused, text);
  if (options_.endOnFailure) {
    end(Outcome::Refused, why);
  } else {
    phase_ = Phase::Waiting;
  }
}

void DownloadSession::autoStartCheck(Millis now) {
  deadline_ = kNoDeadline;
  LinkState& st = link_.state();
  if (st.downloadState == kDownloadWaiting && !startRequest_) {
    st.downloadState = kDownloadSending;
    beginSending(now);
    return;
  }
  setStartEnabled(false);
  if (options_.endOnFailure) {
    std::string why = text::format("no boot-loader prompt (\"Please send [.hex] file.\") within %d ms of \"Reset\"",
                                   options_.promptTime);
    if (!lastLine_.empty()) why += "; " + anotherBoardAnswered(lastLine_, options_.language);
    end(Outcome::NoPrompt, why);
    return;
  }
  phase_ = Phase::AskingNoPrompt;
  push(EventKind::NoPrompt, lastLine_);
}

void DownloadSession::answerNoPrompt() {
  if (phase_ != Phase::AskingNoPrompt) return;
  link_.state().downloadState = kDownloadIdle;
  startRequest_ = false;
  setStartEnabled(true);
  phase_ = Phase::Waiting;
}

void DownloadSession::beginSending(Millis now) {
  LinkState& st = link_.state();
  push(EventKind::SendingStarted);
  setStartEnabled(false);
  st.downloadCancel = false;
  st.AbortFlag = false;
  errorLine_.clear();
  broken_ = false;
  awaitingCts_ = false;
  deadline_ = kNoDeadline;
  phase_ = Phase::Sending;
  std::error_code ec;
  if (!std::filesystem::exists(hexPath_, ec)) {
    st.AbortFlag = true;
    transferFailed(text::format("%s does not exist", hexPath_.c_str()));
    return;
  }
  // The image is read once, here: a file rebuilt or changed while the transfer runs does not
  // mix into it.
  HexReadResult read = readHexFile(hexPath_);
  if (!read.ok) {
    push(EventKind::ImageUnreadable, "Can't open ... " + hexPath_, read.error);
    st.downloadCancel = true;
    st.AbortFlag = true;
    transferFailed(read.error);
    return;
  }
  image_ = std::move(read.image);
  int sendTout = link_.settings().SendTout, ackTout = link_.settings().Ack_Tout;
  if (readTimeouts) readTimeouts(sendTout, ackTout);
  sender_.emplace(image_, sendTout, ackTout);
  sender_->start(now, st);
  stepSending(now);
}

void DownloadSession::stepSending(Millis now) {
  LinkState& st = link_.state();
  for (;;) {
    if (awaitingCts_) {
      if (link_.holding()) return;
      awaitingCts_ = false;
      sender_->sent(now, st, link_.lastHeldResult() == SendStatus::Sent);
    }
    const HexSender::Step s = sender_->step(now, st);
    switch (s) {
      case HexSender::Step::Idle:
        return;
      case HexSender::Step::Finished:
        transferDone();
        return;
      case HexSender::Step::Failed: {
        const int line = sender_->recordIndex() + 1;
        std::string why;
        if (sender_->ackTimedOut()) push(EventKind::AckTimeout, "Ack Tout!");
        if (broken_) {
          why = text::format("the link broke off at line %d (%s disconnected)", line,
                             link_.settings().PortName.c_str());
        } else if (sender_->ackTimedOut()) {
          why = text::format("Ack Tout! no \".\" for line %d within %d ms", line, sender_->ackTimeout());
        } else if (!errorLine_.empty()) {
          why = text::format("the boot loader answered line %d with \"%s\"", line, errorLine_.c_str());
        } else if (st.downloadCancel && !st.AbortFlag) {
          why = text::format("cancelled at line %d", line);
        } else {
          why = text::format("line %d could not be sent", line);
        }
        transferFailed(why);
        return;
      }
      case HexSender::Step::Send: {
        push(EventKind::LineSent, sender_->line());
        const SendStatus sent = link_.SendText(sender_->line());
        if (sent == SendStatus::CtsHold) {
          awaitingCts_ = true;
          return;
        }
        sender_->sent(now, st, sent == SendStatus::Sent);
        break;
      }
    }
  }
}

void DownloadSession::transferFailed(const std::string& why) {
  LinkState& st = link_.state();
  const bool cancelled = st.downloadCancel && !st.AbortFlag;
  push(EventKind::TransferFailed, why, {}, 0, cancelled);
  setStartEnabled(false);
  if (st.downloadState == kDownloadSending) st.downloadState = kDownloadWaiting;
  st.downloadCancel = false;
  if (options_.endOnFailure) {
    end(Outcome::TransferFailed, why);
  } else {
    phase_ = Phase::Waiting;
  }
}

void DownloadSession::transferDone() {
  LinkState& st = link_.state();
  st.downloadState = kDownloadFinished;
  st.downloadCancel = false;
  if (options_.run) {
    const SendStatus sent = link_.SendBytes("R");
    if (sent != SendStatus::Sent && sent != SendStatus::CtsHold) {
      const std::string why = "the image was sent, but \"R\" (run) could not be sent: the link broke off";
      push(EventKind::TransferFailed, why);
      if (options_.endOnFailure) {
        end(Outcome::TransferFailed, why);
      } else {
        phase_ = Phase::Waiting;
      }
      return;
    }
  }
  push(EventKind::TransferDone);
  if (!options_.endOnFailure) {
    phase_ = Phase::Waiting;
  } else if (link_.holding()) {
    phase_ = Phase::Finishing;
  } else {
    end(Outcome::Done);
  }
}

std::string DownloadSession::lostBoardText(const char* when) const {
  return link_.settings().PortName + " disconnected " + when;
}

void DownloadSession::lineRouted(const LineRoute& route, Millis now) {
  if (phase_ == Phase::Searching || phase_ == Phase::StartSearching) {
    probe_.lineRouted(route);
    return;
  }
  if (route.target != LineTarget::Download) return;
  if (phase_ == Phase::Sending) {
    if (route.setAbort) errorLine_ = route.text;
    return;
  }
  if (phase_ != Phase::AwaitPrompt && phase_ != Phase::ReadyDelay) return;
  if (route.showInLoaderPanel) {
    push(EventKind::LoaderBanner, route.text);
    if (!route.newDownloadState) bannerAccepted_ = true;
  }
  if (route.refuse) {
    refuse(route.text, text::format("Can't Download: the boot loader \"%s\" does not fit this product and "
                                    "microcontroller (MCU2620_ %d)",
                                    route.text.c_str(), link_.settings().MCU2620_));
    return;
  }
  if (route.bootLoaderReady) {
    if (phase_ != Phase::AwaitPrompt || !link_.state().downloadStartEnabled) return;
    if (!bannerAccepted_ && !options_.acceptUnknownLoader) {
      const std::string why = unknownLoaderText(lastLine_, options_.language);
      unknownLoader_ = true;
      refuse(why, why);
      return;
    }
    loaderReady(now);
    return;
  }
  if (!route.showInLoaderPanel && route.text != "<CRLF>" && route.text.find("Update?(y/n)") == std::string::npos) {
    lastLine_ = route.text;
  }
}

void DownloadSession::linkBroken(Millis now) {
  switch (phase_) {
    case Phase::Sending:
      broken_ = true;
      link_.state().AbortFlag = true;
      stepSending(now);
      return;
    case Phase::AwaitPrompt:
    case Phase::ReadyDelay:
    case Phase::Waiting:
      if (link_.state().downloadState != kDownloadWaiting) return;
      link_.state().downloadState = kDownloadIdle;
      deadline_ = kNoDeadline;
      push(EventKind::Disconnected, link_.settings().PortName);
      if (options_.endOnFailure) {
        end(Outcome::NoBoard, lostBoardText(phase_ == Phase::ReadyDelay ? "before the transfer"
                                                                         : "while the board restarted"));
      } else {
        phase_ = Phase::Waiting;
      }
      return;
    default:
      return;
  }
}

void DownloadSession::advance(Millis now) {
  switch (phase_) {
    case Phase::Searching: {
      const ProbeBoard::Status s = probe_.step(now);
      if (s != ProbeBoard::Status::Running) searchEnded(s, now);
      return;
    }
    case Phase::StartSearching: {
      const ProbeBoard::Status s = probe_.step(now);
      if (s != ProbeBoard::Status::Running) startSearchEnded(s, now);
      return;
    }
    case Phase::AwaitPrompt:
      // "Reset" waits for CTS: the board's second starts when it has gone out.
      if (link_.holding()) deadline_ = now + options_.promptTime;
      if (now >= deadline_) autoStartCheck(now);
      return;
    case Phase::ReadyDelay:
      if (now >= deadline_) autoStartCheck(now);
      return;
    case Phase::Sending:
      stepSending(now);
      return;
    case Phase::Finishing:
      if (!link_.holding()) end(Outcome::Done);
      return;
    default:
      return;
  }
}

Millis DownloadSession::nextDeadline() const {
  switch (phase_) {
    case Phase::Searching:
    case Phase::StartSearching:
      return probe_.nextDeadline();
    case Phase::AwaitPrompt:
    case Phase::ReadyDelay:
      return deadline_;
    case Phase::Sending:
      return awaitingCts_ || !sender_ ? kNoDeadline : sender_->nextDeadline();
    default:
      return kNoDeadline;
  }
}

bool DownloadSession::cancelTransfer() {
  if (phase_ != Phase::Sending) return false;
  // The line that waits for its "." is given up at once.
  link_.state().downloadCancel = true;
  stepSending(link_.now());
  return true;
}

void DownloadSession::finish(bool cancelled) {
  if (phase_ != Phase::Ended) end(cancelled ? Outcome::Cancelled : Outcome::Done);
}

void DownloadSession::end(Outcome outcome, std::string message) {
  LinkState& st = link_.state();
  if (probe_.running()) {
    st.ProbeMode = false;
    probe_.step(link_.now());
  }
  link_.ClosePort();
  st.downloadState = kDownloadIdle;
  st.downloadVisible = false;
  st.downloadCancel = false;
  setStartEnabled(false);
  deadline_ = kNoDeadline;
  phase_ = Phase::Ended;
  outcome_ = outcome;
  message_ = std::move(message);
  link_.detach(*this);
}

}  // namespace kavel
