#pragma once
// Owns the serial port for the windows and renders nothing: reads the port when its descriptor
// becomes readable, cuts and routes the board's lines on the UI thread, and tells the windows
// what arrived through typed signals. The windows set their listening marks in `state()`.

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "core/comm/LinkReceiver.h"
#include "core/comm/LinkState.h"
#include "core/comm/ProbeBoard.h"
#include "core/comm/RS232C.h"

class QSocketNotifier;
class QTimer;

namespace kavel {

struct Context;

class SerialLink final : public QObject {
  Q_OBJECT

 public:
  explicit SerialLink(Context& ctx, QObject* parent = nullptr);
  ~SerialLink() override;

  /// Opens the port of the settings; with `receive` the board's lines are read and routed
  /// until ClosePort. A failure is returned, never shown (the caller shows openFailureText
  /// when ReportOpenErrors is set).
  OpenResult OpenPort(bool receive);
  void ClosePort();
  SendStatus SendText(const QString& text);
  SendStatus SendBytes(const std::string& bytes);
  bool isOpen() const { return port_.isOpen(); }

  /// Searches the configured port, then `candidates`, for a board that answers "Ver".
  /// `probePort` names each port tried, `probeFinished` tells the result; the port is closed
  /// then. Clearing ProbeMode in `state()` cancels.
  void startProbe(std::vector<std::string> candidates);
  bool probing() const { return probing_; }

  LinkState& state() { return state_; }

 signals:
  /// Every line, for the main window's message log.
  void messageLogLine(const QString& text);
  /// Download window: a line for its receive log (empty it first when `clearLog`).
  void downloadLine(const QString& text, bool clearLog);
  void loaderBanner(const QString& text);
  void bannerRefused(const QString& text);
  void bootLoaderReady();
  /// Sensor monitor and its module windows.
  void monitorLine(const QString& text, bool clearLog);
  void connectorReport(const QString& text);
  void boardVersion(const QString& text);
  void optionReport(const QString& text);
  void compassLine(const QString& text);
  void ultrasonicLine(const QString& text);
  void cameraLine(const QString& text);
  void gamePadLine(const QString& text);
  void motorBalanceLine(const QString& text);
  /// An acknowledgement ("." while sending, a probe answer, a balance reply) arrived.
  void acknowledged();
  /// The link broke off; the port is closed. `text` is the box text in the current language.
  void disconnected(const QString& text);
  void probePort(const QString& portName);
  void probeFinished(bool found, const QString& statusText);

 private:
  void readPort();
  void route(const LineRoute& r);
  void schedule();
  void stopNotifier();

  Context& ctx_;
  LinkState state_;
  RS232C port_;
  LinkReceiver receiver_;
  ProbeBoard probe_;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* timer_;
  bool probing_ = false;
};

}  // namespace kavel
