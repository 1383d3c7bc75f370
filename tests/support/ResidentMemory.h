#pragma once
// The process's resident memory, for the benchmarks that report whether memory grows.

#include <unistd.h>

#include <cstdio>

namespace kavel::testing {

/// Resident set size in KiB, from /proc/self/statm; 0 when it cannot be read.
inline long residentKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace kavel::testing
