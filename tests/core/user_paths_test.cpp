// Where settings, programs and the build folder go: beside a writable program, per user for an
// installed or read-only one.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/build/SampleBuildFolder.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SettingsPaths.h"
#include "core/setup/IoSetup.h"
#include "core/shell/UserPaths.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

mode_t modeOf(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-paths-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    for (auto it = fs::recursive_directory_iterator(dir_); it != fs::recursive_directory_iterator(); ++it) {
      std::error_code ec;
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  static bool root() { return ::geteuid() == 0; }
  fs::path dir_;
};

}  // namespace

TEST(UserPaths, DecisionTable) {
  struct Case {
    const char* name;
    PathInputs in;
    bool perUser;
    const char* dataFolder;
    const char* settingsFile;
    const char* userRoot;
    const char* buildRoot;
    bool problem;
  };
  const auto in = [](const char* binary, bool installed, bool writable, const char* home, bool homeExists,
                     const char* config, const char* data) {
    PathInputs p;
    p.binaryPath = binary;
    p.installedLayout = installed;
    p.programFolderWritable = writable;
    p.home = home;
    p.homeExists = homeExists;
    p.xdgConfigHome = config;
    p.xdgDataHome = data;
    return p;
  };
  const Case cases[] = {
      {"writable program folder keeps everything beside the binary",
       in("/w/build/bin/kavelide", false, true, "/home/ann", true, "/cfg", "/dat"), false, "/w/build/bin/",
       "/w/build/bin/kavelide.ini", "", "", false},
      {"writable folder without HOME is still the program folder",
       in("/w/build/bin/kavelide", false, true, "", false, "", ""), false, "/w/build/bin/",
       "/w/build/bin/kavelide.ini", "", "", false},
      {"read-only program folder, XDG unset: defaults under HOME",
       in("/mnt/share/kavel/kavelide", false, false, "/home/ann", true, "", ""), true, "/mnt/share/kavel/",
       "/home/ann/.config/kavel/kavelide.ini", "/home/ann/Kavel/", "/home/ann/.local/share/kavel/", false},
      {"installed layout is per user even when root can write /usr",
       in("/usr/bin/kavelide", true, true, "/root", true, "", ""), true, "/usr/share/kavel/",
       "/root/.config/kavel/kavelide.ini", "/root/Kavel/", "/root/.local/share/kavel/", false},
      {"absolute XDG folders are used, trailing slashes dropped",
       in("/opt/k/bin/kavel", true, false, "/home/ann/", true, "/x/conf/", "/x/data"), true, "/opt/k/share/kavel/",
       "/x/conf/kavel/kavelide.ini", "/home/ann/Kavel/", "/x/data/kavel/", false},
      {"relative XDG values are ignored",
       in("/opt/k/bin/kavelide", true, false, "/home/ann", true, "conf", "./data"), true, "/opt/k/share/kavel/",
       "/home/ann/.config/kavel/kavelide.ini", "/home/ann/Kavel/", "/home/ann/.local/share/kavel/", false},
      {"HOME unset: nowhere to keep anything, said once",
       in("/usr/bin/kavelide", true, false, "", false, "", ""), true, "/usr/share/kavel/", "", "", "", true},
      {"HOME relative counts as unset",
       in("/usr/bin/kavelide", true, false, "home/ann", false, "", ""), true, "/usr/share/kavel/", "", "", "", true},
      {"HOME missing on disk: XDG folders still serve",
       in("/usr/bin/kavelide", true, false, "/home/gone", false, "/x/conf", "/x/data"), true, "/usr/share/kavel/",
       "/x/conf/kavel/kavelide.ini", "", "/x/data/kavel/", true},
      {"installed in the root folder's bin",
       in("/bin/kavelide", true, false, "/home/ann", true, "", ""), true, "/share/kavel/",
       "/home/ann/.config/kavel/kavelide.ini", "/home/ann/Kavel/", "/home/ann/.local/share/kavel/", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const UserPaths p = decideUserPaths(c.in);
    EXPECT_EQ(p.perUser, c.perUser);
    EXPECT_EQ(p.dataFolder, c.dataFolder);
    EXPECT_EQ(p.settingsFile, c.settingsFile);
    EXPECT_EQ(p.userRoot, c.userRoot);
    EXPECT_EQ(p.buildRoot, c.buildRoot);
    EXPECT_EQ(!p.problem.empty(), c.problem) << p.problem;
    if (!p.problem.empty()) {
      EXPECT_NE(p.problem.find("HOME"), std::string::npos) << "names what to fix: " << p.problem;
    }
  }
}

TEST_F(TempFolder, ProbeFindsTheInstalledLayoutAndAReadOnlyFolder) {
  fs::create_directories(dir_ / "prefix" / "bin");
  const std::string binary = (dir_ / "prefix" / "bin" / "kavelide").string();
  EXPECT_FALSE(probePathInputs(binary).installedLayout);
  EXPECT_TRUE(probePathInputs(binary).programFolderWritable);
  fs::create_directories(dir_ / "prefix" / "share" / "kavel");
  EXPECT_TRUE(probePathInputs(binary).installedLayout);

  // Without write bits the folder counts as read-only, for root as well.
  fs::permissions(dir_ / "prefix" / "bin", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(probePathInputs(binary).programFolderWritable);
  EXPECT_FALSE(folderWritable((dir_ / "no-such-folder").string()));
}

TEST_F(TempFolder, PerUserFoldersArePrivateAndNothingIsMadeOutsideAnExistingBase) {
  const fs::path home = dir_ / "home";
  fs::create_directories(home);
  PathInputs in;
  in.binaryPath = "/usr/bin/kavelide";
  in.installedLayout = true;
  in.home = home.string();
  UserPaths paths = decideUserPaths(in);
  prepareUserFolders(paths, "User_WL/");
  EXPECT_EQ(paths.problem, "");
  EXPECT_EQ(modeOf(home / ".config"), 0700u);
  EXPECT_EQ(modeOf(home / ".config" / "kavel"), 0700u);
  EXPECT_EQ(modeOf(home / ".config" / "kavel" / "kavelide.ini"), 0600u) << "every save keeps this mode";
  EXPECT_EQ(fs::file_size(home / ".config" / "kavel" / "kavelide.ini"), 0u);
  EXPECT_EQ(modeOf(home / "Kavel"), 0700u);
  EXPECT_TRUE(fs::is_directory(home / "Kavel" / "User_WL"));
  EXPECT_FALSE(fs::exists(home / ".local")) << "the build folder is copied on the first build only";

  // A settings file the user already has is left as it is.
  std::ofstream(home / ".config" / "kavel" / "kavelide.ini") << "[PRJ]\n";
  UserPaths again = decideUserPaths(in);
  prepareUserFolders(again, "User_WL/");
  EXPECT_EQ(fs::file_size(home / ".config" / "kavel" / "kavelide.ini"), 6u);

  // An XDG folder that does not exist is reported, not made.
  in.xdgConfigHome = (dir_ / "nowhere" / "config").string();
  UserPaths missing = decideUserPaths(in);
  prepareUserFolders(missing, "User_WL/");
  EXPECT_NE(missing.problem.find((dir_ / "nowhere" / "config").string()), std::string::npos) << missing.problem;
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
}

TEST_F(TempFolder, UnwritableHomeIsReportedAndTheRunGoesOn) {
  if (root()) GTEST_SKIP() << "root writes into a folder without write bits";
  const fs::path home = dir_ / "home";
  fs::create_directories(home);
  fs::permissions(home, fs::perms::owner_read | fs::perms::owner_exec);
  PathInputs in;
  in.binaryPath = "/usr/bin/kavelide";
  in.installedLayout = true;
  in.home = home.string();
  UserPaths paths = decideUserPaths(in);
  prepareUserFolders(paths, "User_WL/");
  EXPECT_NE(paths.problem.find(".config"), std::string::npos) << paths.problem;
  EXPECT_NE(paths.problem.find("Kavel"), std::string::npos) << paths.problem;
  EXPECT_EQ(paths.settingsFile, (home / ".config/kavel/kavelide.ini").string()) << "a later save fails right there";
}

TEST_F(TempFolder, SettingsOfAPerUserRunPointIntoTheUsersFolders) {
  AppSettings s;
  IoSetup io;
  UserPaths paths;
  paths.perUser = true;
  paths.dataFolder = "/usr/share/kavel/";
  paths.userRoot = "/home/ann/Kavel/";
  paths.buildRoot = "/home/ann/.local/share/kavel/";
  setDefaultSettings(s, io, 3, paths);
  EXPECT_EQ(s.DefPath_, "/home/ann/Kavel/User_WL/");
  EXPECT_EQ(s.DatPath_, "/home/ann/Kavel/User_WL/");
  EXPECT_EQ(s.BatFile_, "/home/ann/.local/share/kavel/Build/Build_V190617/BuildPath.Bat");
  EXPECT_EQ(s.LANG_1__, "/usr/share/kavel/English.Txt") << "data is read where it was installed";

  // A stored BatFile_ into the read-only install is redirected to the copy; others stay.
  const fs::path ini = dir_ / "kavelide.ini";
  struct Case {
    std::string stored, want;
  } cases[] = {
      {"/usr/share/kavel/Build/Build_V190617/BuildPath.Bat",
       "/home/ann/.local/share/kavel/Build/Build_V190617/BuildPath.Bat"},
      {"/opt/pic18/build/BuildPath.Bat", "/opt/pic18/build/BuildPath.Bat"},
      {"/usr/share/kavelish/BuildPath.Bat", "/usr/share/kavelish/BuildPath.Bat"},
  };
  for (const Case& c : cases) {
    std::ofstream(ini) << "[PRJ]\r\nBatFile_=" << c.stored << "\r\n";
    LoadSettings(s, io, ini.string(), paths);
    EXPECT_EQ(s.BatFile_, c.want) << c.stored;
  }
}

TEST_F(TempFolder, SampleBuildFolderIsCopiedOnceAndRefreshedWhenTheInstallIsNewer) {
  const fs::path install = dir_ / "share" / "kavel";
  const fs::path sample = install / "Build" / "Build_V190617";
  fs::create_directories(sample / "bin");
  std::ofstream(sample / "BuildPath.Bat") << "PATH=./bin:\n";
  std::ofstream(sample / "cl2520.Bat") << "old\n";
  std::ofstream(sample / "bin" / "kcc8") << "#!/bin/sh\n";
  fs::permissions(sample / "bin" / "kcc8", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                fs::perms::group_exec);
  fs::permissions(sample / "cl2520.Bat", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const fs::path data = dir_ / "data";
  fs::create_directories(data);

  UserPaths paths;
  paths.perUser = true;
  paths.dataFolder = install.string() + "/";
  paths.buildRoot = (data / "kavel").string() + "/";
  paths.buildBase = data.string();
  const std::string batFile = defaultBatFile(paths);
  std::string error;
  ASSERT_TRUE(prepareBuildFolder(batFile, paths, &error)) << error;
  const fs::path copy = data / "kavel" / "Build" / "Build_V190617";
  EXPECT_EQ(modeOf(data / "kavel"), 0700u);
  EXPECT_EQ(modeOf(copy / "bin" / "kcc8") & 0700, 0700u) << "still runs, and the user owns it";
  EXPECT_EQ(modeOf(copy / "cl2520.Bat") & 0200, 0200u) << "a read-only install gives a writable copy";

  // The build's own files and the user's edits survive the next build.
  std::ofstream(copy / "User.c") << "build output";
  std::ofstream(copy / "BuildPath.Bat") << "PATH=/opt/pic18/bin:\n";
  ASSERT_TRUE(prepareBuildFolder(batFile, paths, &error)) << error;
  EXPECT_TRUE(fs::exists(copy / "User.c"));
  EXPECT_EQ(fs::file_size(copy / "BuildPath.Bat"), 21u);

  // An update of the install refreshes what it changed.
  fs::permissions(sample / "cl2520.Bat", fs::perms::owner_write, fs::perm_options::add);
  std::ofstream(sample / "cl2520.Bat") << "new version\n";
  fs::last_write_time(sample / "cl2520.Bat", fs::last_write_time(copy / "cl2520.Bat") + std::chrono::hours(1));
  ASSERT_TRUE(prepareBuildFolder(batFile, paths, &error)) << error;
  EXPECT_EQ(fs::file_size(copy / "cl2520.Bat"), 12u);

  // Without a folder of the user's own, the installed sample folder is refused, not written.
  UserPaths homeless = paths;
  homeless.buildRoot.clear();
  homeless.buildBase.clear();
  EXPECT_FALSE(prepareBuildFolder(defaultBatFile(homeless), homeless, &error));
  EXPECT_NE(error.find("Build Path"), std::string::npos) << error;

  // A build root below a base that does not exist is reported, and nothing is made.
  UserPaths lost = paths;
  lost.buildRoot = (dir_ / "gone" / "kavel").string() + "/";
  lost.buildBase = (dir_ / "gone").string();
  EXPECT_FALSE(prepareBuildFolder(defaultBatFile(lost), lost, &error));
  EXPECT_NE(error.find((dir_ / "gone").string()), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir_ / "gone"));

  // A writable program folder builds where it always did.
  UserPaths portable;
  portable.dataFolder = install.string() + "/";
  EXPECT_TRUE(prepareBuildFolder(defaultBatFile(portable), portable, &error)) << error;
}
