// Every statement the dialogs can make builds with the sample build folder's stand-in tool
// chain: for a few I/O setups, programs hold each statement kind and condition across the values
// its dialog allows (one value range at a time, not every combination), packed by the dialogs'
// own rules, and `kavel build` must compile them without an error.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "RunProcess.h"
#include "Statements.h"
#include "core/Context.h"
#include "core/dialogs/LcdLine.h"
#include "core/dialogs/OperandList.h"
#include "core/dialogs/OutputChoices.h"
#include "core/dialogs/PwmCodes.h"
#include "core/dialogs/SensorComparison.h"
#include "core/dialogs/ServoChoice.h"
#include "core/dialogs/TimerForm.h"
#include "core/dialogs/VariableForm.h"
#include "core/model/ConditionChoice.h"
#include "core/model/MotorPattern.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramSet.h"
#include "core/model/RepeatCount.h"
#include "core/model/StatementKind.h"
#include "core/modules/CameraValues.h"
#include "core/modules/DirectionValues.h"
#include "core/modules/GamePadValues.h"
#include "core/modules/UltrasonicValues.h"
#include "core/settings/ProductVariant.h"
#include "core/setup/SetupCodec.h"

using namespace kavel;
using kavel::testing::row;
using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

using Rows = std::vector<Statement>;

// One condition with a body, closed: if, else-if, else or while around a wait.
void addCondition(Rows& rows, int sno, int cno, int v0, int v1, int v2 = 0) {
  rows.push_back(row(sno, cno, v0, v1, v2));
  rows.push_back(row(kWait, kWait, 1));
  if (sno == kWhile) rows.push_back(row(kBreak, 0));
  rows.push_back(row(kEnd, sno == kWhile ? kClosesWhile : kClosesIfChain));
}

