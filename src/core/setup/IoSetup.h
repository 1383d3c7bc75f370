#pragma once
// What is wired to the board: connector modes and names, option modules, sub I/O identity and
// the flags derived from the program. One per process (held by the Context).

#include <array>
#include <string>

namespace kavel {

/// Mode of one connector, stored as one decimal digit. Values outside 0..6 are kept as they
/// come (a file may hold any digit).
enum ConnectorMode : int {
  OutL = 0,
  Input = 1,
  OutH = 2,
  PingIn = 3,
  Servo = 4,
  Input2Wire = 5,
  Thermistor = 6,
};

struct IoSetup {
  std::array<int, 10> cnMode{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  std::array<std::string, 10> cnName;  // the CN-NAME values of the settings file

  bool advancedMode = false;
  bool useDir = false;
  bool useMcb = false;
  bool useLcd = false;
  bool useHmc = false;
  bool useClf = false;
  bool useCls = false;
  bool useUss = false;
  bool useBno = false;
  bool usePixy = false;
  bool useZbtm = false;
  bool useWl102 = false;
  bool useWl103 = false;
  bool useWl109 = false;
  bool useSnx4410 = false;
  bool subIoOn = false;
  int subIoId = 0;  // 0 master, 1..8 slave

  bool outputInUse = false;     // some of CN1..CN8 is OutL or OutH
  bool servoInUse = false;      // some of CN1..CN8 is Servo
  bool interruptInUse = false;  // Main calls Sub-30
};

/// The encoded setup of a program set, written as the setup line of the Main program file.
struct SetupRecord {
  int setupKind = 7;  // 7 SetupSingle, 8 SetupWithSubIo
  std::array<int, 3> setupValue{111111, 110000, 0};
  std::string setupComment;
};

}  // namespace kavel
