#pragma once
// One numbering serves both the statement kind (sno) and the subject kind (cno) of a row.

namespace kavel {

enum StatementKind : int {
  kEnd = 0,
  kIf = 1,
  kElseIf = 2,
  kElse = 3,
  kWhile = 4,
  kFor = 5,
  kContinue = 6,
  kBreak = 7,
  kSetup = 8,
  kSubCall = 9,
  kReturn = 10,
  kSensorTestOld = 13,
  kSensorTest = 14,
  kDirectionTest = 15,
  kMotorVariable = 19,
  kMotorStop = 20,
  kMotorForward = 21,
  kMotorBackward = 22,
  kSpinLeft = 23,
  kSpinRight = 24,
  kTurnForwardLeft = 25,
  kTurnForwardRight = 26,
  kTurnBackwardLeft = 27,
  kTurnBackwardRight = 28,
  kWait = 29,
  kTimer = 30,
  kVariable = 31,
  kVariableItem = 32,
  kCCode = 33,
  kGreenLedOff = 34,
  kGreenLedOn = 35,
  kRedLedOff = 36,
  kRedLedOn = 37,
  kPwm = 38,
  kServo = 39,
  kOutput = 40,
  kLcd = 41,
  kGamePadTest = 43,
  kUltrasonic = 44,
  kCameraTest = 45,
};

// As subject kinds some numbers mean something else.
inline constexpr int kUnconditional = 1;
inline constexpr int kRepeatCount = 5;
inline constexpr int kSetupSingle = 7;
inline constexpr int kSetupWithSubIo = 8;
// The subject kind of an End row names the block it closes.
inline constexpr int kClosesIfChain = 2;
inline constexpr int kClosesWhile = 3;
inline constexpr int kClosesFor = 4;

/// Kinds that open a block or continue one; the row below them is one level deeper.
inline bool opensLevel(int kind) { return kind >= kIf && kind <= kFor; }

/// Rows of these kinds carry no values and have no value button.
inline bool hasValueButton(int kind) {
  return kind != kEnd && kind != kElse && kind != kContinue && kind != kBreak;
}

inline bool isMotorKind(int kind) { return kind >= kMotorVariable && kind <= kTurnBackwardRight; }
inline bool isLedKind(int kind) { return kind >= kGreenLedOff && kind <= kRedLedOn; }

/// Kinds listed in the kind table; others are kept as rows but have no text and no dialog.
bool isKnownKind(int kind);

}  // namespace kavel
