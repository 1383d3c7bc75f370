#include "VirtualBoard.h"

#include <cstdio>
#include <cstdlib>

namespace vboard {
namespace {

// How long the restarted board waits for "y" before it runs its program again.
constexpr Millis kUpdateWait = 500;

// Noise a board sends while it restarts: no CR LF pair, no ".", no ":" and no letters, so it
// can only disturb a host that mishandles control and high bytes.
constexpr std::string_view kNoise{"\x00\xff\x1b\x7f\xfe\x01\x80\x9f", 8};

std::string fmt(const char* f, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
  char buf[128];
  std::snprintf(buf, sizeof buf, f, a, b, c, d, e);
  return buf;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool validRecord(std::string_view line, int* type) {
  if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) return false;
  int sum = 0, count = -1, t = -1;
  std::size_t n = 0;
  for (std::size_t i = 1; i < line.size(); i += 2, ++n) {
    const int hi = hexValue(line[i]), lo = hexValue(line[i + 1]);
    if (hi < 0 || lo < 0) return false;
    const int byte = hi * 16 + lo;
    if (n == 0) count = byte;
    if (n == 3) t = byte;
    sum += byte;
  }
  if (type) *type = t;
  return (sum & 0xFF) == 0 && static_cast<std::size_t>(count) + 5 == n;
}

VirtualBoard::VirtualBoard(std::string version, std::string banner, Faults faults, StreamSetup streams)
    : version_(std::move(version)), banner_(std::move(banner)), faults_(faults), streams_(std::move(streams)) {
  if (streams_.periodUs < 1000) streams_.periodUs = 1000;
  // Modes as the monitor reads them: characters 6..15, a non-digit or a digit above 6 is 1.
  for (int i = 0; i < 10; ++i) {
    const std::size_t at = 5 + static_cast<std::size_t>(i);
    const char c = at < streams_.config.size() ? streams_.config[at] : '1';
    modes_[i] = c >= '0' && c <= '6' ? c - '0' : 1;
    outputs_[i] = modes_[i] == 2;  // outputs start at their resting state
  }
}

void VirtualBoard::say(Millis at, std::string bytes) {
  if (faults_.mute || mode_ == Mode::Silent) return;
  queue_.push_back({at, std::move(bytes), false});
}

void VirtualBoard::sayLine(Millis now, const std::string& text) {
  say(now, (faults_.garbage ? std::string(kNoise) : std::string()) + text + "\r\n");
}

void VirtualBoard::receive(std::string_view bytes, Millis now) {
  for (const char c : bytes) {
    if (mode_ == Mode::Silent) return;
    if (mode_ == Mode::AskingUpdate) {
      if (c == 'y' || c == 'Y') {
        mode_ = Mode::Loader;
        hexLines_ = 0;
        lastAckAt_ = now;
        if (faults_.garbage) say(now + 20, std::string(kNoise));
        say(now + 30, "\r\n" + banner_ + "\r\n");
        if (!faults_.noPrompt) say(now + 40, "Please send [.hex] file.\r\n");
      } else if (c == 'n' || c == 'N') {
        mode_ = Mode::Running;
        sayLine(now + 20, version_);
      }
      continue;
    }
    if (mode_ == Mode::LoaderDone && line_.empty() && (c == 'R' || c == 'r')) {
      mode_ = Mode::Running;
      sayLine(now + 20, version_);
      continue;
    }
    if (c == '\r' || c == '\n' || c == '\x03') {
      if (!line_.empty()) {
        const std::string line = std::move(line_);
        line_.clear();
        if (mode_ == Mode::Loader || mode_ == Mode::LoaderDone) {
          loaderLine(line, now);
        } else {
          command(line, now);
        }
      }
      continue;
    }
    if (c == '\x01' || c == '\x02') continue;  // send headers
    if (line_.size() < 4096) line_.push_back(c);
  }
}

void VirtualBoard::loaderLine(const std::string& line, Millis now) {
  if (line[0] != ':') {
    sayLine(now, "Please send [.hex] file.");
    return;
  }
  ++hexLines_;
  if (faults_.hangupAt == hexLines_) {
    queue_.push_back({now, {}, true});
    mode_ = Mode::Silent;
    return;
  }
  if (faults_.noAckAt == hexLines_) {
    mode_ = Mode::Silent;
    return;
  }
  int type = -1;
  if (faults_.errorAt == hexLines_ || !validRecord(line, &type)) {
    sayLine(now, fmt("\r\nchecksum error at line %d", hexLines_));
    return;
  }
  // Acks leave in order even when a slow one is followed by more lines.
  Millis at = now + faults_.slowAck;
  if (at < lastAckAt_) at = lastAckAt_;
  lastAckAt_ = at;
  say(at, (faults_.garbage ? std::string(kNoise.substr(1, 3)) : std::string()) + ".");
  if (type == 1) mode_ = Mode::LoaderDone;
}

void VirtualBoard::command(const std::string& line, Millis now) {
  int a = 0, b = 0, c = 0;
  if (line == "Ver") {
    sayLine(now + 5, version_);
  } else if (line == "Reset") {
    sensorStream_ = compassStream_ = ussStream_ = pixyStream_ = padStream_ = false;
    mode_ = Mode::AskingUpdate;
    askedAt_ = now + 20;
    say(now + 20, "\r\nUpdate?(y/n):");
  } else if (std::sscanf(line.c_str(), "S%d:%d", &a, &b) == 2) {
    bool* streams[] = {&sensorStream_, &compassStream_, &padStream_, &ussStream_, &pixyStream_};
    if (a >= 0 && a <= 4) *streams[a] = b != 0;
    if (a == 0 && b != 0) configSent_ = false;
    streamStart_ = now + 10;
    rounds_ = 0;
    nextStream_ = streamStart_;
  } else if (std::sscanf(line.c_str(), "O%d:%d", &a, &b) == 2 && a >= 0 && a < 10) {
    outputs_[a] = b != 0;
  } else if (std::sscanf(line.c_str(), "L%d:%d", &a, &b) == 2 && a >= 0 && a < 3) {
    leds_[a] = b != 0;
  } else if (std::sscanf(line.c_str(), "s7:%d", &a) == 1) {
    servo7_ = a;
  } else if (std::sscanf(line.c_str(), "s8:%d", &a) == 1) {
    servo8_ = a;
  } else if (std::sscanf(line.c_str(), "ID:%d", &a) == 1) {
    subId_ = a;
    configSent_ = false;  // the unit now answering tells its own configuration
  } else if (line == "B:?") {
    sayLine(now + 5, fmt("B:%03d,%03d,%03d", balance_[0], balance_[1], balance_[2]));
  } else if (std::sscanf(line.c_str(), "B:%d,%d,%d", &a, &b, &c) == 3) {
    balance_[0] = a;
    balance_[1] = b;
    balance_[2] = c;
    sayLine(now + 5, fmt("B:%03d,%03d,%03d", a, b, c));
  }
}

std::string VirtualBoard::configLine() const {
  std::string line = streams_.config;
  const std::size_t id = line.find("ID:");
  if (id != std::string::npos && id + 3 < line.size()) {
    line[id + 3] = static_cast<char>('0' + subId_ % 10);
  } else if (subId_ != 0) {
    line += fmt(" ID:%d", subId_);
  }
  return line;
}

int VirtualBoard::connectorValue(int i) const {
  // Readings that move through the interesting values of each mode: full scale and zero on
  // the analogue inputs, PING distances, a thermistor that now and then reads out of range.
  const int t = phase_;
  switch (modes_[i]) {
    case 0:
    case 2:
      return outputs_[i] ? 1000 : 0;
    case 3:
      return 345 + (t * 7 + i * 50) % 2500;
    case 4:
      return i == 6 ? servo7_ : i == 7 ? servo8_ : 1500;
    case 6:
      return t % 25 == 24 ? 1500 + t % 100 : 200 + (t * 3 + i) % 150;
    default: {
      const int v = (t * 37 + i * 101) % 1200;
      return v > 1023 ? 1023 : v;  // rests at full scale for a while
    }
  }
}

std::string VirtualBoard::report() {
  std::string s;
  for (int n = 0; n < 10; ++n) s += fmt(n == 0 ? "CN%d=%04d" : ",CN%d=%04d", n + 1, connectorValue(n));
  s += ",LED=";
  s += fmt("%d%d%d", leds_[0], leds_[1], leds_[2]);
  return s;
}

void VirtualBoard::tick(Millis now) {
  if (mode_ == Mode::AskingUpdate && now >= askedAt_ + kUpdateWait) {
    mode_ = Mode::Running;
    sayLine(now, version_);
  }
  if (now < nextStream_) return;
  // Rounds keep to the rate on average, however late this tick came.
  ++rounds_;
  nextStream_ = streamStart_ + rounds_ * streams_.periodUs / 1000;
  if (nextStream_ <= now) nextStream_ = now + 1;
  if (mode_ != Mode::Running) return;
  ++phase_;
  if (sensorStream_) {
    if (!configSent_) {
      configSent_ = true;
      sayLine(now, configLine());
    }
    sayLine(now, report());
    ++reportsSent_;
  }
  if (compassStream_) sayLine(now, fmt("D:%03d,%03d,%03d", (phase_ * 7) % 360, 90 + phase_ % 20, 90 - phase_ % 20));
  if (ussStream_) {
    sayLine(now, fmt("U:%04d,%04d,%04d,%04d", 1234, 500 + (phase_ * 11) % 2000, 0, 2999));
  }
  if (pixyStream_) {
    sayLine(now, "#Pixy:" + fmt("%03d,%03d,%03d,%03d,%03d ", 1, 40 + phase_ % 240, 100, 20, 10) +
                     fmt("%03d,%03d,%03d,%03d,%03d ", 2, 160, 100, 20, 10));
  }
  if (padStream_) sayLine(now, fmt("P:%04X,%03d,%03d", (phase_ % 16) << 4, 128, 128 + phase_ % 100));
}

Millis VirtualBoard::nextTick() const {
  if (mode_ == Mode::AskingUpdate) return askedAt_ + kUpdateWait;
  const bool any = sensorStream_ || compassStream_ || ussStream_ || pixyStream_ || padStream_;
  return any ? nextStream_ : INT64_MAX;
}

bool VirtualBoard::takeDue(Millis now, Output& out) {
  // Outputs are queued in time order except that a fault may queue "now" behind a later one.
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->at <= now) {
      out = std::move(*it);
      queue_.erase(it);
      return true;
    }
    break;
  }
  return false;
}

Millis VirtualBoard::nextOutput() const { return queue_.empty() ? INT64_MAX : queue_.front().at; }

}  // namespace vboard
