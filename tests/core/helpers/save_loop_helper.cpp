// Saves two 1000-row programs over PATH in turn until it is killed.

#include <cstdio>
#include <string>

#include "SaveLoopProgram.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: save_loop_helper PATH\n", stderr);
    return 1;
  }
  const std::string path = argv[1];
  kavel::Context ctx;
  kavel::Program programs[] = {kavel::testing::saveLoopProgram(0), kavel::testing::saveLoopProgram(1)};
  // The killer times its kill from here, so that it lands in a save, not in the start-up.
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  for (unsigned n = 1;; ++n) {
    kavel::Program& p = programs[n % 2];
    std::string error;
    if (!kavel::writeProgramFile(p, path, kavel::testing::saveLoopContext(ctx), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
  }
}
