#include "core/comm/RS232C.h"

#include <fcntl.h>
#include <grp.h>
#include <libserialport.h>
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

std::string groupOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  if (const group* g = ::getgrgid(st.st_gid)) return g->gr_name;
  return std::to_string(st.st_gid);
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
      r.group = groupOf(path);
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

bool RS232C::configureTermios() {
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
  return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool RS232C::configureSerialPort(std::string& error) {
  sp_port_config* config = nullptr;
  if (sp_new_config(&config) != SP_OK) return false;
  bool ok = sp_get_config(port_, config) == SP_OK;
  ok = ok && sp_set_config_baudrate(config, effectiveBaudRate(settings_.BaudRate)) == SP_OK;
  ok = ok && sp_set_config_bits(config, settings_.ByteSize == 8 ? 8 : 7) == SP_OK;
  ok = ok && sp_set_config_stopbits(config, settings_.StopBits == 1 ? 1 : 2) == SP_OK;
  const sp_parity parity = settings_.Parity__ == "ODD" ? SP_PARITY_ODD
                           : settings_.Parity__ == "EVEN" ? SP_PARITY_EVEN
                                                          : SP_PARITY_NONE;
  ok = ok && sp_set_config_parity(config, parity) == SP_OK;
  ok = ok && sp_set_config_xon_xoff(config, SP_XONXOFF_DISABLED) == SP_OK;
  ok = ok && sp_set_config_cts(config, SP_CTS_IGNORE) == SP_OK;
  ok = ok && sp_set_config_dsr(config, SP_DSR_IGNORE) == SP_OK;
  ok = ok && sp_set_config_dtr(config, SP_DTR_OFF) == SP_OK;
  ok = ok && sp_set_config_rts(config, settings_.RTS_Cont ? SP_RTS_ON : SP_RTS_OFF) == SP_OK;
  // The board sees both lines drop before the new settings take hold.
  setLines(false, false);
  ok = ok && sp_set_config(port_, config) == SP_OK;
  if (!ok) {
    char* message = sp_last_error_message();
    error = message ? message : "line settings";
    sp_free_error_message(message);
  }
  sp_free_config(config);
  return ok;
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

  std::string error;
  const bool configured = port_ ? configureSerialPort(error) : configureTermios();
  if (!configured) {
    if (error.empty()) error = std::strerror(errno);
    ClosePort();
    settings_.lineError = true;
    result.failure = OpenFailure::Settings;
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
