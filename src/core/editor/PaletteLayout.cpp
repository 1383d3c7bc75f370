#include "core/editor/PaletteLayout.h"

#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"
#include "core/setup/IoSetup.h"

namespace kavel {

const std::array<PaletteButton, 21>& paletteButtons() {
  using S = PaletteShow;
  // The built-in hints (UTF-8), shown until the message table supplies its own.
  static const std::array<PaletteButton, 21> buttons{{
      {"btnMotor", 1, 1, kMotorForward, "\u30e2\u30fc\u30bf\u30fc\u5236\u5fa1", 80, S::Always},
      {"btnWait", 1, 2, kWait, "\u6642\u9593\u5f85\u3061", 81, S::Always},
      {"btnLed", 1, 3, kGreenLedOff, "LED\u5236\u5fa1", 82, S::Always},
      {"btnOut", 1, 4, kOutput, "Output\u5236\u5fa1", 95, S::OutputInUse},
      {"btnIf", 1, 5, kIf, "\u6761\u4ef6\u5206\u5c90", 87, S::Always},
      {"btnElseIf", 1, 6, kElseIf, "\u5225\u6761\u4ef6\u5206\u5c90", 88, S::Always},
      {"btnElse", 1, 7, kElse, "\u6761\u4ef6\u306b\u5f53\u3066\u306f\u307e\u3089\u306a\u3044\u3068\u304d", 89,
       S::Always},
      {"btnLcd", 2, 1, kLcd, "LCD \u8868\u793a\u30c7\u30fc\u30bf", 83, S::UseLcd},
      {"btnTimer", 2, 2, kTimer, "\u30bf\u30a4\u30de\u30fc", 84, S::Always},
      {"btnVar", 2, 3, kVariable, "\u5909\u6570", 85, S::Always},
      {"btnServo", 2, 4, kServo, "ServoMotor\u5236\u5fa1", 102, S::ServoInUse},
      {"btnWhile", 2, 5, kWhile, "\u6761\u4ef6\u4ed8\u304d\u7e70\u308a\u8fd4\u3057", 90, S::Always},
      {"btnFor", 2, 6, kFor, "\u6307\u5b9a\u56de\u6570\u306e\u7e70\u8fd4\u3057", 91, S::Always},
      {"btnBreak", 2, 7, kBreak, "\u7e70\u8fd4\u3057\u5f37\u5236\u7d42\u4e86", 92, S::Always},
      {"btnMcb", 3, 1, kPwm, "PWM \u51fa\u529b", 94, S::UseMcb},
      {"btnUss", 3, 2, kUltrasonic, "USS \u5236\u5fa1", 155, S::UseUss},
      {"btnCode", 3, 3, kCCode, "C-Code", 96, S::Advanced},
      {"btnRS232C", 3, 4, -1, "RS232C\u901a\u4fe1\u5236\u5fa1", 0, S::Never},
      {"btnContinue", 3, 5, kContinue, "\u7e70\u8fd4\u3057\u306e\u6700\u521d\u306b\u30b9\u30ad\u30c3\u30d7", 97,
       S::Advanced},
      {"btnSubProg", 3, 6, kSubCall, "\u30b5\u30d6\u30d7\u30ed\u30b0\u30e9\u30e0", 98, S::Advanced},
      {"btnReturn", 3, 7, kReturn,
       "\u30b5\u30d6\u30d7\u30ed\u30b0\u30e9\u30e0\u304b\u3089\u306e\u5f37\u5236\u5fa9\u5e30", 99, S::Advanced},
  }};
  return buttons;
}

int paletteButtonX(int column) { return 8 + (column - 1) * 64; }

int paletteButtonY(int row) {
  static constexpr int ys[] = {8, 44, 80, 116, 160, 196, 232};
  return row >= 1 && row <= 7 ? ys[row - 1] : 8;
}

bool paletteButtonShown(const PaletteButton& b, const IoSetup& io) {
  switch (b.show) {
    case PaletteShow::Always: return true;
    case PaletteShow::OutputInUse: return io.outputInUse;
    case PaletteShow::UseLcd: return io.useLcd;
    case PaletteShow::ServoInUse: return io.servoInUse;
    case PaletteShow::UseMcb: return io.useMcb && io.advancedMode;
    case PaletteShow::UseUss: return io.useUss && io.advancedMode;
    case PaletteShow::Advanced: return io.advancedMode;
    case PaletteShow::Never: return false;
  }
  return false;
}

bool paletteButtonEnabled(const PaletteButton& b, int current) {
  if (b.kind == kSubCall) return current == 0;
  if (b.kind == kReturn) return current != 0;
  if (current == ProgramSet::kInterruptSub) {
    switch (b.kind) {
      case kMotorForward: case kLcd: case kPwm: case kUltrasonic: case kServo: case -1:
        return false;
      default:
        break;
    }
  }
  return true;
}

int paletteWidth(bool thirdColumn) {
  return paletteButtonX(thirdColumn ? 3 : 2) + kPaletteButtonWidth + 8;
}

int paletteHeight() { return paletteButtonY(7) + kPaletteButtonHeight + 8; }

}  // namespace kavel
