// Which manual page Help > Manual and F1 open for a window, a dialog or a row, and where the
// manual folder of a program folder or an installed copy is found.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/shell/ManualPages.h"

using namespace kavel;
namespace fs = std::filesystem;

TEST(ManualPages, RowsOpenThePageOfTheirStatementOrCondition) {
  struct Case {
    int sno, cno;
    const char* link;
  };
  const Case cases[] = {
      {21, 21, "statements/motor.html"},          {20, 20, "statements/motor.html"},
      {19, 19, "statements/motor.html"},          {28, 28, "statements/motor.html"},
      {29, 29, "statements/wait.html"},           {30, 30, "statements/timer.html"},
      {1, 30, "statements/timer.html#condition"}, {4, 1, "statements/while.html#forever"},
      {1, 0, "statements/if.html"},               {2, 0, "statements/if.html#elseif"},
      {3, 0, "statements/if.html#else"},          {0, 2, "statements/if.html#end"},
      {4, 0, "statements/while.html"},            {6, 0, "statements/while.html#continue"},
      {7, 0, "statements/while.html#break"},      {5, 5, "statements/for.html"},
      {1, 14, "statements/sensor.html"},          {2, 13, "statements/sensor.html"},
      {4, 15, "statements/direction.html"},       {31, 31, "statements/variable.html"},
      {31, 32, "statements/variable.html"},       {1, 32, "statements/variable.html#condition"},
      {33, 33, "statements/ccode.html"},          {4, 33, "statements/ccode.html#condition"},
      {35, 35, "statements/led.html"},            {2, 37, "statements/led.html#condition"},
      {38, 38, "statements/pwm.html"},            {39, 39, "statements/servo.html"},
      {40, 40, "statements/output.html"},         {1, 40, "statements/output.html#condition"},
      {41, 41, "statements/lcd.html"},            {1, 43, "statements/gamepad.html"},
      {44, 44, "statements/ultrasonic.html"},     {1, 44, "statements/ultrasonic.html#condition"},
      {1, 45, "statements/camera.html"},          {9, 9, "statements/subprogram.html"},
      {10, 10, "statements/subprogram.html#return"}, {8, 7, "setup.html"},
      {42, 42, "statements/index.html"},          {1, 99, "statements/conditions.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(manualPageForRow(c.sno, c.cno).link(), c.link) << "sno " << c.sno << " cno " << c.cno;
  }
}

TEST(ManualPages, WindowsAndDialogsOpenTheirPage) {
  EXPECT_EQ(manualPageForWindow("TfrmSpeed").link(), "statements/motor.html");
  EXPECT_EQ(manualPageForWindow("TfrmCondition").link(), "statements/conditions.html");
  EXPECT_EQ(manualPageForWindow("TfrmMoni").link(), "monitors.html#sensor-monitor");
  EXPECT_EQ(manualPageForWindow("TfrmSetup").link(), "setup.html");
  EXPECT_EQ(manualPageForWindow("TfrmProg").link(), "getting-started.html#program-window");
  EXPECT_EQ(manualPageForWindow("QDialog"), manualContents()) << "an unknown class opens the contents";
  EXPECT_EQ(manualPageForWindow(""), manualContents());
  for (const auto& [name, page] : manualWindowTable()) {
    EXPECT_EQ(manualPageForWindow(name), page) << name;
    EXPECT_NE(page.file, "") << name;
  }
}

class ManualFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-manual-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }
  void touch(const fs::path& rel) {
    fs::create_directories((dir_ / rel).parent_path());
    std::ofstream(dir_ / rel) << "<html></html>";
  }
  std::string at(const std::string& rel) const { return (dir_ / rel).string(); }
  fs::path dir_;
};

TEST_F(ManualFolder, FoundBesideTheBinariesOrInTheInstalledDocFolder) {
  EXPECT_EQ(findManualFolder(at("bin/kavelide")), "") << "no manual anywhere";
  EXPECT_EQ(manualFolderCandidates(at("bin/kavelide")),
            (std::vector<std::string>{at("bin/doc/"), at("share/doc/kavel/")}));

  touch("share/doc/kavel/index.html");
  EXPECT_EQ(findManualFolder(at("bin/kavelide")), at("share/doc/kavel/")) << "installed copy";
  touch("bin/doc/index.html");
  EXPECT_EQ(findManualFolder(at("bin/kavelide")), at("bin/doc/")) << "the program folder's own manual first";

  touch("other/program/doc/getting-started.html");
  EXPECT_EQ(findManualFolder(at("other/program/kavelide")), "") << "a folder without its contents page is no manual";
}

TEST_F(ManualFolder, JapaneseReadersGetTheTranslationWhereThereIsOne) {
  touch("doc/getting-started.html");
  touch("doc/getting-started.ja.html");
  touch("doc/building.html");
  const std::string folder = at("doc/");
  const ManualPage start{"getting-started.html", "first-start"};
  EXPECT_EQ(localizedPage(folder, start, 0), (ManualPage{"getting-started.ja.html", "first-start"}));
  EXPECT_EQ(localizedPage(folder, start, 1), start);
  EXPECT_EQ(localizedPage(folder, {"building.html", ""}, 0), (ManualPage{"building.html", ""}));
}
