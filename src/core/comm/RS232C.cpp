#include "core/comm/RS232C.h"

#include <fcntl.h>
#include <grp.h>
#include <libserialport.h>
#include <pwd.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/comm/LinkFraming.h"
#include "core/settings/AppSettings.h"

namespace kavel {
namespace {

// Who may open the device: its owner, its group and its mode, for the permission message.
void describeOwnership(const std::string& path, OpenResult& r) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;
  if (const group* g = ::getgrgid(st.st_gid)) {
    r.group = g->gr_name;
  } else {
    r.group = std::to_string(st.st_gid);
  }
  if (const passwd* p = ::getpwuid(st.st_uid)) {
    r.owner = p->pw_name;
  } else {
    r.owner = std::to_string(st.st_uid);
  }
  r.mode = static_cast<int>(st.st_mode & 07777);
}

OpenResult failure(const std::string& path, int err) {
  OpenResult r;
  r.device = path;
  r.system = std::strerror(err);
  switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      r.failure = OpenFailure::NotFound;
      break;
    case EACCES:
    case EPERM:
      r.failure = OpenFailure::Permission;
      describeOwnership(path, r);
      break;
    case EBUSY:
    case EWOULDBLOCK:
      r.failure = OpenFailure::InUse;
      break;
    case ENOTTY:
      r.failure = OpenFailure::NotSerial;
      break;
    default:
      r.failure = OpenFailure::Other;
      break;
  }
  return r;
}

speed_t termiosSpeed(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;  // 56000 and 76800 have no fixed code; only real ports use them
  }
}

}  // namespace

RS232C::RS232C(AppSettings& settings) : settings_(settings) {}

RS232C::~RS232C() { ClosePort(); }

bool RS232C::configureTermios(std::string& setting) {
  termios tio {};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD | (settings_.ByteSize == 8 ? CS8 : CS7);
  if (settings_.StopBits != 1) tio.c_cflag |= CSTOPB;
  if (settings_.Parity__ == "ODD") tio.c_cflag |= PARENB | PARODD;
  if (settings_.Parity__ == "EVEN") tio.c_cflag |= PARENB;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  const speed_t speed = termiosSpeed(effectiveBaudRate(settings_.BaudRate));
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
    setting = "line settings";
    return false;
  }
  // A device may take the call and keep some of its old settings: read back what holds now.
  termios now {};
  if (::tcgetattr(fd_, &now) != 0) return true;
  const std::string baud = std::to_string(effectiveBaudRate(settings_.BaudRate));
  if (::cfgetospeed(&now) != speed) setting = "BaudRate " + baud;
  else if ((now.c_cflag & CSIZE) != (tio.c_cflag & CSIZE)) setting = "ByteSize " + std::to_string(settings_.ByteSize);
  else if ((now.c_cflag & (PARENB | PARODD)) != (tio.c_cflag & (PARENB | PARODD))) setting = "Parity__ " + settings_.Parity__;
  else if ((now.c_cflag & CSTOPB) != (tio.c_cflag & CSTOPB)) setting = "StopBits " + std::to_string(settings_.StopBits);
  if (!setting.empty()) errno = EINVAL;
  return setting.empty();
}

bool RS232C::configureSerialPort(std::string& setting, std::string& error) {
  // The board sees both lines drop before the new settings take hold.
  setLines(false, false);
  // One setting at a time, so that the message can name the one the device refused.
  const int baud = effectiveBaudRate(settings_.BaudRate);
  const int bits = settings_.ByteSize == 8 ? 8 : 7;
  const int stops = settings_.StopBits == 1 ? 1 : 2;
  const sp_parity parity = settings_.Parity__ == "ODD" ? SP_PARITY_ODD
                           : settings_.Parity__ == "EVEN" ? SP_PARITY_EVEN
                                                          : SP_PARITY_NONE;
  const struct {
    std::string name;
    sp_return result;
  } steps[] = {
      {"BaudRate " + std::to_string(baud), sp_set_baudrate(port_, baud)},
      {"ByteSize " + std::to_string(bits), sp_set_bits(port_, bits)},
      {"Parity__ " + (settings_.Parity__.empty() ? std::string("NONE") : settings_.Parity__), sp_set_parity(port_, parity)},
      {"StopBits " + std::to_string(stops), sp_set_stopbits(port_, stops)},
      {"XON/XOFF off", sp_set_xon_xoff(port_, SP_XONXOFF_DISABLED)},
      {"CTS flow control off", sp_set_cts(port_, SP_CTS_IGNORE)},
      {"DSR flow control off", sp_set_dsr(port_, SP_DSR_IGNORE)},
      {"DTR off", sp_set_dtr(port_, SP_DTR_OFF)},
      {std::string("RTS_Cont ") + (settings_.RTS_Cont ? "1" : "0"), sp_set_rts(port_, settings_.RTS_Cont ? SP_RTS_ON : SP_RTS_OFF)},
  };
  for (const auto& step : steps) {
    if (step.result == SP_OK) continue;
    setting = step.name;
    char* message = sp_last_error_message();
    error = message ? message : "refused";
    sp_free_error_message(message);
    return false;
  }
  return true;
}

