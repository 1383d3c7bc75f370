#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "core/setup/OptionFlags.h"
#include "core/shell/IdeCommandLine.h"
#include "core/shell/StartUp.h"
#include "TempFolder.h"

using namespace kavel;

TEST(OptionFlags, TheSetupOptionOffClearsTheModulesButNotTheConnectors) {
  for (int variant : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(variant);
    IoSetup io;
    io.cnMode[2] = 7;
    io.cnName[2] = "Arm";
    io.useMcb = io.useUss = io.usePixy = io.advancedMode = io.useSnx4410 = true;
    io.useLcd = variant <= 2;
    io.interruptInUse = true;
    clearOptionFlags(io, variant);
    EXPECT_EQ(io.cnMode[2], 7);
    EXPECT_EQ(io.cnName[2], "Arm");
    EXPECT_FALSE(io.useMcb || io.useUss || io.usePixy || io.advancedMode || io.useSnx4410);
    EXPECT_EQ(io.useLcd, variant >= 3);
    EXPECT_TRUE(io.interruptInUse);
  }
}

TEST(StartupRules, LanguageAndSetupOption) {
  struct Case {
    int variant, setupDef, lang;
    bool chosen, setupOption;
    int settled;
  };
  const std::vector<Case> cases = {
      {0, 1, 0, true, true, 0},   {1, 1, 1, true, false, 1}, {1, 0, 2, false, true, 1},
      {3, 2, -1, false, true, 1}, {3, 1, 1, true, false, 1}, {4, 0, 0, true, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "variant " << c.variant << " SetupDef " << c.setupDef << " lang " << c.lang);
    AppSettings s;
    s.variant = c.variant;
    s.SetupDef = c.setupDef;
    s.LANG_NO_ = c.lang;
    EXPECT_EQ(languageChosen(s), c.chosen);
    EXPECT_EQ(setupOptionAtStart(s), c.setupOption);
    settleLanguage(s);
    EXPECT_EQ(s.LANG_NO_, c.settled);
  }
}

TEST(StartupRules, PaletteSideAndBuildModeOutsideTheirRangeTakeTheDefaults) {
  const kavel::testing::TempFolder temp("kavel-startup-rules");
  const std::string dir = temp.str() + "/";
  struct Case {
    const char* funcPnl;
    const char* buildJob;
    int side, job;
  };
  const std::vector<Case> cases = {{"4", "2", 4, 2}, {"3", "0", 3, 0}, {"5", "3", 3, 1}, {"0", "-1", 3, 1},
                                   {"x", "", 3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.funcPnl) + " / " + c.buildJob);
    const std::string ini = dir + "kavelide.ini";
    std::ofstream(ini, std::ios::binary) << "[PRJ]\r\nBuildJob=" << c.buildJob << "\r\n[FRM]\r\nFuncPnl=" << c.funcPnl
                                         << "\r\n";
    AppSettings s;
    IoSetup io;
    setDefaultSettings(s, io, 3, dir);
    LoadSettings(s, io, ini);
    EXPECT_EQ(s.FuncPnl, c.side);
    EXPECT_EQ(s.BuildJob, c.job);
  }
}

TEST(StartSession, ASettingsFileThatCannotBeReadIsNamedAndTheDefaultsStay) {
  const kavel::testing::TempFolder temp("kavel-start");
  const std::string dir = temp.str() + "/";
  const std::string fifo = dir + "kavelide.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  Context ctx;
  std::string error;
  startSession(ctx, 0, dir, fifo, &error);
  EXPECT_NE(error.find(fifo), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << "the file is left as it is";

  Context first;
  std::string none;
  startSession(first, 0, dir, dir + "missing.ini", &none);
  EXPECT_EQ(none, "") << "a missing settings file is the first run";
  std::filesystem::remove_all(dir);
}

TEST(IdeCommandLine, HelpAndVersionComeBeforeAnyWindow) {
  struct Case {
    std::vector<std::string> args;
    IdeAction action;
  };
  const Case cases[] = {
      {{}, IdeAction::Run},
      {{"robot.Kvl"}, IdeAction::Run},
      {{"--help"}, IdeAction::Help},
      {{"-h"}, IdeAction::Help},
      {{"robot.Kvl", "--version"}, IdeAction::Version},
      {{"--version", "--help"}, IdeAction::Version},
      {{"--", "--help"}, IdeAction::Run},  // a file of that name
      {{"-platform", "offscreen", "--help"}, IdeAction::Help},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(ideAction(c.args), c.action);
  }
  EXPECT_EQ(ideVersionText(), "kavelide MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\n");
  EXPECT_EQ(ideUsageText().rfind("usage: kavelide", 0), 0u);
}

TEST(IdeCommandLine, ADisplayIsNeededOnlyByTheDesktopPlatforms) {
  struct Case {
    std::vector<std::string> args;
    std::string variable, display, wayland;
    bool missing;
    std::string names;  // what the line names when it is missing
  };
  const Case cases[] = {
      {{}, "", "", "", true, "neither DISPLAY nor WAYLAND_DISPLAY"},
      {{}, "", ":0", "", false, ""},
      {{}, "", "", "wayland-0", false, ""},
      {{}, "offscreen", "", "", false, ""},
      {{}, "minimal", "", "", false, ""},
      {{}, "xcb", "", "wayland-0", true, "\"xcb\": DISPLAY"},
      {{}, "xcb:nograb", ":1", "", false, ""},
      {{}, "wayland", ":0", "", true, "\"wayland\": WAYLAND_DISPLAY"},
      {{}, "wayland-egl;xcb", ":0", "", false, ""},  // the list falls back to X11
      {{}, "wayland;xcb", "", "", true, "\"wayland;xcb\": WAYLAND_DISPLAY"},
      {{"-platform", "offscreen"}, "xcb", "", "", false, ""},  // the argument wins
      {{"-platform=xcb"}, "offscreen", "", "", true, "\"xcb\": DISPLAY"},
      {{"--", "-platform", "offscreen"}, "", "", "", true, "neither"},  // file names
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " " + c.variable + " " + c.display + " " + c.wayland);
    DisplayInputs in;
    in.platformArgument = platformArgumentOf(c.args);
    in.platformVariable = c.variable;
    in.display = c.display;
    in.waylandDisplay = c.wayland;
    const std::string line = missingDisplayText(in);
    EXPECT_EQ(!line.empty(), c.missing) << line;
    if (!c.missing) continue;
    EXPECT_NE(line.find(c.names), std::string::npos) << line;
    EXPECT_EQ(line.rfind("kavelide: ", 0), 0u) << line;
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line: " << line;
    EXPECT_NE(line.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << line;
  }
  DisplayInputs named;
  named.display = ":99";
  const std::string line = unreachableDisplayText(named);
  EXPECT_NE(line.find("DISPLAY=:99"), std::string::npos) << line;
  EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
}
