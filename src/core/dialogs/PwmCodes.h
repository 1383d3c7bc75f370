#pragma once
// The PWM statement: six channels, each a three-digit code packed two to a value.

#include <array>
#include <string>

namespace kavel {

inline constexpr int kPwmChannels = 6;
inline constexpr int kPwmUnchanged = 999;

struct PwmChannel {
  bool modify = true;    // false: this statement leaves the channel as it is
  int item = 0;          // 0 the fixed speed, 1..26 the variable A..Z
  bool reverse = false;  // "Rev/Brk"
  int speed = 0;         // 0..100, the fixed speed
  bool operator==(const PwmChannel&) const = default;
};

/// A channel's code: 0..100 forward, 200..300 reverse, 400..425 and 500..525 variables, 600
/// and up unchanged. Speeds beyond 100 are limited, variables beyond Z read as Z. For a
/// variable the speed is 0.
PwmChannel pwmChannelOf(int code);

/// The code of a channel (999 when not modified).
int pwmCode(const PwmChannel& channel);

/// The six codes of a row, channel 1 first.
std::array<int, kPwmChannels> pwmCodesOf(int val0, int val1, int val2);

struct PwmValues {
  int val0;
  int val1;
  int val2;
  bool operator==(const PwmValues&) const = default;
};
PwmValues packPwm(const std::array<int, kPwmChannels>& codes);

/// Caption of the fixed-speed item: the speed right-aligned in four characters and "%".
std::string pwmFixedCaption(int speed);

}  // namespace kavel