void RS232C::setLines(bool rts, bool dtr) {
  if (port_) {
    sp_set_rts(port_, rts ? SP_RTS_ON : SP_RTS_OFF);
    sp_set_dtr(port_, dtr ? SP_DTR_ON : SP_DTR_OFF);
    return;
  }
  // Pseudo-terminals have no modem lines; the calls fail harmlessly there.
  int rtsBit = TIOCM_RTS, dtrBit = TIOCM_DTR;
  ::ioctl(fd_, rts ? TIOCMBIS : TIOCMBIC, &rtsBit);
  ::ioctl(fd_, dtr ? TIOCMBIS : TIOCMBIC, &dtrBit);
}

OpenResult RS232C::OpenPort() {
  ClosePort();
  const std::string path = settings_.PortName;
  OpenResult result;
  result.device = path;

  if (sp_get_port_by_name(path.c_str(), &port_) == SP_OK) {
    if (sp_open(port_, SP_MODE_READ_WRITE) != SP_OK) {
      const int err = sp_last_error_code();
      sp_free_port(port_);
      port_ = nullptr;
      settings_.lineError = true;
      return failure(path, err ? err : EIO);
    }
    sp_get_port_handle(port_, &fd_);
  } else {
    // libserialport knows real serial devices only; a pseudo-terminal (the virtual board) is
    // opened and set up directly.
    if (port_) sp_free_port(port_);
    port_ = nullptr;
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
      settings_.lineError = true;
      return failure(path, errno);
    }
    if (!::isatty(fd_)) {
      ClosePort();
      settings_.lineError = true;
      return failure(path, ENOTTY);
    }
  }

  // Exclusive use: TIOCEXCL keeps other programs from opening the device at all, the lock
  // also stops programs running as root and those that opened it before us.
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd_, TIOCEXCL) != 0) {
    const int err = errno == EWOULDBLOCK ? EBUSY : errno;
    ClosePort();
    settings_.lineError = true;
    return failure(path, err);
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);

  std::string error, setting;
  const bool configured = port_ ? configureSerialPort(setting, error) : configureTermios(setting);
  if (!configured) {
    if (error.empty()) error = std::strerror(errno);
    ClosePort();
    settings_.lineError = true;
    result.failure = OpenFailure::Settings;
    result.setting = setting;
    result.system = error;
    return result;
  }
  if (!port_) setLines(settings_.RTS_Cont, false);
  termios tio {};
  if (::tcgetattr(fd_, &tio) == 0) {
    // Nonblocking reads then say "no data" as EAGAIN, and a read of 0 bytes means a hang-up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd_, TCSANOW, &tio);
  }
  ::tcflush(fd_, TCIOFLUSH);
  settings_.portOpen = true;
  settings_.lineError = false;
  result.ok = true;
  return result;
}

void RS232C::ClosePort() {
  if (fd_ >= 0) {
    setLines(false, false);
    // The exclusive mark stays on the device after close while another process (the virtual
    // board, a terminal) holds it open; left set, the next open by an ordinary user fails
    // with EBUSY.
    ::ioctl(fd_, TIOCNXCL);
    if (port_) {
      sp_close(port_);
    } else {
      ::close(fd_);
    }
  }
  if (port_) sp_free_port(port_);
  port_ = nullptr;
  fd_ = -1;
  settings_.portOpen = false;
  settings_.recvRunning = false;
  settings_.lineError = false;
}

bool RS232C::portFailed() const {
  pollfd p{fd_, 0, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

bool RS232C::ctsHolds() const {
  if (fd_ < 0 || !settings_.RTS_Cont) return false;
  if (port_) {
    sp_signal signals{};
    return sp_get_signals(port_, &signals) == SP_OK && !(signals & SP_SIG_CTS);
  }
  int bits = 0;
  return ::ioctl(fd_, TIOCMGET, &bits) == 0 && !(bits & TIOCM_CTS);
}

SendStatus RS232C::write(std::string_view bytes) {
  if (fd_ < 0) return SendStatus::NotOpen;
  if (portFailed()) return SendStatus::LineError;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      // The output queue is full: let it drain, but never hang on a board that stopped reading.
      pollfd p{fd_, POLLOUT, 0};
      if (::poll(&p, 1, 2000) > 0 && !(p.revents & (POLLHUP | POLLERR))) continue;
    }
    return portFailed() ? SendStatus::LineError : SendStatus::WriteFailed;
  }
  return SendStatus::Sent;
}

SendStatus RS232C::SendText(std::string_view text) {
  if (fd_ < 0) return SendStatus::NotOpen;
  if (portFailed()) return SendStatus::LineError;
  if (ctsHolds()) return SendStatus::CtsHold;
  return write(framedText(settings_, text));
}

SendStatus RS232C::SendBytes(std::string_view bytes) { return write(bytes); }

ReadStatus RS232C::readAvailable(std::string& out) {
  if (fd_ < 0) return ReadStatus::LineError;
  bool got = false;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n > 0) {
      out.append(chunk, static_cast<std::size_t>(n));
      got = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return portFailed() ? ReadStatus::LineError : (got ? ReadStatus::Data : ReadStatus::Nothing);
    // 0 bytes from a blocking-style terminal read, or EIO: the other end hung up.
    return ReadStatus::LineError;
  }
}

}  // namespace kavel
