#pragma once
// Readers that take a path get each fuzz input through one scratch file per process.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kavel::fuzz {

/// A scratch folder of this process, ending with "/": in memory where there is /dev/shm, since
/// every save flushes to disk.
inline const std::string& scratchFolder() {
  // Never freed, so that the clean-up at exit still finds it.
  static const std::string* folder = [] {
    struct stat st {};
    const std::string base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    auto* f = new std::string(base + "/kavel-fuzz-" + std::to_string(::getpid()) + "/");
    ::mkdir(f->c_str(), 0700);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*folder, ignored);
    });
    return f;
  }();
  return *folder;
}

/// Writes the input to `name` in the scratch folder and answers its path.
inline std::string inputFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = scratchFolder() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) __builtin_trap();
  std::fclose(f);
  return path;
}

/// Stops the run with a crash report when a property does not hold.
inline void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace kavel::fuzz
