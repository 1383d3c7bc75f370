#pragma once
// Owns the serial port for the windows and renders nothing: reads the port when its descriptor
// becomes readable or a session's deadline has come, cuts and routes the board's lines on the
// UI thread, lets the sessions of the windows (download, monitor, motor balance, module
// streams) take their steps, and tells the windows what arrived through typed signals. The
// windows set their listening marks in `state()`.

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/comm/ProbeBoard.h"

class QSocketNotifier;
class QTimer;

namespace kavel {

struct Context;

class SerialLink final : public QObject {
  Q_OBJECT

 public:
  /// The link over the serial port the settings name.
  explicit SerialLink(Context& ctx, QObject* parent = nullptr);
  /// The link over `port` (a virtual board in tests).
  SerialLink(Context& ctx, std::unique_ptr<BoardPort> port, QObject* parent = nullptr);
  ~SerialLink() override;

  /// Opens the port of the settings; with `receive` the board's lines are read and routed
  /// until ClosePort. A failure is returned, never shown (the caller shows openFailureText
  /// when ReportOpenErrors is set).
  OpenResult OpenPort(bool receive);
  void ClosePort();
  /// Sends a text; while the board holds CTS it waits (bounded) and "CTS Hold" goes to the log.
  SendStatus SendText(const QString& text);
  SendStatus SendBytes(const std::string& bytes);
  bool isOpen() const { return board_.isOpen(); }

  /// Searches the configured port, then `candidates`, for a board that answers "Ver".
  /// `probePort` names each port tried, `probeFinished` tells the result; the port is closed
  /// then. Clearing ProbeMode in `state()` cancels.
  void startProbe(std::vector<std::string> candidates);
  /// A board search runs (this one or a session's).
  bool probing() const { return state_.ProbeMode; }

  LinkState& state() { return state_; }
  /// The link the sessions run on.
  BoardLink& board() { return board_; }
  /// A window started something on a session: its next steps run soon.
  void wake();

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
  /// The link read the port and its sessions took their steps: windows collect their events.
  void polled();

 private:
  void readPort();
  void route(const LineRoute& r);
  void notice(const std::string& text);
  void schedule();
  void stopNotifier();

  class Probe;

  Context& ctx_;
  LinkState state_;
  std::unique_ptr<BoardPort> port_;
  BoardLink board_;
  std::unique_ptr<Probe> probe_;
  QSocketNotifier* notifier_ = nullptr;
  int watched_ = -1;
  QTimer* timer_;
};

}  // namespace kavel