// The program the user would build for `io` in program `program` (0 Main, 30 the interrupt
// routine): each statement and condition the palette and the condition chooser offer there.
Rows dialogRows(const IoSetup& io, int program) {
  Rows rows;
  const bool interrupt = program == ProgramSet::kInterruptSub;
  const bool subIo = io.subIoOn;
  const std::vector<int> offered = offeredConditionKinds(kIf, io, program);
  const auto offers = [&offered](int kind) { return std::find(offered.begin(), offered.end(), kind) != offered.end(); };

  // Structure: loops with counts at both ends, breaks and continues, an else-if chain.
  for (int count : {kRepeatCountMin, 1, kRepeatCountMax}) {
    rows.push_back(row(kFor, kRepeatCount, count));
    rows.push_back(row(kContinue, 0));
    rows.push_back(row(kEnd, kClosesFor));
  }
  rows.push_back(row(kWhile, kUnconditional));
  rows.push_back(row(kBreak, 0));
  rows.push_back(row(kEnd, kClosesWhile));
  rows.push_back(row(kIf, kGreenLedOn, 0, 1));
  rows.push_back(row(kElseIf, kGreenLedOff, 1, 0));
  rows.push_back(row(kElse, 0));
  rows.push_back(row(kEnd, kClosesIfChain));

  // Motors (not in the interrupt routine): fixed speeds at the limits, each side from a variable.
  if (!interrupt) {
    for (const auto& [l, r, li, ri] : std::vector<std::array<int, 4>>{
             {kMotorSpeedMin, kMotorSpeedMax, 0, 0}, {0, 0, 0, 0}, {50, -50, 0, 0}, {0, 0, 1, 0},
             {0, 0, 0, kMotorVariableItems}, {0, 0, kMotorVariableItems, 1}}) {
      const MotorValues v = packMotor(l, r, li, ri);
      rows.push_back(row(v.sno, v.cno, v.val0, v.val1, v.val2));
    }
  }

  // Wait, timer statements and timer conditions.
  for (const TimerForm& f : {TimerForm{0, 0, 0, 0}, TimerForm{kTimerTenthsMax, 0, 3, 1}, TimerForm{10, 1, 1, 0},
                             TimerForm{10, 26, 2, 1}}) {
    const TimerValues wait = packTimer(TimerUse::Wait, f);
    rows.push_back(row(kWait, kWait, wait.val0, wait.val1));
    const TimerValues clear = packTimer(TimerUse::Statement, f);
    rows.push_back(row(kTimer, kTimer, clear.val0, clear.val1));
    const TimerValues test = packTimer(TimerUse::Condition, f);
    addCondition(rows, kIf, kTimer, test.val0, test.val1);
  }

  // Variables: statements and conditions, one field at a time from a plain assignment.
  const std::vector<std::string> operands = operandList(io);
  const int lastOperand = static_cast<int>(operands.size()) - 1;
  std::vector<VariableForm> forms;
  VariableForm base;
  base.valueText = "5";
  forms.push_back(base);
  for (const char* text : {"-99999", "999999", "0", " 12 "}) {
    VariableForm f = base;
    f.valueText = text;
    forms.push_back(f);
  }
  for (int target : {1, 25}) {
    VariableForm f = base;
    f.target = target;
    forms.push_back(f);
  }
  for (int op1 = 0; op1 <= 6; ++op1) {
    VariableForm f = base;
    f.operator1 = op1;
    forms.push_back(f);
  }
  for (int operand = 1; operand <= lastOperand; ++operand) {
    if (operands[static_cast<std::size_t>(operand)] == "---") continue;
    for (int op2 = 0; op2 <= 5; op2 += (operand == 1 ? 1 : 5)) {
      VariableForm f = base;
      f.operand = operand;
      f.operator2 = op2;
      forms.push_back(f);
    }
  }
  for (int item = 1; item <= lastOperand; ++item) {
    if (operands[static_cast<std::size_t>(item)] == "---") continue;
    VariableForm f = base;
    f.valueItem = item;
    forms.push_back(f);
    f.operand = 2;
    f.operator2 = 3;
    forms.push_back(f);
  }
  for (int op2 = 1; op2 <= 5; ++op2) {  // a second operator without a first operand
    VariableForm f = base;
    f.operator2 = op2;
    forms.push_back(f);
  }
  if (subIo) {
    for (int board = 1; board <= 8; board += 7) {
      for (bool targetSide : {true, false}) {
        for (int operand : {0, 3, 28, 33}) {
          for (int item : {-1, 4, 29, 35}) {
            VariableForm f = base;
            f.operand = operand;
            f.operator2 = operand == 0 ? 0 : 1;
            f.valueItem = item;
            chooseVariableBoard(f, targetSide, board);
            forms.push_back(f);
          }
        }
      }
    }
  }
  // Variables read the same in every program; the interrupt routine keeps to what differs there.
  for (bool statement : {true, false}) {
    if (interrupt) break;
    for (VariableForm f : forms) {
      refreshVariableForm(f, statement, subIo, operands);
      const VariableValues v = packVariable(f, subIo, 0);
      if (statement) {
        rows.push_back(row(kVariable, v.cno, v.val0, v.val1, v.val2));
      } else {
        addCondition(rows, kIf, v.cno, v.val0, v.val1, v.val2);
      }
    }
  }

  // LEDs: statements and tests.
  for (int led = 0; led < 4; ++led) {
    for (bool on : {false, true}) {
      const LedValues statement = packLed(led, on, ledKind(led, on));
      rows.push_back(row(statement.sno, statement.cno, statement.val0, statement.val1));
      const LedValues test = packLed(led, on, kIf);
      addCondition(rows, kIf, test.cno, test.val0, test.val1);
    }
  }

  // Outputs, statements and tests, on every connector in an output mode.
  for (int cn : outputConnectors(io)) {
    for (int level : {0, 1}) {
      rows.push_back(row(kOutput, kOutput, cn, level));
      if (offers(kOutput)) addCondition(rows, kIf, kOutput, cn, level);
    }
  }

  // Sensor tests on every connector, against a number, a variable and a connector, on this
  // board and (in sub I/O mode) on others.
  for (int cn = 0; cn < 10; ++cn) {
    int comparison = 0;
    for (int operand : {0, 0, 1, 26, kSensorOperandFirstConnector, kSensorOperandLast}) {
      SensorComparison c;
      c.connector = cn;
      c.operand = operand;
      c.comparison = comparison++ % 3;
      c.setValue = comparison == 1 ? 0 : 100;
      const SensorValues v = packSensorComparison(c, subIo);
      addCondition(rows, kIf, kSensorTest, v.val0, v.val1, v.val2);
    }
    if (subIo) {
      for (const auto& [sensorBoard, operandBoard, operand] :
           std::vector<std::array<int, 3>>{{1, 0, 0}, {8, 0, 5}, {0, 3, 30}, {2, 0, 30}, {0, 8, 7}}) {
        SensorComparison c;
        c.connector = cn;
        c.operand = operand;
        c.sensorBoard = sensorBoard;
        c.operandBoard = operandBoard;
        const SensorValues v = packSensorComparison(c, subIo);
        addCondition(rows, kIf, kSensorTest, v.val0, v.val1, v.val2);
      }
    }
  }

  // Modules: statements the palette offers and conditions the chooser offers.
  if (!interrupt && io.useMcb) {
    const std::vector<PwmChannel> channels{{true, 0, false, 0},   {true, 0, true, 100}, {true, 0, false, 100},
                                           {true, 1, false, 0},   {true, 26, true, 0},  {false, 0, false, 0}};
    for (std::size_t shift = 0; shift < channels.size(); ++shift) {
      std::array<int, kPwmChannels> codes{};
      for (std::size_t c = 0; c < codes.size(); ++c) codes[c] = pwmCode(channels[(c + shift) % channels.size()]);
      const PwmValues v = packPwm(codes);
      rows.push_back(row(kPwm, kPwm, v.val0, v.val1, v.val2));
    }
  }
  if (!interrupt && io.servoInUse) {
    for (int cn : {7, 8}) {
      for (int position : {0, 50, 100}) rows.push_back(row(kServo, kServo, packServo(servoConnectorOf(cn * 10000, io), position)));
    }
  }
  if (!interrupt && io.useLcd) {
    for (int line = 0; line < 2; ++line) {
      for (int format = 0; format < kLcdFormats; ++format) {
        for (const std::array<int, 4>& data :
             {std::array<int, 4>{1, 2, 3, 4}, std::array<int, 4>{26, 26, 26, 26}, std::array<int, 4>{27, 30, 33, 36},
              std::array<int, 4>{0, 0, 0, 0}}) {
          LcdLine l{line, format, data};
          normaliseLcd(l);
          const LcdValues v = packLcd(l);
          rows.push_back(row(kLcd, kLcd, v.val0, v.val1, 0, format == 0 ? "Hello, world!" : ""));
        }
      }
      // Texts the dialog lets through, up to its length.
      for (const char* text : {"", "0123456789ABCDEF", "a\\b", "end\\", "100% ok?", "' ; } { //", "\xEF\xBD\xB1\xEF\xBD\xB2",
                               "\xE8\xA1\xA8\xE7\xA4\xBA", "\xE8\xA1\xA8", "\xE3\x82\xBD", "\xE2\x91\xA0"}) {
        if (!lcdTextAllowed(text)) continue;
        const LcdValues v = packLcd(LcdLine{line, 0, {}});
        rows.push_back(row(kLcd, kLcd, v.val0, v.val1, 0, text));
      }
    }
  }
  if (!interrupt && io.useUss) {
    for (int start : {0, 1}) rows.push_back(row(kUltrasonic, kUltrasonic, 0, start));
  }
  if (offers(kUltrasonic)) {
    for (const UltrasonicTest& t : {UltrasonicTest{0, 0, 0, 0}, UltrasonicTest{3, 0, 2, kUssMaxCm},
                                    UltrasonicTest{1, 1, 1, 120}, UltrasonicTest{2, 26, 0, 0}}) {
      const UltrasonicValues v = packUltrasonicTest(t);
      addCondition(rows, kIf, kUltrasonic, v.val0, v.val1);
    }
  }
  if (offers(kDirectionTest)) {
    for (int axis : {kAxisDir, kAxisPitch, kAxisRoll}) {
      const DirectionRanges r = directionRanges(axis, io.useBno);
      for (const DirectionTest& t : {DirectionTest{axis, 0, 0, 0, 0}, DirectionTest{axis, r.targetMax, r.toleranceMax, 0, 0},
                                     DirectionTest{axis, 90, 10, 1, 0}, DirectionTest{axis, 90, 10, 0, 26},
                                     DirectionTest{axis, 0, 0, 26, 1}}) {
        const DirectionValues v = packDirectionTest(t);
        addCondition(rows, kIf, kDirectionTest, v.val0, v.val1);
      }
    }
  }
  if (offers(kGamePadTest)) {
    for (int control = -1; control <= kPadLeftStick; ++control) {
      if (control == kPadRightStickPressed) continue;
      for (int direction : isPadStick(control) ? std::vector<int>{0, 1, 8} : std::vector<int>{0}) {
        const GamePadValues v = packGamePad(GamePadChoice{control, direction});
        addCondition(rows, kWhile, kGamePadTest, v.val0, v.val1);
      }
    }
  }
  if (offers(kCameraTest)) {
    for (int signature = 0; signature <= kCameraSignatures; ++signature) {
      for (const CameraTest& t :
           {CameraTest{signature, 222, kSizeNone, 50, 50}, CameraTest{signature, 777, kSizeSmaller, kCameraWidthMin, kCameraHeightMin},
            CameraTest{signature, 1, kSizeLarger, kCameraWidthMax, kCameraHeightMax},
            CameraTest{signature, 0, kSizeLarger, 100, 80}, CameraTest{signature, 0, kSizeNone, 50, 50}}) {
        const CameraValues v = packCameraTest(t);
        addCondition(rows, kIf, kCameraTest, v.val0, v.val1);
      }
    }
  }
  return rows;
}

