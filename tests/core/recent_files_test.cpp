#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/settings/AppSettings.h"
#include "core/settings/IniFile.h"
#include "core/setup/IoSetup.h"
#include "core/shell/RecentFiles.h"
#include "core/text/TextFile.h"

using kavel::IniFile;
using kavel::RecentFiles;
namespace fs = std::filesystem;

namespace {

class RecentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-recent-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = fs::canonical(tmpl).string() + "/";
    fs::create_directories(dir_ + "sub");
    for (const char* name : {"a.Kvl", "b.Kvl", "c.Kvl"}) std::ofstream(dir_ + name) << "x";
    fs::create_symlink(dir_ + "a.Kvl", dir_ + "link.Kvl");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string dir_;
};

TEST_F(RecentFilesTest, AddMovesToTopDedupesByTheFileAndKeepsEight) {
  struct Case {
    const char* what;
    std::vector<std::string> added;  // relative to the test folder; "" adds an empty path
    std::vector<std::string> expected;
  } cases[] = {
      {"one file", {"a.Kvl"}, {"a.Kvl"}},
      {"newest first", {"a.Kvl", "b.Kvl", "c.Kvl"}, {"c.Kvl", "b.Kvl", "a.Kvl"}},
      {"opening again moves to the top", {"a.Kvl", "b.Kvl", "a.Kvl"}, {"a.Kvl", "b.Kvl"}},
      {"./ and .. name the same file", {"a.Kvl", "b.Kvl", "./sub/../a.Kvl"}, {"a.Kvl", "b.Kvl"}},
      {"a link names its target", {"a.Kvl", "b.Kvl", "link.Kvl"}, {"a.Kvl", "b.Kvl"}},
      {"a missing file keeps its place", {"gone.Kvl", "a.Kvl", "sub/../gone.Kvl"}, {"gone.Kvl", "a.Kvl"}},
      {"an empty path changes nothing", {"a.Kvl", ""}, {"a.Kvl"}},
      {"the ninth pushes out the oldest",
       {"1.Kvl", "2.Kvl", "3.Kvl", "4.Kvl", "5.Kvl", "6.Kvl", "7.Kvl", "8.Kvl", "9.Kvl"},
       {"9.Kvl", "8.Kvl", "7.Kvl", "6.Kvl", "5.Kvl", "4.Kvl", "3.Kvl", "2.Kvl"}},
      {"re-adding the oldest of eight keeps all",
       {"1.Kvl", "2.Kvl", "3.Kvl", "4.Kvl", "5.Kvl", "6.Kvl", "7.Kvl", "8.Kvl", "1.Kvl"},
       {"1.Kvl", "8.Kvl", "7.Kvl", "6.Kvl", "5.Kvl", "4.Kvl", "3.Kvl", "2.Kvl"}},
  };
  for (const Case& c : cases) {
    RecentFiles recent;
    for (const std::string& f : c.added) recent.add(f.empty() ? f : dir_ + f);
    std::vector<std::string> expected;
    for (const std::string& f : c.expected) expected.push_back(dir_ + f);
    EXPECT_EQ(recent.files(), expected) << c.what;
  }
}

TEST_F(RecentFilesTest, ARelativePathIsKeptAbsolute) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_ + "sub");
  RecentFiles recent;
  recent.add("../b.Kvl");
  fs::current_path(before);
  EXPECT_EQ(recent.files(), std::vector<std::string>{dir_ + "b.Kvl"});
}

TEST_F(RecentFilesTest, TheSettingsFileKeepsTheListAndEveryOtherSection) {
  const std::string ini = dir_ + "kavelide.ini";
  std::ofstream(ini, std::ios::binary) << "[COMPORT]\r\nPortName=/dev/ttyUSB1\r\n[OTHER-TOOL]\r\nKey=kept\r\n";

  RecentFiles recent;
  recent.add(dir_ + "a.Kvl");
  recent.add(dir_ + "b.Kvl");
  ASSERT_TRUE(recent.saveTo(ini));

  // The program's own settings writer, run at every exit, leaves the list alone.
  kavel::AppSettings settings;
  kavel::IoSetup io;
  settings.programFolder = dir_;
  kavel::LoadSettings(settings, io, ini);
  EXPECT_EQ(settings.PortName, "/dev/ttyUSB1");
  ASSERT_TRUE(kavel::SaveSettings(settings, io, ini));

  RecentFiles again;
  again.loadFrom(ini);
  EXPECT_EQ(again.files(), recent.files());
  IniFile file;
  ASSERT_TRUE(file.load(ini));
  EXPECT_EQ(file.value("OTHER-TOOL", "Key"), "kept");

  // A shorter list empties the keys it no longer uses.
  again.remove(dir_ + "link.Kvl");  // the same file as a.Kvl
  ASSERT_TRUE(again.saveTo(ini));
  RecentFiles third;
  third.loadFrom(ini);
  EXPECT_EQ(third.files(), std::vector<std::string>{dir_ + "b.Kvl"});
}

TEST_F(RecentFilesTest, AHandEditedListSkipsEmptyAndRepeatedEntries) {
  const IniFile ini = IniFile::fromBytes("[RECENT]\r\nFile1=" + dir_ + "a.Kvl\r\nFile2=\r\nFile3=" + dir_ +
                                         "sub/../a.Kvl\r\nFile4=" + dir_ + "c.Kvl\r\nFile9=" + dir_ + "b.Kvl\r\n");
  RecentFiles recent;
  recent.load(ini);
  EXPECT_EQ(recent.files(), (std::vector<std::string>{dir_ + "a.Kvl", dir_ + "c.Kvl"}));
}

}  // namespace
