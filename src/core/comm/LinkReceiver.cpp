#include "core/comm/LinkReceiver.h"

#include "core/comm/LinkFraming.h"
#include "core/comm/LinkState.h"
#include "core/comm/BoardPort.h"
#include "core/settings/AppSettings.h"

namespace kavel {

LinkReceiver::LinkReceiver(BoardPort& port, LinkState& state, AppSettings& settings)
    : port_(port), state_(state), settings_(settings), assembler_(0, 100) {
  sinks_.line = [this](const std::string& bytes) { handleLine(bytes); };
  sinks_.answerUpdate = [this] {
    if (onAnswerUpdate) {
      onAnswerUpdate();
    } else {
      port_.SendBytes("y");
    }
  };
}

void LinkReceiver::start(Millis now) {
  assembler_ = LineAssembler(RecvDelimiterCode(settings_.RecvDlmt), settings_.RecvTout);
  assembler_.start(now);
  running_ = true;
  settings_.recvRunning = true;
  settings_.lineError = false;
}

void LinkReceiver::stop() {
  running_ = false;
  settings_.recvRunning = false;
}

void LinkReceiver::handleLine(const std::string& bytes) {
  const LineRoute route = LineDispatcher(bytes, state_, settings_.variant, settings_.MCU2620_);
  applyRoute(route, state_, settings_);
  if (onLine) onLine(route);
}

bool LinkReceiver::poll(Millis now) {
  if (!running_) return true;
  chunk_.clear();
  const ReadStatus status = port_.readAvailable(chunk_);
  if (!chunk_.empty()) assembler_.feed(chunk_, now, state_, sinks_);
  if (!running_) return true;  // a listener closed the link while handling a line
  if (status == ReadStatus::LineError) {
    if (state_.downloadState != kDownloadIdle) state_.AbortFlag = true;
    stop();
    port_.ClosePort();
    if (onLineError) onLineError();
    return false;
  }
  assembler_.tick(now, sinks_);
  return true;
}

Millis LinkReceiver::nextDeadline() const { return running_ ? assembler_.nextDeadline() : kNoDeadline; }

}  // namespace kavel
