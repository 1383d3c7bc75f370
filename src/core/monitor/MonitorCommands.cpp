#include "core/monitor/MonitorCommands.h"

#include "core/text/Format.h"

namespace kavel {

std::string outputCommand(int index, bool high) { return text::format("O%d:%d", index, high ? 1 : 0); }

std::string outputButtonCommand(int index, const std::string& valuePanel) {
  return outputCommand(index, valuePanel != "HIGH");
}

std::string ledCommand(int led, bool on) { return text::format("L%d:%d", led, on ? 1 : 0); }

int servoPulse(int position) { return position * 20 + 500; }

std::string servoCommand(int connector, int position) {
  return text::format(connector == 8 ? "s8:%04d" : "s7:%04d", servoPulse(position));
}

const char* moduleStopCommand(BoardModule module) {
  switch (module) {
    case BoardModule::Compass: return kCompassStreamOff;
    case BoardModule::Ultrasonic: return kUltrasonicStreamOff;
    case BoardModule::GamePad: return kGamePadStreamOff;
    case BoardModule::Camera: return kCameraStreamOff;
  }
  return kCompassStreamOff;
}

std::string idCommand(int id) { return text::format("ID:%d", id); }

VersionAction versionAction(bool startRequest, bool compassMark, bool ultrasonicMark) {
  VersionAction a;
  if (startRequest) {
    a.kind = VersionAction::StartSensors;
    a.closeModules = true;
    a.command = kSensorStreamOn;
  } else if (compassMark) {
    a.kind = VersionAction::StartCompass;
    a.command = kCompassStreamOn;
  } else if (ultrasonicMark) {
    a.kind = VersionAction::StartUltrasonic;
    a.command = kUltrasonicStreamOn;
  }
  a.chime = a.kind != VersionAction::Nothing;
  return a;
}

std::vector<TimedCommand> closingSequence(const std::array<int, 10>& modes) {
  std::vector<TimedCommand> seq;
  for (int i = 0; i < 10; ++i) {
    const int mode = modes[static_cast<std::size_t>(i)];
    if (mode == 0) seq.push_back({outputCommand(i, false), 100});
    if (mode == 2) seq.push_back({outputCommand(i, true), 100});
  }
  seq.push_back({ledCommand(1, false), 100});
  seq.push_back({ledCommand(0, false), 100});
  seq.push_back({kSensorStreamOff, 200});
  return seq;
}

}  // namespace kavel
