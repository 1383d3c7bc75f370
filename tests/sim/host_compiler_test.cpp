// Compiling User.c for the simulated board: the compiler's messages in the board's form, the
// load failure said as a linker would, and headers that declare what the board's do.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "SimPrograms.h"
#include "core/text/TextFile.h"

using namespace kavel;
using namespace kavel::testing;

TEST(HostCompiler, MessagesTakeTheBoardsForm) {
  const std::string output =
      "User.c: In function 'user_main':\n"
      "User.c:27:5: error: 'nothing_here' undeclared (first use in this function)\n"
      "User.c:27:5: note: each undeclared identifier is reported only once\n"
      "   27 |     nothing_here++;\n"
      "/tmp/kavel-sim-x/User.c:30: warning: unused variable 'x' [-Wunused-variable]\r\n"
      "User.c:31:1: fatal error: M_Nope.h: No such file or directory\n";
  int errors = 0;
  EXPECT_EQ(sim::boardStyleMessages(output, errors),
            "User.c:27:Error: 'nothing_here' undeclared (first use in this function)\n"
            "User.c:30:Warning: unused variable 'x' [-Wunused-variable]\n"
            "User.c:31:Error: M_Nope.h: No such file or directory\n");
  EXPECT_EQ(errors, 2);
}

TEST(HostCompiler, AnUndefinedFunctionIsNamedAtTheLineThatCallsIt) {
  const std::string source = "// calls user_sub_7 below\r\nvoid user_main(void)\r\n{\r\n  user_sub_7();\r\n}\r\n";
  EXPECT_EQ(sim::loadFailureMessage("/tmp/x/user.so: undefined symbol: user_sub_7", source),
            "User.c:4:Error: undefined reference to 'user_sub_7'");
  EXPECT_EQ(sim::loadFailureMessage("cannot open shared object file", source), "cannot open shared object file");
}

TEST(HostCompiler, ACleanProgramBecomesALibraryAndABrokenOneNamesItsLine) {
  sim::RunFolder good;
  const sim::HostBuild ok = compileProgram(good, userC("  motor(50, 50);\n  wait_ms(gAD[CN3]);"));
  EXPECT_TRUE(ok.ok) << ok.messages << ok.error;
  EXPECT_TRUE(text::fileExists(ok.library));
  EXPECT_EQ(ok.messages, "") << "the simulated board's headers compile cleanly";

  sim::RunFolder bad;
  const sim::HostBuild broken = compileProgram(bad, userC("  motor(50, 50);\n  nothing_here++;"));
  EXPECT_FALSE(broken.ok);
  EXPECT_NE(broken.messages.find("User.c:8:Error: "), std::string::npos) << broken.messages;
  EXPECT_TRUE(broken.library.empty());
}

TEST(HostCompiler, TheSimulatedBoardDeclaresWhatTheSampleBuildFolderDeclares) {
  // Every declaration of the sample build folder's stub headers (but gAD, which the simulation
  // reads through its accessor) must be in the simulated board's headers, word for word.
  const std::string stubs = KAVEL_SOURCE_DIR "/data/Build/Build_V190617/";
  const std::regex declaration(R"(^(?:extern |void |int |long |UINT |#define )[^\n]*)");
  for (const char* header : {"M_Main.h", "M_I2C.h", "M_SIO.h", "M_EIO.h"}) {
    std::string stub, simulated;
    ASSERT_TRUE(text::readFileBytes(stubs + header, stub));
    ASSERT_TRUE(text::readFileBytes(kSimHeaders + header, simulated));
    std::set<std::string> lines;
    for (const auto& line : text::splitLines(simulated, 4096)) lines.insert(std::string(line));
    for (const auto& line : text::splitLines(stub, 4096)) {
      const std::string l(line);
      if (!std::regex_match(l, declaration) || l.find("gAD") != std::string::npos) continue;
      EXPECT_TRUE(lines.count(l)) << header << " of the simulated board lacks: " << l;
    }
  }
}

TEST(HostCompiler, TheCodeLibraryTellsTheUnitsTheBoardGives) {
  // The sensor and ultrasonic tests compare get_ping and get_Uss with centimetres times ten,
  // and the ultrasonic monitor reads millimetres: the library's notes must say so.
  std::string library;
  ASSERT_TRUE(text::readFileBytes(KAVEL_SOURCE_DIR "/data/C-CodeLib.Txt", library));
  for (const char* entry : {"UINT get_ping(int cn);", "UINT get_Uss(int n);"}) {
    const std::size_t at = library.find(entry);
    ASSERT_NE(at, std::string::npos) << entry;
    const std::string line = library.substr(at, library.find('\n', at) - at);
    EXPECT_NE(line.find("millimetres"), std::string::npos) << line;
  }
}
