#pragma once
// The timer dialog's three uses (wait, timer statement, timer condition), the set time on its
// slider in tenths of a second, and the values each use stores.

#include <string>

namespace kavel {

enum class TimerUse { Wait, Statement, Condition };

/// By the statement kind of the row: 29 wait, 30 timer statement, anything else (an if,
/// else-if or while row) a timer condition.
TimerUse timerUseOf(int sno);

/// The group caption's message number of a use: 81, 84, 108.
int timerCaptionMessage(TimerUse use);

inline constexpr int kTimerTenthsMax = 600;  // 60.0 seconds
inline constexpr int kTimerIconStep = 10;    // one second

struct TimerForm {
  int tenths = 10;     // 0..600
  int source = 0;      // 0 the set time, 1..26 variable A..Z
  int timer = 0;       // 0..3, T1..T4
  int comparison = 0;  // 0 "<", 1 ">"
  bool operator==(const TimerForm&) const = default;
};

/// The form of a row's values; times are limited to 0..60 s, fields naming nothing give the
/// set time and Timer1.
TimerForm timerFormOf(int val0, int val1);

int clampTimerTenths(int tenths);

/// The set time as the source list shows it: "%4.1f " and the unit (message 126).
std::string timerSetTimeCaption(int tenths, const std::string& unit);

struct TimerValues {
  int val0;
  int val1;
  bool operator==(const TimerValues&) const = default;
};

/// What OK stores for a use: wait ms and source; timer statement 0 and the timer; condition
/// ms and timer, source and comparison.
TimerValues packTimer(TimerUse use, const TimerForm& form);

}  // namespace kavel
