#pragma once
// What the sensor monitor says to the board: stream switches, outputs, LEDs, servos, the sub
// I/O choice, what to do when the board's version line arrives, and the closing sequence that
// leaves the board at rest.

#include <array>
#include <string>
#include <vector>

namespace kavel {

inline constexpr const char* kAskVersion = "Ver";
inline constexpr const char* kRestartBoard = "Reset";
inline constexpr const char* kSensorStreamOn = "S0:1";
inline constexpr const char* kSensorStreamOff = "S0:0";
inline constexpr const char* kCompassStreamOn = "S1:1";
inline constexpr const char* kCompassStreamOff = "S1:0";
inline constexpr const char* kGamePadStreamOff = "S2:0";
inline constexpr const char* kUltrasonicStreamOn = "S3:1";
inline constexpr const char* kUltrasonicStreamOff = "S3:0";
inline constexpr const char* kCameraStreamOff = "S4:0";
/// Sent after each configuration line: the green LED shows the board is being watched.
inline constexpr const char* kConfigLedOn = "L0:1";
/// The pause between the chime of a sub I/O choice and "ID:%d".
inline constexpr int kIdDelay = 500;

/// The modules the sensor monitor opens a window for, in the order of its buttons.
enum class BoardModule { Compass, Ultrasonic, GamePad, Camera };
inline constexpr int kBoardModules = 4;

/// What stops a module's stream once its window has closed: "S1:0", "S3:0", "S2:0", "S4:0".
const char* moduleStopCommand(BoardModule module);

/// "O%d:1" / "O%d:0" for output connector `index` (CN1 is 0).
std::string outputCommand(int index, bool high);

/// The output button of connector `index`: high unless its value panel reads "HIGH".
std::string outputButtonCommand(int index, const std::string& valuePanel);

/// "L%d:1" / "L%d:0" for LED `led` (0 green, 1 red 1, 2 red 2).
std::string ledCommand(int led, bool on);

/// An LED button switches the LED to the opposite of what is shown.
inline std::string ledButtonCommand(int led, bool shownLit) { return ledCommand(led, !shownLit); }

/// Servo pulse in microseconds for track bar position `position` (0..100): 500..2500.
int servoPulse(int position);

/// "s7:%04d" or "s8:%04d" for connector 7 or 8 with the track bar at `position`.
std::string servoCommand(int connector, int position);

/// "ID:%d": 0 the master, 1..8 sub I/O 1..8.
std::string idCommand(int id);

/// What the version handler does when the board's version line arrives.
struct VersionAction {
  enum Kind { Nothing, StartSensors, StartCompass, StartUltrasonic } kind = Nothing;
  bool closeModules = false;  // close the module windows and clear their marks
  bool chime = false;         // play the chime
  std::string command;        // "S0:1", "S1:1", "S3:1", or nothing
};

/// The start request wins over the compass mark, which wins over the ultrasonic mark.
VersionAction versionAction(bool startRequest, bool compassMark, bool ultrasonicMark);

struct TimedCommand {
  std::string command;
  int pauseMs = 0;  // wait after sending
};

/// What closing a monitor that is monitoring sends: each output connector its resting state
/// ("O%d:0" for mode 0, "O%d:1" for mode 2), then the red LED 1 and the green LED off, then the
/// stream off.
std::vector<TimedCommand> closingSequence(const std::array<int, 10>& modes);

}  // namespace kavel
