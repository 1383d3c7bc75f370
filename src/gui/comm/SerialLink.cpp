#include "gui/comm/SerialLink.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

#include "core/Context.h"
#include "core/comm/SerialOpenError.h"

namespace kavel {

SerialLink::SerialLink(Context& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      port_(ctx.settings),
      receiver_(port_, state_, ctx.settings),
      probe_(port_, receiver_, state_, ctx.settings),
      timer_(new QTimer(this)) {
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &SerialLink::readPort);
  receiver_.onLine = [this](const LineRoute& r) { route(r); };
  receiver_.onLineError = [this] {
    stopNotifier();
    if (probing_) return;  // a port that breaks off during a search simply did not answer
    emit disconnected(QString::fromStdString(disconnectedText(ctx_.settings.PortName, ctx_.messages.language())));
  };
}

SerialLink::~SerialLink() {
  stopNotifier();
  receiver_.stop();
  port_.ClosePort();
}

void SerialLink::stopNotifier() {
  // The notifier may be the one whose signal is running: let the event loop delete it.
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
  }
  timer_->stop();
}

OpenResult SerialLink::OpenPort(bool receive) {
  ClosePort();
  const OpenResult result = port_.OpenPort();
  if (result.ok && receive) {
    receiver_.start(steadyMillis());
    notifier_ = new QSocketNotifier(port_.descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SerialLink::readPort);
  }
  return result;
}

void SerialLink::ClosePort() {
  stopNotifier();
  receiver_.stop();
  port_.ClosePort();
}

SendStatus SerialLink::SendText(const QString& text) { return port_.SendText(text.toStdString()); }

SendStatus SerialLink::SendBytes(const std::string& bytes) { return port_.SendBytes(bytes); }

void SerialLink::readPort() {
  const bool acked = state_.AckFlag;
  receiver_.poll(steadyMillis());
  if (!acked && state_.AckFlag) emit acknowledged();
  if (probing_) {
    const ProbeBoard::Status s = probe_.step(steadyMillis());
    if (s == ProbeBoard::Status::Running) {
      emit probePort(QString::fromStdString(probe_.currentPort()));
      // The search may have moved to another port: watch the descriptor that is open now. A
      // port that did not open leaves none, and the next one is tried at once.
      stopNotifier();
      if (port_.isOpen()) {
        notifier_ = new QSocketNotifier(port_.descriptor(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SerialLink::readPort);
      }
    } else {
      probing_ = false;
      stopNotifier();
      emit probeFinished(s == ProbeBoard::Status::Found, QString::fromStdString(probe_.resultText()));
      return;
    }
  }
  schedule();
}

void SerialLink::schedule() {
  Millis next = receiver_.nextDeadline();
  if (probing_) next = std::min(next, probe_.nextDeadline());
  if (next == kNoDeadline) return;
  const Millis wait = std::max<Millis>(0, next - steadyMillis());
  timer_->start(static_cast<int>(std::min<Millis>(wait, 60000)));
}

void SerialLink::startProbe(std::vector<std::string> candidates) {
  ClosePort();
  probing_ = true;
  probe_.start(steadyMillis(), std::move(candidates));
  timer_->start(0);
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
