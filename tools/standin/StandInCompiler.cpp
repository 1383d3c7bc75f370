// kcc8-traditional / kcc8-extended for the sample build folder: a stand-in for the board's C
// compiler. It checks the C source with the host C compiler against the stub firmware headers
// beside the source, reports each error as "User.c:<line>:Error: <text>" (the form the build
// window's error pane locates) and, when the source is clean, writes an Intel HEX image named
// after the source with ".Hex". It makes no code for the board: the image only has the shape
// of a real one, so that build and download can be tried without the board's tool chain.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// kcc8 wraps each argument in quotation marks on platforms that join them; take them off.
std::string unquoted(std::string a) {
  if (a.size() >= 2 && a.front() == '"' && a.back() == '"') a = a.substr(1, a.size() - 2);
  return a;
}

bool endsWithC(const std::string& a) {
  return a.size() > 2 && (a.compare(a.size() - 2, 2, ".c") == 0 || a.compare(a.size() - 2, 2, ".C") == 0);
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct HostRun {
  bool started = false;
  int error = 0;
  int exitCode = -1;
  std::string output;
};

HostRun runHostCompiler(const std::vector<std::string>& argv) {
  HostRun run;
  int fds[2];
  if (::pipe(fds) != 0) {
    run.error = errno;
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    run.error = rc;
    return run;
  }
  run.started = true;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      run.output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

// One Intel HEX record: ":" count, address, type, data, two's-complement checksum.
std::string record(int type, std::uint16_t address, const std::vector<std::uint8_t>& data) {
  std::uint8_t sum = static_cast<std::uint8_t>(data.size() + (address >> 8) + (address & 0xFF) + type);
  char head[16];
  std::snprintf(head, sizeof head, ":%02X%04X%02X", static_cast<unsigned>(data.size()), address, type);
  std::string line = head;
  for (std::uint8_t b : data) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
    sum = static_cast<std::uint8_t>(sum + b);
  }
  char check[3];
  std::snprintf(check, sizeof check, "%02X", static_cast<std::uint8_t>(-sum) & 0xFF);
  return line + check + "\r\n";
}

std::string upperAddress(std::uint16_t upper) {
  return record(4, 0, {static_cast<std::uint8_t>(upper >> 8), static_cast<std::uint8_t>(upper & 0xFF)});
}

// A program image after the boot loader (0x0800), as long as the source has statements, with
// the configuration bytes at 0x300000. Its bytes come from the source text, so a changed
// program gives a changed image.
std::string hexImage(const std::string& source) {
  std::vector<std::uint8_t> code;
  std::uint32_t hash = 2166136261u;
  for (char c : source) {
    hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    if (c == ';' || c == '{') {
      for (int i = 0; i < 4; ++i) code.push_back(static_cast<std::uint8_t>(hash >> (8 * i)));
    }
  }
  if (code.size() > 0xE000) code.resize(0xE000);
  if (code.empty()) code = {0x12, 0x00};  // RETURN
  std::string hex = upperAddress(0);
  for (std::size_t at = 0; at < code.size(); at += 16) {
    const std::size_t n = std::min<std::size_t>(16, code.size() - at);
    hex += record(0, static_cast<std::uint16_t>(0x0800 + at), {code.begin() + at, code.begin() + at + n});
  }
  hex += upperAddress(0x0030);
  hex += record(0, 0x0000, {0x00, 0x08, 0x1E, 0x1E, 0x00, 0x81, 0x81});
  hex += ":00000001FF\r\n";
  return hex;
}

}  // namespace

int main(int argc, char** argv) {
  std::string source;
  std::string device = "18F2620";
  for (int i = 1; i < argc; ++i) {
    const std::string a = unquoted(argv[i]);
    if (a.rfind("-p", 0) == 0 && a.size() > 2 && a.rfind("-pa", 0) != 0) device = a.substr(2);
    if (!a.empty() && a[0] != '-' && endsWithC(a)) source = a;
  }
  if (source.empty()) {
    std::cout << "Error: no C source file given\n";
    return 1;
  }
  const std::string folder = folderOf(source);
  const std::string name = fileNameOf(source);
  const std::string hexPath = source.substr(0, source.size() - 2) + ".Hex";
  std::remove(hexPath.c_str());

  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cout << name << ":0:Error: cannot open the source file\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();

  // The host compiler in C99 with the board's processor named as its compiler names it;
  // calling an undeclared function is an error, as it is for the board's compiler.
  const std::vector<std::string> command = {
      "cc", "-fsyntax-only", "-std=gnu99", "-fno-diagnostics-show-caret", "-Werror=implicit-function-declaration",
      "-Wno-main", "-D__" + device, "-I" + (folder.empty() ? std::string(".") : folder), source};
  const HostRun run = runHostCompiler(command);
  if (!run.started) {
    std::cout << "Error: cannot start the host C compiler cc: " << std::strerror(run.error) << "\n";
    return 1;
  }

  // "file:line:column: error: text" becomes "file:line:Error: text"; notes and context lines
  // of the host compiler mean nothing to the user of the board's compiler and are left out.
  static const std::regex diagnostic(R"(^(.*?):(\d+):(?:\d+:)? (fatal error|error|warning): (.*)$)");
  int errors = 0;
  int warnings = 0;
  std::istringstream lines(run.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, diagnostic)) continue;
    const bool error = m[3] != "warning";
    (error ? errors : warnings)++;
    std::cout << fileNameOf(m[1]) << ":" << m[2] << ":" << (error ? "Error: " : "Warning: ") << m[4].str() << "\n";
  }
  if (run.exitCode != 0 && errors == 0) {
    std::cout << run.output;
    errors = 1;
  }
  if (errors > 0) {
    std::cout << "Errors    : " << errors << "\nWarnings  : " << warnings << "\n";
    return 1;
  }

  const std::string hex = hexImage(text.str());
  const std::string temporary = hexPath + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << hex;
    if (!out.flush()) {
      std::cout << "Error: cannot write " << hexPath << "\n";
      std::remove(temporary.c_str());
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), hexPath.c_str()) != 0) {
    std::cout << "Error: cannot write " << hexPath << "\n";
    return 1;
  }
  std::cout << "Device    : PIC" << device << "\nErrors    : 0\nWarnings  : " << warnings << "\nOutput    : "
            << fileNameOf(hexPath) << "\n";
  return 0;
}
