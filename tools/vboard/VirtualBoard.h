#pragma once
// A robot controller board with its boot loader, as far as the serial line shows it: answers
// "Ver", restarts on "Reset" with "Update?(y/n):" (left unanswered for half a second, it starts
// its program again and says its version), runs the boot loader (banner, prompt, one
// "." per HEX line, "R" to run), and sends the sensor and module streams the monitors read.
// Faults can be switched on to try what the program does when a board misbehaves. No I/O here:
// bytes go in, timed outputs come out.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace vboard {

using Millis = std::int64_t;

struct Faults {
  int noAckAt = 0;      // HEX line N gets no "." (and the loader falls silent)
  int errorAt = 0;      // HEX line N is answered with an error line
  int hangupAt = 0;     // the line hangs up when HEX line N arrives
  int slowAck = 0;      // ms before each "."
  bool garbage = false; // noise bytes before replies
  bool mute = false;    // never answers anything
  bool noPrompt = false; // the boot loader shows its banner but never asks for the file
};

struct Output {
  Millis at = 0;
  std::string bytes;
  bool hangup = false;  // close the line instead of writing
};

/// What the board streams and how often.
struct StreamSetup {
  int periodUs = 100000;  // one round of stream lines every period (microseconds)
  // The configuration line sent when the sensor stream starts: "CNio:", one mode digit per
  // connector, the sub I/O and the option modules. The reports follow these modes.
  std::string config = "CNio:1111113400 USE_USS USE_DIR USE_PIXY USE_SNX4410";
};

class VirtualBoard {
 public:
  VirtualBoard(std::string version, std::string banner, Faults faults, StreamSetup streams = {});

  /// Bytes from the host at `now`.
  void receive(std::string_view bytes, Millis now);
  /// Emits stream reports that are due at `now`.
  void tick(Millis now);
  /// When `tick` must run next.
  Millis nextTick() const;

  /// Outputs due at or before `now`, oldest first; removed from the queue.
  bool takeDue(Millis now, Output& out);
  Millis nextOutput() const;

  int hexLines() const { return hexLines_; }
  /// Sensor reports sent so far.
  long reportsSent() const { return reportsSent_; }
  bool inLoader() const { return mode_ == Mode::Loader || mode_ == Mode::LoaderDone; }

 private:
  enum class Mode { Running, AskingUpdate, Loader, LoaderDone, Silent };
  void command(const std::string& line, Millis now);
  void loaderLine(const std::string& line, Millis now);
  void say(Millis at, std::string bytes);
  void sayLine(Millis now, const std::string& text);
  std::string report();
  std::string configLine() const;
  int connectorValue(int index) const;

  std::string version_;
  std::string banner_;
  Faults faults_;
  StreamSetup streams_;
  int modes_[10] = {};
  Mode mode_ = Mode::Running;
  std::string line_;
  std::deque<Output> queue_;
  Millis lastAckAt_ = 0;
  int hexLines_ = 0;
  Millis askedAt_ = 0;  // when "Update?(y/n):" was asked; unanswered, the program starts

  // Streams and board state.
  bool sensorStream_ = false, compassStream_ = false, ussStream_ = false, pixyStream_ = false, padStream_ = false;
  bool configSent_ = false;
  Millis nextStream_ = 0;
  Millis streamStart_ = 0;
  long rounds_ = 0;
  int phase_ = 0;
  long reportsSent_ = 0;
  int outputs_[10] = {};
  int leds_[3] = {};
  int servo7_ = 1500, servo8_ = 1500;
  int subId_ = 0;
  int balance_[3] = {0, 0, 10};
};

/// The board's HEX record check: ":" then pairs of hexadecimal digits whose sum is 0 mod 256.
bool validRecord(std::string_view line, int* type = nullptr);

}  // namespace vboard
