#pragma once
// A pause that does not block: started with a length, then asked whether it is over.

#include "core/comm/Clock.h"

namespace kavel {

class Pause {
 public:
  void start(Millis now, int ms) { end_ = now + (ms > 0 ? ms : 0); }
  bool over(Millis now) const { return now >= end_; }
  Millis nextDeadline() const { return end_; }

 private:
  Millis end_ = 0;
};

}  // namespace kavel
