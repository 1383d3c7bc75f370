#pragma once
// printf-style formatting into a std::string: the texts of this system are defined by C
// format strings, and keeping them as such makes each one easy to check against its pattern.

#include <cstdarg>
#include <cstdio>
#include <string>

namespace kavel::text {

__attribute__((format(printf, 1, 2))) inline std::string format(const char* fmt, ...) {
  char small[256];
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, fmt, args);
  va_end(args);
  std::string out;
  if (n < 0) {
    va_end(copy);
    return out;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else {
    out.resize(static_cast<size_t>(n));
    std::vsnprintf(out.data(), out.size() + 1, fmt, copy);
  }
  va_end(copy);
  return out;
}

}  // namespace kavel::text
