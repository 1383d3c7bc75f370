#include "core/editor/StatementEditing.h"

#include "core/model/StatementKind.h"

namespace kavel {

DialogKind dialogForSubjectKind(int cno) {
  if (isMotorKind(cno)) return DialogKind::Speed;
  if (isLedKind(cno)) return DialogKind::Led;
  switch (cno) {
    case kRepeatCount: return DialogKind::Repeat;
    case kSubCall: case kReturn: return DialogKind::SubProg;
    case kSensorTestOld: case kSensorTest: return DialogKind::Sensor;
    case kDirectionTest: return DialogKind::Dir;
    case kWait: case kTimer: return DialogKind::Timer;
    case kVariable: case kVariableItem: return DialogKind::Var;
    case kCCode: return DialogKind::Code;
    case kPwm: return DialogKind::Pwm;
    case kServo: return DialogKind::Servo;
    case kOutput: return DialogKind::OutCn;
    case kLcd: return DialogKind::Lcd;
    case kGamePadTest: return DialogKind::Snx4410;
    case kUltrasonic: return DialogKind::Uss;
    case kCameraTest: return DialogKind::Pixy;
    default: return DialogKind::None;
  }
}

const char* dialogName(DialogKind kind) {
  switch (kind) {
    case DialogKind::None: return "";
    case DialogKind::Condition: return "TfrmCondition";
    case DialogKind::Repeat: return "TfrmRepeat";
    case DialogKind::SubProg: return "TfrmSubProg";
    case DialogKind::Sensor: return "TfrmSensor";
    case DialogKind::Dir: return "TfrmDir";
    case DialogKind::Speed: return "TfrmSpeed";
    case DialogKind::Timer: return "TfrmTimer";
    case DialogKind::Var: return "TfrmVar";
    case DialogKind::Code: return "TfrmCode";
    case DialogKind::Led: return "TfrmLed";
    case DialogKind::Pwm: return "TfrmPwm";
    case DialogKind::Servo: return "TfrmServo";
    case DialogKind::OutCn: return "TfrmOutCn";
    case DialogKind::Lcd: return "TfrmLcd";
    case DialogKind::Snx4410: return "TfrmSNX4410";
    case DialogKind::Uss: return "TfrmUss";
    case DialogKind::Pixy: return "TfrmPixy";
  }
  return "";
}

void prepareForDialog(EditBuffer& b) {
  switch (dialogForSubjectKind(b.cno)) {
    case DialogKind::Repeat:
      if (b.val0 == 0) b.val0 = 1;
      break;
    case DialogKind::Speed:
      if (b.cno == kMotorForward && b.val0 == 0 && b.val1 == 0) {
        b.val0 = 50;
        b.val1 = 50;
        b.val2 = 0;
      }
      break;
    case DialogKind::Timer:
      if (b.val0 == 0) b.val0 = 1000;
      break;
    case DialogKind::Led:
      if (b.val0 > 3) b.val0 = 1;
      if (b.val1 > 1) b.val1 = 0;
      break;
    case DialogKind::OutCn:
      if (b.val0 > 9) b.val0 = 0;
      if (b.val1 > 1) b.val1 = 0;
      break;
    case DialogKind::Pixy:
      if (b.val0 == 0) {
        b.val0 = 122200;
        b.val1 = 50050;
        b.val2 = 0;
      }
      break;
    default:
      break;
  }
}

namespace {

enum Fields : unsigned {
  kSno = 1u << 0,
  kVal0 = 1u << 1,
  kVal1 = 1u << 2,
  kVal2 = 1u << 3,
  kVal1Zero = 1u << 4,
};

unsigned fieldsOf(DialogKind kind) {
  switch (kind) {
    case DialogKind::Repeat: return kVal0 | kVal1Zero;
    case DialogKind::Sensor: return kVal0 | kVal1 | kVal2;
    case DialogKind::Dir: return kVal0 | kVal1;
    case DialogKind::Speed: return kSno | kVal0 | kVal1 | kVal2;
    case DialogKind::Timer: return kVal0 | kVal1;
    case DialogKind::Var: return kVal0 | kVal1 | kVal2;
    case DialogKind::Code: return kVal0 | kVal1;
    case DialogKind::Led: return kSno | kVal0 | kVal1;
    case DialogKind::Pwm: return kSno | kVal0 | kVal1 | kVal2;
    case DialogKind::Servo: return kSno | kVal0;
    case DialogKind::OutCn: return kSno | kVal0 | kVal1;
    case DialogKind::Lcd: return kVal0 | kVal1;
    case DialogKind::Snx4410: return kVal0 | kVal1;
    case DialogKind::Uss: return kVal0 | kVal1;
    case DialogKind::Pixy: return kVal0 | kVal1 | kVal2;
    default: return 0;
  }
}

bool carriesCondition(int sno) { return sno == kIf || sno == kElseIf || sno == kWhile; }

}  // namespace

bool copyBack(int dialogCno, const EditBuffer& b, Statement& row) {
  const DialogKind kind = dialogForSubjectKind(dialogCno);
  if (kind == DialogKind::None) return false;
  const unsigned f = fieldsOf(kind);
  bool glyph = false;
  if ((f & kSno) && !carriesCondition(row.sno)) {
    glyph = true;
    row.sno = b.sno;
  }
  row.cno = b.cno;
  if (f & kVal0) row.val0 = b.val0;
  if (f & kVal1) row.val1 = b.val1;
  if (f & kVal1Zero) row.val1 = 0;
  if (f & kVal2) row.val2 = b.val2;
  row.cmt = b.cmt;
  return glyph;
}

EditBuffer insertionBuffer(int kind) {
  EditBuffer b;
  b.sno = kind;
  if (kind == kSetup) {
    b.val0 = 111111;
    b.val1 = 110000;
  }
  switch (kind) {
    case kIf: case kElseIf: case kWhile: case kElse: case kContinue: case kBreak:
      b.cno = 0;
      break;
    case kFor:
      b.cno = kRepeatCount;
      break;
    default:
      b.cno = kind;
      break;
  }
  if (isLedKind(kind)) b.val0 = 1;
  return b;
}

bool opensDialogOnInsertion(int kind) { return kind != kElse && kind != kContinue && kind != kBreak && kind != kEnd; }

bool conditionHasDialog(int c) {
  switch (c) {
    case kSensorTestOld: case kSensorTest: case kDirectionTest:
    case kGamePadTest: case kUltrasonic: case kCameraTest: case kServo: case kOutput:
      return true;
    default:
      return c >= kTimer && c <= kRedLedOn;
  }
}

ConditionFollowUp applyConditionChoice(Statement& row, EditBuffer& buffer) {
  const int chosen = buffer.cno;
  buffer.sno = row.sno;
  if (chosen == row.cno && chosen != 0) {
    buffer.val0 = row.val0;
    buffer.val1 = row.val1;
    buffer.val2 = row.val2;
    buffer.cmt = row.cmt;
  } else {
    buffer.val0 = buffer.val1 = buffer.val2 = 0;
    buffer.cmt.clear();
  }
  if (chosen == kUnconditional) {
    row.cno = kUnconditional;
    row.val0 = buffer.val0;
    row.val1 = buffer.val1;
    row.val2 = buffer.val2;
    row.cmt = buffer.cmt;
    return ConditionFollowUp::Stored;
  }
  return conditionHasDialog(chosen) ? ConditionFollowUp::OpenDialog : ConditionFollowUp::None;
}

bool neverConfirmed(const Statement& row, bool rowTextEmpty, int dialogCno) {
  if (dialogForSubjectKind(dialogCno) == DialogKind::Speed) return rowTextEmpty;
  return row.cno == 0;
}

}  // namespace kavel