// `rows` cut into programs of at most `limit` rows, only between blocks.
std::vector<Rows> chunks(const Rows& rows, std::size_t limit) {
  std::vector<Rows> out(1);
  int level = 0;
  for (const Statement& s : rows) {
    if (level == 0 && out.back().size() + 8 > limit) out.emplace_back();
    out.back().push_back(s);
    if (s.sno == kIf || s.sno == kWhile || s.sno == kFor) ++level;
    if (s.sno == kEnd) --level;
  }
  return out;
}

struct SetupCase {
  const char* name;
  IoSetup io;
};

std::vector<SetupCase> setupCases() {
  std::vector<SetupCase> cases;
  IoSetup plain;
  cases.push_back({"plain", plain});

  // Every connector mode and the modules of a master board.
  IoSetup modules;
  modules.cnMode = {Input, Thermistor, OutL, OutH, Input2Wire, Input, Servo, Servo, PingIn, PingIn};
  modules.advancedMode = modules.useDir = modules.useMcb = modules.useLcd = modules.useUss = true;
  modules.usePixy = modules.useSnx4410 = modules.useClf = modules.useCls = true;
  cases.push_back({"modules with the 6D compass", modules});

  IoSetup hmc = modules;
  hmc.useDir = false;
  hmc.useHmc = true;
  cases.push_back({"HMC6352 compass", hmc});

  IoSetup bno = modules;
  bno.useDir = false;
  bno.useBno = true;
  cases.push_back({"9D compass", bno});

  // A master of sub I/O boards: sensors and variables on other boards.
  IoSetup master;
  master.advancedMode = master.subIoOn = true;
  master.cnMode = {Input, Thermistor, PingIn, OutL, Input, Input, Input, Input, PingIn, OutH};
  cases.push_back({"sub I/O master", master});
  for (SetupCase& c : cases) recomputeConnectorUse(c.io);
  return cases;
}

class DialogProgramsBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kavel_dialog_programs_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ / "Build");
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", dir_ / "Build" / "Build_V190617", fs::copy_options::recursive);
    std::ofstream(ini()) << "[PRJ]\r\nBatFile_=" << (dir_ / "Build" / "Build_V190617" / "BuildPath.Bat").string()
                         << "\r\nMCU2620_=1\r\n";
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir_);
  }

  std::string ini() const { return (dir_ / "kavelide.ini").string(); }

  std::string save(Context& ctx, int index, const std::string& name, const Rows& rows) {
    EXPECT_LE(rows.size(), 989u) << name << ": a program file holds at most 989 rows";
    Program p(index);
    for (const Statement& s : rows) p.appendRow(s);
    const std::string path = (dir_ / (name + ".Kvl")).string();
    const ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
    EXPECT_TRUE(writeProgramFile(p, path, fc)) << path;
    return path;
  }

  // The lines of User.c that the compiler refused, to read in the failure message.
  std::string refusedLines(const std::string& output) const {
    std::istringstream userC(slurp((dir_ / "Build" / "Build_V190617" / "User.c").string()));
    std::vector<std::string> lines;
    for (std::string l; std::getline(userC, l);) lines.push_back(l);
    std::string out;
    static const std::regex error(R"(User\.c:(\d+):Error: (.*))");
    std::istringstream in(output);
    for (std::string l; std::getline(in, l);) {
      std::smatch m;
      if (!std::regex_search(l, m, error)) continue;
      const std::size_t n = std::stoul(m[1]);
      out += "  " + m[2].str() + "\n    " + (n >= 1 && n <= lines.size() ? lines[n - 1] : std::string("?")) + "\n";
    }
    return out;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(DialogProgramsBuild, EveryStatementTheDialogsMakeCompiles) {
  const std::vector<SetupCase> setups = setupCases();
  for (std::size_t index = 0; index < setups.size(); ++index) {
    const SetupCase& setup = setups[index];
    SCOPED_TRACE(setup.name);
    Context ctx;
    ctx.io = setup.io;
    EncodeSetup(ctx.io, ctx.setup);
    ctx.setup.setupKind = ctx.io.subIoOn ? kSetupWithSubIo : kSetupSingle;
    const std::string name = "prog_" + std::to_string(index);

    // What does not fit into Main (a file holds at most 989 rows) goes into Subs it calls;
    // the interrupt routine has its own rules.
    std::vector<Rows> parts = chunks(dialogRows(setup.io, 0), 900);
    Rows main = parts.front();
    for (std::size_t n = 1; n < parts.size(); ++n) {
      const std::string subName = name + "_sub" + std::to_string(n);
      parts[n].push_back(row(kReturn, kReturn));
      save(ctx, static_cast<int>(n), subName, parts[n]);
      main.insert(main.begin(), row(kSubCall, kSubCall, static_cast<int>(n), 0, 0, subName));
    }
    save(ctx, ProgramSet::kInterruptSub, name + "_tick", dialogRows(setup.io, ProgramSet::kInterruptSub));
    main.insert(main.begin(), row(kSubCall, kSubCall, ProgramSet::kInterruptSub, 0, 0, name + "_tick"));
    const std::string mainFile = save(ctx, 0, name, main);

    const auto r = runProcess({KAVEL_BIN_DIR "/kavel", "--ini", ini(), "build", mainFile});
    EXPECT_EQ(r.exitCode, 0) << r.err << refusedLines(r.out);
    EXPECT_EQ(r.out.find(":Error:"), std::string::npos) << refusedLines(r.out);
    EXPECT_EQ(r.out.find(":Warning:"), std::string::npos) << r.out;
  }
}
