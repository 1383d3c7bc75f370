#include "gui/comm/SerialLink.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

#include "core/Context.h"
#include "core/comm/RS232C.h"
#include "core/comm/SerialOpenError.h"

namespace kavel {

// A search of its own, for a window that only needs to know where the board is.
class SerialLink::Probe final : public LinkClient {
 public:
  explicit Probe(BoardLink& link) : link_(link), probe_(link) {}
  void start(std::vector<std::string> candidates) {
    link_.attach(*this);
    probe_.start(link_.now(), std::move(candidates));
  }
  void lineRouted(const LineRoute& route, Millis) override { probe_.lineRouted(route); }
  void linkBroken(Millis) override {}
  void advance(Millis now) override {
    if (probe_.running() && probe_.step(now) != ProbeBoard::Status::Running) link_.detach(*this);
  }
  Millis nextDeadline() const override { return probe_.nextDeadline(); }

 private:
  BoardLink& link_;
  ProbeBoard probe_;
};

SerialLink::SerialLink(Context& ctx, QObject* parent)
    : SerialLink(ctx, std::make_unique<RS232C>(ctx.settings), parent) {}

SerialLink::SerialLink(Context& ctx, std::unique_ptr<BoardPort> port, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      port_(std::move(port)),
      board_(*port_, state_, ctx.settings),
      probe_(std::make_unique<Probe>(board_)),
      timer_(new QTimer(this)) {
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &SerialLink::readPort);
  board_.onLine = [this](const LineRoute& r) { route(r); };
  board_.onNotice = [this](const std::string& text) { notice(text); };
  board_.onLineError = [this] {
    // A port that breaks off during a search simply did not answer.
    if (state_.ProbeMode) return;
    emit disconnected(QString::fromStdString(disconnectedText(ctx_.settings.PortName, ctx_.messages.language())));
  };
  board_.onProbePort = [this](const std::string& port) { emit probePort(QString::fromStdString(port)); };
  board_.onProbeFinished = [this](bool found, const std::string& status) {
    emit probeFinished(found, QString::fromStdString(status));
  };
}

SerialLink::~SerialLink() {
  stopNotifier();
  probe_.reset();
  board_.ClosePort();
}

void SerialLink::stopNotifier() {
  // The notifier may be the one whose signal is running: let the event loop delete it.
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
  }
  watched_ = -1;
}

OpenResult SerialLink::OpenPort(bool receive) {
  const OpenResult result = board_.OpenPort(receive);
  schedule();
  return result;
}

void SerialLink::ClosePort() {
  board_.ClosePort();
  schedule();
}

SendStatus SerialLink::SendText(const QString& text) {
  const SendStatus s = board_.SendText(text.toStdString());
  if (s == SendStatus::CtsHold) wake();
  return s;
}

SendStatus SerialLink::SendBytes(const std::string& bytes) {
  const SendStatus s = board_.SendBytes(bytes);
  if (s == SendStatus::CtsHold) wake();
  return s;
}

void SerialLink::wake() { timer_->start(0); }

void SerialLink::readPort() {
  const bool acked = state_.AckFlag;
  board_.poll();
  if (!acked && state_.AckFlag) emit acknowledged();
  emit polled();
  schedule();
}

void SerialLink::schedule() {
  // The search moves from port to port, and a window may have opened or closed the port:
  // watch the descriptor that is open and receiving now.
  const int fd = board_.receiving() ? board_.descriptor() : -1;
  if (fd != watched_) {
    stopNotifier();
    if (fd >= 0) {
      notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
      connect(notifier_, &QSocketNotifier::activated, this, &SerialLink::readPort);
      watched_ = fd;
    }
  }
  const Millis next = board_.nextDeadline();
  if (next == kNoDeadline) {
    timer_->stop();
    return;
  }
  const Millis wait = std::max<Millis>(0, next - board_.now());
  timer_->start(static_cast<int>(std::min<Millis>(wait, 60000)));
}

void SerialLink::startProbe(std::vector<std::string> candidates) {
  board_.ClosePort();
  probe_->start(std::move(candidates));
  wake();
}

void SerialLink::notice(const std::string& text) {
  const QString line = QString::fromStdString(text);
  emit messageLogLine(line);
  if (state_.downloadVisible) {
    emit downloadLine(line, false);
  } else if (state_.sensorMonitorListening) {
    emit monitorLine(line, false);
  }
}

void SerialLink::route(const LineRoute& r) {
  const QString text = QString::fromStdString(r.text);
  emit messageLogLine(text);
  switch (r.target) {
    case LineTarget::Download:
      if (r.showInLoaderPanel) emit loaderBanner(text);
      if (r.addToLog) emit downloadLine(text, r.clearLog);
      if (r.refuse) emit bannerRefused(text);
      if (r.bootLoaderReady) emit bootLoaderReady();
      break;
    case LineTarget::SensorMonitor:
      switch (r.monitorHandler) {
        case MonitorHandler::ConnectorReport: emit connectorReport(text); break;
        case MonitorHandler::Version: emit boardVersion(text); break;
        case MonitorHandler::OptionReport: emit optionReport(text); break;
        case MonitorHandler::None: break;
      }
      switch (r.module) {
        case ModuleTarget::Compass: emit compassLine(text); break;
        case ModuleTarget::Ultrasonic: emit ultrasonicLine(text); break;
        case ModuleTarget::Camera: emit cameraLine(text); break;
        case ModuleTarget::GamePad: emit gamePadLine(text); break;
        case ModuleTarget::None: break;
      }
      if (r.addToLog) emit monitorLine(text, r.clearLog);
      break;
    case LineTarget::GamePad:
      emit gamePadLine(text);
      break;
    case LineTarget::MotorBalance:
      emit motorBalanceLine(text);
      break;
    case LineTarget::None:
      break;
  }
}

}  // namespace kavel
