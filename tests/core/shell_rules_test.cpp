#include <gtest/gtest.h>

#include "core/i18n/MessagePaths.h"
#include "core/settings/AppSettings.h"
#include "core/shell/ModeQuestion.h"
#include "core/shell/VersionInfo.h"

using namespace kavel;

TEST(ModeQuestion, EachTagAsksItsOwnQuestionAndStoresItsOwnSetting) {
  AppSettings s;
  s.BuildJob = 1;
  s.SetupDef = 2;
  const ModeQuestion& build = modeQuestion(ModeQuestion::kBuildSave);
  EXPECT_EQ(build.label, 148);
  EXPECT_EQ(build.group, 15);
  EXPECT_EQ(build.choices, (std::array<int, 3>{16, 17, 18}));
  EXPECT_EQ(&modeSetting(s, ModeQuestion::kBuildSave), &s.BuildJob);

  const ModeQuestion& setup = modeQuestion(ModeQuestion::kNewSetup);
  EXPECT_EQ(setup.label, 36);
  EXPECT_EQ(setup.group, 37);
  EXPECT_EQ(setup.choices, (std::array<int, 3>{38, 39, 40}));
  EXPECT_EQ(&modeSetting(s, ModeQuestion::kNewSetup), &s.SetupDef);
}

TEST(VersionInfo, BoardAndLoaderLinesOnlyOnceABoardHasAnswered) {
  AppSettings s;
  VersionInfo info = versionInfo(s);
  EXPECT_EQ(info.title, "MORVANE Kavel for Wrenlet CORE");
  EXPECT_EQ(info.appVersion, "App Version : MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]");
  EXPECT_TRUE(info.buildVersion.empty());
  EXPECT_TRUE(info.loaderVersion.empty());

  s.BoardVersionText = "WL-CORE V1.20";
  s.LoaderText = "WL Loader2520";
  info = versionInfo(s);
  EXPECT_EQ(info.buildVersion, "Build Version : WL-CORE V1.20");
  EXPECT_EQ(info.loaderVersion, "Loader Version : WL Loader2520");
}

TEST(VersionInfo, IconByVariant) {
  const struct {
    int variant;
    const char* product;
    VersionInfo::Icon icon;
    bool distributor;
  } cases[] = {
      {0, "/p/Glent.jpg", VersionInfo::Icon::Glent, false},
      {1, "/p/QV7B-FW.jpg", VersionInfo::Icon::QV7B, false},
      {1, "/p/QV7B-RX.jpg", VersionInfo::Icon::QV7B, true},
      {2, "/p/QV7B-RX.jpg", VersionInfo::Icon::None, false},
      {3, "/p/WL-Core.jpg", VersionInfo::Icon::BoardFamily, false},
      {4, "/p/WL-Core.jpg", VersionInfo::Icon::BoardFamily, false},
  };
  for (const auto& c : cases) {
    AppSettings s;
    s.variant = c.variant;
    s.PRODUCT = c.product;
    const VersionInfo info = versionInfo(s);
    EXPECT_EQ(info.icon, c.icon) << "variant " << c.variant << " " << c.product;
    EXPECT_EQ(info.distributorPicture, c.distributor) << "variant " << c.variant << " " << c.product;
  }
}

TEST(MessagePaths, BothFilesMoveIntoTheChosenFolderKeepingTheirNames) {
  const struct {
    const char* chosen;
    const char* japanese;
    const char* english;
  } cases[] = {
      {"/new/place/Japanese.Txt", "/new/place/Japanese.Txt", "/new/place/English.Txt"},
      {"/new/place/English.Txt", "/new/place/Japanese.Txt", "/new/place/English.Txt"},
      {"/new/place/anything.txt", "/new/place/Japanese.Txt", "/new/place/English.Txt"},
  };
  for (const auto& c : cases) {
    AppSettings s;
    s.LANG_0__ = "/old/Japanese.Txt";
    s.LANG_1__ = "/old/English.Txt";
    moveMessagePaths(s, c.chosen);
    EXPECT_EQ(s.LANG_0__, c.japanese) << c.chosen;
    EXPECT_EQ(s.LANG_1__, c.english) << c.chosen;
  }
}
