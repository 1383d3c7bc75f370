#pragma once
// The one serial port of the program. Opens the port named by the settings with their line
// settings, exclusively (a terminal and a download can never share a port), and reads and
// writes it without ever waiting for the board: whoever owns the link reads when the port's
// descriptor becomes readable.

#include <string>
#include <string_view>

#include "core/comm/BoardPort.h"

struct sp_port;

namespace kavel {

struct AppSettings;

class RS232C final : public BoardPort {
 public:
  /// The port settings (PortName, BaudRate, ByteSize, StopBits, Parity__, RTS_Cont, SendHead,
  /// SendDlmt) are read from `settings` at each open or send; portOpen and lineError are kept
  /// up to date in it.
  explicit RS232C(AppSettings& settings);
  ~RS232C() override;
  RS232C(const RS232C&) = delete;
  RS232C& operator=(const RS232C&) = delete;

  /// Closes the port if open, then opens PortName (a device path, a /dev/serial/by-id link or
  /// a pseudo-terminal) for reading and writing, exclusively; sets the line settings (speed
  /// from effectiveBaudRate, 8 or 7 data bits, 1 or 2 stop bits, parity, no flow control,
  /// DTR off, RTS on only with RTS_Cont), drops stale input. On failure lineError is set and
  /// the result says why (a refused line setting by its name); nothing is shown.
  OpenResult OpenPort() override;

  /// Drops DTR and RTS, gives up the exclusive claim on the device (so that a program of an
  /// ordinary user may open it next) and closes the port; nothing when it is not open. Clears
  /// portOpen and lineError.
  void ClosePort() override;

  /// Writes header, `text` and delimiter in one write. LineError: the port reported an error
  /// or hang-up before writing ("Send ClearCommError dwErrorMask != 0" is the message);
  /// CtsHold: RTS control is on and the board holds CTS; nothing is written either way.
  SendStatus SendText(std::string_view text);

  /// Writes raw bytes, after the error test.
  SendStatus SendBytes(std::string_view bytes) override;

  ReadStatus readAvailable(std::string& out) override;
  bool ctsHolds() const override;

  bool isOpen() const override { return fd_ >= 0; }
  /// The port's descriptor for a readiness notifier; -1 when closed.
  int descriptor() const override { return fd_; }

 private:
  bool portFailed() const;
  SendStatus write(std::string_view bytes);
  bool configureTermios(std::string& setting);
  bool configureSerialPort(std::string& setting, std::string& error);
  void setLines(bool rts, bool dtr);

  AppSettings& settings_;
  sp_port* port_ = nullptr;  // set when libserialport knows the device
  int fd_ = -1;
};

}  // namespace kavel
