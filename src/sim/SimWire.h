#pragma once
// The control channel between a simulation client and the process that runs the program: a
// stream of messages, each a 4-byte length, a 1-byte type and its fields (little-endian integers,
// doubles as their bytes, texts with their length). Both sides are of one build on one machine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/GamePad.h"
#include "sim/Snapshot.h"

namespace kavel::sim {

/// From the program's process to the client.
enum class HostMessage : std::uint8_t {
  Ready = 1,       // the program is loaded; waits for time
  LoadFailed = 2,  // text: why the program could not be loaded (an undefined function ...)
  Sample = 3,      // a SimSnapshot
  Waiting = 4,     // time: it has used all the time it was given
  Ended = 5,       // kind, time, text
};

/// From the client to the program's process.
enum class ClientMessage : std::uint8_t {
  Grant = 1,      // time: run until this simulated time (microseconds)
  Pad = 2,        // the game pad's state
  SetOutput = 3,  // connector index, level
  SetLed = 4,     // LED, on
  SetServo = 5,   // connector index, pulse in microseconds
};

enum class EndKind : std::uint8_t {
  Returned = 1,  // user_main returned
  TimeUp = 2,    // the simulated time ran out
  Crashed = 3,   // text: what the program did
};

/// The longest message either side accepts; a longer one means the stream is broken.
inline constexpr std::uint32_t kMaxWireMessage = 1u << 20;

class WireWriter {
 public:
  WireWriter& u8(std::uint8_t v);
  WireWriter& i32(std::int32_t v);
  WireWriter& i64(std::int64_t v);
  WireWriter& f64(double v);
  WireWriter& text(std::string_view v);
  /// The whole message with its length and type in front.
  std::string frame(std::uint8_t type) const;

 private:
  std::string bytes_;
};

/// Reads fields in order; once a field runs past the end every later read fails too.
class WireReader {
 public:
  explicit WireReader(std::string_view bytes) : bytes_(bytes) {}
  std::uint8_t u8();
  std::int32_t i32();
  std::int64_t i64();
  double f64();
  std::string text();
  bool ok() const { return ok_; }
  bool atEnd() const { return ok_ && pos_ == bytes_.size(); }

 private:
  bool need(std::size_t n);
  template <class T>
  T take();
  std::string_view bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

struct WireMessage {
  std::uint8_t type = 0;
  std::string payload;
};

/// Takes the first whole message off the front of `buffer`. False when it holds no whole one
/// yet; `broken` is set when the length can never be right.
bool takeMessage(std::string& buffer, WireMessage& message, bool& broken);

std::string encodeSnapshot(const SimSnapshot& s);
bool decodeSnapshot(std::string_view payload, SimSnapshot& s);

std::string encodePad(const PadState& pad);
bool decodePad(std::string_view payload, PadState& pad);

/// An Ended message written into `out` (at least 64 + strlen(text) bytes) with nothing but
/// byte copies, so a signal handler may build it. Returns its length.
std::size_t encodeEndedRaw(char* out, std::size_t capacity, EndKind kind, std::int64_t timeUs, const char* text);

}  // namespace kavel::sim
