#pragma once
// The largest Main program a build meets, for the benchmarks: 1000 rows of loops, conditions and
// the common statement kinds, which compile cleanly for the sample build folder and for the
// simulated board.

#include <iterator>

#include "Statements.h"
#include "core/model/Program.h"
#include "core/model/StatementKind.h"

namespace kavel::bench {

inline void fillLargeProgram(Program& p) {
  using kavel::testing::row;
  const Statement body[] = {
      row(kMotorForward, kMotorForward, 50, 50),
      row(kWait, kWait, 500),
      row(kVariable, kVariable, 21, 1),
      row(kCCode, kCCode, 0, 0, 0, "gV[VAR_C]++;  \t// count"),
      row(kGreenLedOn, kGreenLedOn, 1, 1),
      row(kPwm, kPwm, 100250, 420520, 999999),
      row(kServo, kServo, 70050),
  };
  std::size_t i = 0;
  while (p.size() + 7 <= Program::kMaxRows) {
    p.appendRow(row(kFor, kRepeatCount, static_cast<int>(i % 50 + 1)));
    p.appendRow(row(kIf, kSensorTest, 50, static_cast<int>(i % 10 * 10 + 1)));
    p.appendRow(body[i % std::size(body)]);
    p.appendRow(row(kElseIf, kVariableItem, 11000, 31));
    p.appendRow(body[(i + 3) % std::size(body)]);
    p.appendRow(row(kEnd, kClosesIfChain, 0));
    p.appendRow(row(kEnd, kClosesFor, 0));
    ++i;
  }
  while (p.size() < Program::kMaxRows) p.appendRow(row(kWait, kWait, 10));
}

}  // namespace kavel::bench
