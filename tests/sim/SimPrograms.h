#pragma once
// Compiling a program for the simulated board in a test: User.c written straight into a run
// folder (M_Type.h of a plain Wrenlet board), compiled against build/bin/Sim, run by
// build/bin/kavel-simhost.

#include <fstream>
#include <string>

#include "sim/HostCompiler.h"
#include "sim/SimClient.h"
#include "sim/SimPaths.h"

namespace kavel::testing {

inline const std::string kSimHeaders = KAVEL_BIN_DIR "/Sim/";
inline const std::string kSimHost = KAVEL_BIN_DIR "/kavel-simhost";

/// A User.c whose user_main holds `body` (and, when given, a user_sub_30 holding `interrupt`).
inline std::string userC(const std::string& body, const std::string& interrupt = {}) {
  std::string c = "#include \"M_Main.h\"\n#include \"M_I2C.h\"\n#include \"M_SIO.h\"\n#include \"M_EIO.h\"\n";
  if (!interrupt.empty()) c += "void user_sub_30(void)\n{\n" + interrupt + "\n}\n";
  return c + "void user_main(void)\n{\n" + body + "\n}\n";
}

/// Compiles `source` as User.c in `folder` (made here). The result says what the compiler said.
inline sim::HostBuild compileProgram(sim::RunFolder& folder, const std::string& source,
                                     const std::string& mType = "#define MCU_2520\n#define WRENLET\n") {
  std::string error;
  if (!folder.create(error)) return {false, {}, error, {}};
  std::ofstream(folder.path() + "User.c") << source;
  std::ofstream(folder.path() + "M_Type.h") << mType;
  return sim::compileForSimulation(folder.path(), kSimHeaders, false);
}

/// The default world, the variant's wiring, no end of time.
inline sim::SimLaunch launchFor(const sim::RunFolder& folder, const sim::HostBuild& build) {
  sim::SimLaunch launch;
  launch.hostProgram = kSimHost;
  launch.runFolder = folder.path();
  launch.plan.world = sim::defaultWorld();
  IoSetup io;
  io.cnName = {"Ball", "Line", "L-Touch", "R-Touch", "", "", "", "", "RED3", "RED2"};
  launch.plan.robot = sim::robotConfigOf(io);
  launch.plan.library = build.library;
  return launch;
}

}  // namespace kavel::testing
