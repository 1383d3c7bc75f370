#include "sim/SimWire.h"

#include <cstring>

namespace kavel::sim {
namespace {

template <class T>
void put(std::string& out, T v) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &v, sizeof(T));
  out.append(bytes, sizeof(T));
}

}  // namespace

WireWriter& WireWriter::u8(std::uint8_t v) {
  bytes_.push_back(static_cast<char>(v));
  return *this;
}
WireWriter& WireWriter::i32(std::int32_t v) {
  put(bytes_, v);
  return *this;
}
WireWriter& WireWriter::i64(std::int64_t v) {
  put(bytes_, v);
  return *this;
}
WireWriter& WireWriter::f64(double v) {
  put(bytes_, v);
  return *this;
}
WireWriter& WireWriter::text(std::string_view v) {
  put(bytes_, static_cast<std::uint32_t>(v.size()));
  bytes_.append(v);
  return *this;
}

std::string WireWriter::frame(std::uint8_t type) const {
  std::string out;
  put(out, static_cast<std::uint32_t>(bytes_.size() + 1));
  out.push_back(static_cast<char>(type));
  return out + bytes_;
}

bool WireReader::need(std::size_t n) {
  if (!ok_ || bytes_.size() - pos_ < n) ok_ = false;
  return ok_;
}

std::uint8_t WireReader::u8() { return need(1) ? static_cast<std::uint8_t>(bytes_[pos_++]) : 0; }

template <class T>
T WireReader::take() {
  T v{};
  if (need(sizeof v)) {
    std::memcpy(&v, bytes_.data() + pos_, sizeof v);
    pos_ += sizeof v;
  }
  return v;
}

std::int32_t WireReader::i32() { return take<std::int32_t>(); }
std::int64_t WireReader::i64() { return take<std::int64_t>(); }
double WireReader::f64() { return take<double>(); }

std::string WireReader::text() {
  const auto n = take<std::uint32_t>();
  if (!need(n)) return {};
  std::string s(bytes_.substr(pos_, n));
  pos_ += n;
  return s;
}

bool takeMessage(std::string& buffer, WireMessage& message, bool& broken) {
  broken = false;
  std::uint32_t length = 0;
  if (buffer.size() < sizeof length) return false;
  std::memcpy(&length, buffer.data(), sizeof length);
  if (length == 0 || length > kMaxWireMessage) {
    broken = true;
    return false;
  }
  if (buffer.size() - sizeof length < length) return false;
  message.type = static_cast<std::uint8_t>(buffer[sizeof length]);
  message.payload.assign(buffer, sizeof length + 1, length - 1);
  buffer.erase(0, sizeof length + length);
  return true;
}

std::string encodeSnapshot(const SimSnapshot& s) {
  WireWriter w;
  w.i64(s.timeUs).f64(s.x).f64(s.y).f64(s.heading).i32(s.motorLeft).i32(s.motorRight);
  for (int v : s.cn) w.i32(v);
  for (bool v : s.leds) w.u8(v ? 1 : 0);
  for (int v : s.pwm) w.i32(v);
  for (const std::string& line : s.lcd) w.text(line);
  for (int v : s.uss) w.i32(v);
  w.u8(s.bumperLeft).u8(s.bumperRight).u8(s.bumperCentre);
  w.i32(static_cast<std::int32_t>(s.camera.size()));
  for (const CameraBlock& b : s.camera) w.i32(b.signature).i32(b.x).i32(b.y).i32(b.width).i32(b.height);
  w.i32(static_cast<std::int32_t>(s.balls.size()));
  for (Point p : s.balls) w.f64(p.x).f64(p.y);
  return w.frame(static_cast<std::uint8_t>(HostMessage::Sample));
}

bool decodeSnapshot(std::string_view payload, SimSnapshot& s) {
  WireReader r(payload);
  s.timeUs = r.i64();
  s.x = r.f64();
  s.y = r.f64();
  s.heading = r.f64();
  s.motorLeft = r.i32();
  s.motorRight = r.i32();
  for (int& v : s.cn) v = r.i32();
  for (bool& v : s.leds) v = r.u8() != 0;
  for (int& v : s.pwm) v = r.i32();
  for (std::string& line : s.lcd) line = r.text();
  for (int& v : s.uss) v = r.i32();
  s.bumperLeft = r.u8() != 0;
  s.bumperRight = r.u8() != 0;
  s.bumperCentre = r.u8() != 0;
  const std::int32_t blocks = r.i32();
  if (!r.ok() || blocks < 0 || blocks > 64) return false;
  s.camera.resize(static_cast<std::size_t>(blocks));
  for (CameraBlock& b : s.camera) {
    b.signature = r.i32();
    b.x = r.i32();
    b.y = r.i32();
    b.width = r.i32();
    b.height = r.i32();
  }
  const std::int32_t balls = r.i32();
  if (!r.ok() || balls < 0 || static_cast<std::size_t>(balls) > payload.size() / 16) return false;
  s.balls.resize(static_cast<std::size_t>(balls));
  for (Point& p : s.balls) {
    p.x = r.f64();
    p.y = r.f64();
  }
  return r.atEnd();
}

std::string encodePad(const PadState& pad) {
  return WireWriter().i32(pad.buttons).i32(pad.leftStick).i32(pad.rightStick).frame(
      static_cast<std::uint8_t>(ClientMessage::Pad));
}

bool decodePad(std::string_view payload, PadState& pad) {
  WireReader r(payload);
  pad.buttons = static_cast<std::uint16_t>(r.i32());
  pad.leftStick = r.i32();
  pad.rightStick = r.i32();
  return r.atEnd();
}

std::size_t encodeEndedRaw(char* out, std::size_t capacity, EndKind kind, std::int64_t timeUs, const char* text) {
  std::uint32_t textLength = static_cast<std::uint32_t>(std::strlen(text));
  const std::size_t fixed = 4 + 1 + 1 + 8 + 4;
  if (capacity < fixed) return 0;
  if (textLength > capacity - fixed) textLength = static_cast<std::uint32_t>(capacity - fixed);
  const std::uint32_t length = static_cast<std::uint32_t>(1 + 1 + 8 + 4 + textLength);
  char* p = out;
  std::memcpy(p, &length, 4);
  p += 4;
  *p++ = static_cast<char>(HostMessage::Ended);
  *p++ = static_cast<char>(kind);
  std::memcpy(p, &timeUs, 8);
  p += 8;
  std::memcpy(p, &textLength, 4);
  p += 4;
  std::memcpy(p, text, textLength);
  return fixed + textLength;
}

}  // namespace kavel::sim
