// kavel: console commands over the same core as the program, for scripts, teachers and tests.

#include <iostream>
#include <string>
#include <vector>

#include "cli/BuildCommand.h"
#include "cli/CliSession.h"
#include "cli/ConvertCommand.h"
#include "cli/DownloadCommand.h"
#include "cli/GenCommand.h"
#include "cli/MonitorCommand.h"
#include "cli/PictureCommand.h"
#include "cli/RowsCommand.h"
#include "cli/SimulateCommand.h"
#include "cli/ViewCommand.h"

namespace {

constexpr const char* kUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] COMMAND ...\n"
    "commands:\n"
    "  rows FILE [--sub N]             list the rows of a program file with their texts\n"
    "  gen FILE --out DIR [--pwron]    write DIR/M_Type.h and DIR/User.c for the program set whose\n"
    "                                  Main program is FILE (Subs read from FILE's folder);\n"
    "                                  --pwron: as with the build's \"PwrOn Run\" box ticked\n"
    "  view FILE [--sub N]             print the code view of a program file (as Main or Sub-N)\n"
    "  build FILE [--pwron] [--timeout S] [--wait S]\n"
    "                                  build FILE with the settings' build folder and copy\n"
    "                                  User.Hex (and User.c) beside it; prints err.txt;\n"
    "                                  waits up to S seconds (120) for another build there\n"
    "  download HEXFILE --port PORT [--no-run]\n"
    "                                  send a HEX image to the board's boot loader\n"
    "  monitor --port PORT [--seconds N]\n"
    "                                  print the board's sensor reports as CSV until N seconds\n"
    "                                  passed or Ctrl+C, then leave the board at rest\n"
    "  convert FILE --out OUT [--sub N]\n"
    "                                  read FILE as Open does (old versions converted) and write\n"
    "                                  OUT in the current format as Save does\n"
    "  picture FILE --out OUT.png|OUT.svg [--sub N] [--lang N]\n"
    "                                  draw every row of FILE as the program window shows it\n"
    "                                  (no display needed)\n"
    "A \"--\" ends a command's options; FILE may then start with \"-\".\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kavel::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  GlobalOptions options;
  std::vector<std::string> rest;
  std::string error;
  if (!parseGlobalOptions(args, options, rest, error)) {
    std::cerr << "kavel: " << error << "\n" << kUsage;
    return 2;
  }
  if (rest.empty() || rest[0] == "--help" || rest[0] == "-h") {
    (rest.empty() ? std::cerr : std::cout) << kUsage;
    return rest.empty() ? 2 : 0;
  }
  if (!checkSettingsFile(options, error)) {
    std::cerr << "kavel: " << error << "\n";
    return 1;
  }
  const std::string command = rest[0];
  const std::vector<std::string> commandArgs(rest.begin() + 1, rest.end());
  try {
    if (command == "rows") return runRows(options, commandArgs);
    if (command == "gen") return runGen(options, commandArgs);
    if (command == "view") return runView(options, commandArgs);
    if (command == "build") return runBuild(options, commandArgs);
    if (command == "download") return runDownload(options, commandArgs);
    if (command == "monitor") return runMonitor(options, commandArgs);
    if (command == "convert") return runConvert(options, commandArgs);
    if (command == "picture") return runPicture(options, commandArgs);
    if (command == "simulate") return runSimulate(options, commandArgs);
  } catch (const std::exception& e) {
    std::cerr << "kavel " << command << ": " << e.what() << "\n";
    return 1;
  }
  std::cerr << "kavel: unknown command \"" << command << "\"\n" << kUsage;
  return 2;
}
