#include "core/comm/LineAssembler.h"

#include "core/comm/LinkState.h"

namespace kavel {
namespace {

constexpr std::string_view kUpdateQuestion = "Update?(y/n)";

}  // namespace

LineAssembler::LineAssembler(int recvDelimiterCode, int recvTout)
    : delimiterCode_(recvDelimiterCode), recvTout_(recvTout) {
  buffer_.reserve(kLineLimit + 4);
}

void LineAssembler::start(Millis now) {
  buffer_.clear();
  lastByte_ = now;
}

void LineAssembler::complete(const Sinks& sinks) {
  if (buffer_.empty()) return;
  const std::string line = std::move(buffer_);
  buffer_.clear();
  if (sinks.line) sinks.line(line);
}

void LineAssembler::feed(std::string_view bytes, Millis now, LinkState& state, const Sinks& sinks) {
  for (const char c : bytes) {
    // A NUL is line noise the board sends while it restarts: it never reaches a line. (The
    // bytes after it used to wait for the next poll step, which followed at once.)
    if (c == '\0') continue;
    buffer_.push_back(c);
    bool lineComplete = buffer_.size() > kLineLimit;
    switch (c) {
      case '\x03':
        if (delimiterCode_ == 1) lineComplete = true;
        break;
      case '\n':
        if (buffer_.size() >= 2 && buffer_[buffer_.size() - 2] == '\r') {
          buffer_.resize(buffer_.size() - 2);
          if (buffer_.empty()) buffer_ = "<CRLF>";
          lineComplete = true;
        }
        break;
      case '.':
        if (state.downloadState == kDownloadSending) {
          state.AckFlag = true;
          buffer_.clear();
        }
        break;
      case ':':
        if (state.downloadVisible && state.downloadStartEnabled &&
            std::string_view(buffer_).starts_with(kUpdateQuestion) &&
            (state.downloadState == kDownloadIdle || state.downloadState == kDownloadWaiting)) {
          state.downloadState = kDownloadWaiting;
          if (sinks.answerUpdate) sinks.answerUpdate();
          lineComplete = true;
        }
        break;
      default:
        break;
    }
    if (lineComplete) complete(sinks);
    lastByte_ = now;
  }
}

void LineAssembler::tick(Millis now, const Sinks& sinks) {
  if (now - lastByte_ > recvTout_) {
    complete(sinks);
    lastByte_ = now;
  }
}

Millis LineAssembler::nextDeadline() const {
  return buffer_.empty() ? kNoDeadline : lastByte_ + recvTout_ + 1;
}

}  // namespace kavel
