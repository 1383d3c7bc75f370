#include "core/dialogs/TimerForm.h"

#include <algorithm>

#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {

TimerUse timerUseOf(int sno) {
  if (sno == kWait) return TimerUse::Wait;
  if (sno == kTimer) return TimerUse::Statement;
  return TimerUse::Condition;
}

int timerCaptionMessage(TimerUse use) {
  switch (use) {
    case TimerUse::Wait: return 81;
    case TimerUse::Statement: return 84;
    case TimerUse::Condition: return 108;
  }
  return 108;
}

int clampTimerTenths(int tenths) { return std::clamp(tenths, 0, kTimerTenthsMax); }

TimerForm timerFormOf(int val0, int val1) {
  TimerForm f;
  f.tenths = clampTimerTenths(val0 / 100);
  const int source = val1 / 100 % 100;
  f.source = source >= 0 && source <= 26 ? source : 0;
  const int timer = val1 / 10000;
  f.timer = timer >= 0 && timer <= 3 ? timer : 0;
  f.comparison = val1 % 10 == 0 ? 0 : 1;
  return f;
}

std::string timerSetTimeCaption(int tenths, const std::string& unit) {
  return text::format("%4.1f ", tenths / 10.0) + unit;
}

TimerValues packTimer(TimerUse use, const TimerForm& f) {
  switch (use) {
    case TimerUse::Wait: return {f.tenths * 100, f.source * 100};
    case TimerUse::Statement: return {0, f.timer * 10000};
    case TimerUse::Condition: return {f.tenths * 100, f.timer * 10000 + f.source * 100 + f.comparison};
  }
  return {0, 0};
}

}  // namespace kavel
