#pragma once
// Milliseconds on a monotonic clock. Every step machine of the serial link takes the current
// time as an argument, so tests drive time by hand and nothing in the core ever sleeps.

#include <chrono>
#include <cstdint>

namespace kavel {

using Millis = std::int64_t;

/// A time that no deadline reaches: "nothing to wait for".
inline constexpr Millis kNoDeadline = INT64_MAX;

/// The current time of the monotonic clock, in milliseconds.
inline Millis steadyMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace kavel
