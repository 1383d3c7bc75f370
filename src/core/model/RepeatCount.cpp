#include "core/model/RepeatCount.h"

#include <algorithm>

namespace kavel {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

int clampRepeatCount(int count) { return std::clamp(count, kRepeatCountMin, kRepeatCountMax); }

int repeatCountFromText(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  // Only whether the number passes a limit matters, so stop counting just beyond it.
  int magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    magnitude = std::min(magnitude * 10 + (c - '0'), kRepeatCountMax + 1);
  }
  return clampRepeatCount(negative ? -magnitude : magnitude);
}

}  // namespace kavel
