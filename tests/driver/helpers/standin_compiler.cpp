// A stand-in for the compilers kcc8 starts. It records which executable it is and the arguments
// it received, then ends as told:
//   KCC8_STANDIN_LOG   file to write the record to: the executable's file name, then argc, then
//                      every argument, each ended by a NUL character
//   KCC8_STANDIN_EXIT  exit code (default 0); "signal" makes it die by SIGKILL instead

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  char self[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string name = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("?");
  name = name.substr(name.rfind('/') + 1);

  if (const char* log = std::getenv("KCC8_STANDIN_LOG")) {
    if (std::FILE* out = std::fopen(log, "wb")) {
      std::string record = name + '\0' + std::to_string(argc) + '\0';
      for (int i = 0; i < argc; ++i) record += std::string(argv[i]) + '\0';
      std::fwrite(record.data(), 1, record.size(), out);
      std::fclose(out);
    }
  }

  const char* code = std::getenv("KCC8_STANDIN_EXIT");
  if (code && std::strcmp(code, "signal") == 0) std::raise(SIGKILL);
  return code ? std::atoi(code) : 0;
}
