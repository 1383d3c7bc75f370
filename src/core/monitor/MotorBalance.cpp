#include "core/monitor/MotorBalance.h"

#include <algorithm>

#include "core/monitor/MonitorFields.h"
#include "core/text/Format.h"

namespace kavel {

BalanceReply parseBalanceReply(std::string_view line) {
  BalanceReply r;
  r.left = fieldValue(fieldAt(line, 3, 3), 0);
  r.right = fieldValue(fieldAt(line, 7, 3), 0);
  r.third = std::max(fieldValue(fieldAt(line, 11, 3), 1), kThirdMin);
  r.position = r.left > 0 ? -r.left : r.right > 0 ? r.right : 0;
  r.position = std::clamp(r.position, -kBalanceLimit, kBalanceLimit);
  return r;
}

std::string balanceSaveCommand(int position, int third) {
  return text::format("B:%03d,%03d,%03d", position < 0 ? -position : 0, position > 0 ? position : 0, third);
}

int stepBalance(int position, int delta) { return std::clamp(position + delta, -kBalanceLimit, kBalanceLimit); }

}  // namespace kavel
