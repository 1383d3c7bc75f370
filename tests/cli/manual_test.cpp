// The manual as build/bin/doc holds it: every link and picture of every page resolves, anchors
// included; every statement page shows its dialog; no page is out of reach of the contents; and
// every page Help > Manual and F1 can open is there.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "RunProcess.h"
#include "core/shell/ManualPages.h"

using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

const fs::path kManual = fs::path(KAVEL_BIN_DIR) / "doc";

struct Page {
  std::set<std::string> ids;
  std::vector<std::string> targets;  // href and src values
};

// The manual's own HTML is plain enough for patterns: attributes in double quotes.
Page parse(const std::string& html) {
  Page page;
  static const std::regex id(R"re(\bid="([^"]+)")re");
  static const std::regex target(R"re(\b(?:href|src)="([^"]*)")re");
  for (std::sregex_iterator it(html.begin(), html.end(), id), end; it != end; ++it) page.ids.insert((*it)[1]);
  for (std::sregex_iterator it(html.begin(), html.end(), target), end; it != end; ++it) {
    page.targets.push_back((*it)[1]);
  }
  return page;
}

class Manual : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const auto& e : fs::recursive_directory_iterator(kManual)) {
      if (e.path().extension() == ".html") {
        pages_[fs::relative(e.path(), kManual).string()] = parse(slurp(e.path().string()));
      }
    }
  }
  // "" when `link` from `page` resolves; otherwise what is wrong.
  static std::string check(const std::string& page, const std::string& link) {
    if (link.empty()) return "an empty link";
    if (link.find("://") != std::string::npos || link.rfind("mailto:", 0) == 0) return "";
    const auto hash = link.find('#');
    const std::string file = link.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? "" : link.substr(hash + 1);
    const fs::path target =
        file.empty() ? kManual / page : (kManual / fs::path(page).parent_path() / file).lexically_normal();
    if (!fs::is_regular_file(target)) return "no file " + target.string();
    if (!anchor.empty()) {
      const auto it = pages_.find(fs::relative(target, kManual).string());
      if (it == pages_.end()) return "an anchor into a file that is no page";
      if (!it->second.ids.count(anchor)) return "no id \"" + anchor + "\" in " + target.string();
    }
    return "";
  }
  static inline std::map<std::string, Page> pages_;
};

}  // namespace

TEST_F(Manual, EveryLinkAndPictureResolves) {
  ASSERT_GT(pages_.size(), 20u) << "the manual is copied to " << kManual;
  for (const auto& [name, page] : pages_) {
    for (const std::string& link : page.targets) {
      const std::string problem = check(name, link);
      EXPECT_EQ(problem, "") << name << " links to \"" << link << "\"";
    }
  }
}

TEST_F(Manual, StatementPagesShowTheirDialogAndEveryPageIsReachable) {
  for (const auto& [name, page] : pages_) {
    if (name.rfind("statements/", 0) != 0 || name == "statements/index.html") continue;
    const bool picture = std::any_of(page.targets.begin(), page.targets.end(),
                                     [](const std::string& t) { return t.rfind("../pictures/", 0) == 0; });
    EXPECT_TRUE(picture) << name << " shows no picture of its dialog";
  }
  // Walk the links from the contents page.
  std::set<std::string> seen{"index.html"};
  std::vector<std::string> todo{"index.html"};
  while (!todo.empty()) {
    const std::string name = todo.back();
    todo.pop_back();
    for (const std::string& link : pages_[name].targets) {
      if (link.find("://") != std::string::npos) continue;
      const std::string file = link.substr(0, link.find('#'));
      if (file.empty() || fs::path(file).extension() != ".html") continue;
      const std::string target =
          fs::relative((kManual / fs::path(name).parent_path() / file).lexically_normal(), kManual).string();
      if (seen.insert(target).second) todo.push_back(target);
    }
  }
  for (const auto& [name, page] : pages_) EXPECT_TRUE(seen.count(name)) << name << " cannot be reached from the contents";
}

TEST_F(Manual, EveryPageTheProgramOpensIsThere) {
  std::vector<kavel::ManualPage> opened{kavel::manualContents()};
  for (const auto& [name, page] : kavel::manualWindowTable()) opened.push_back(page);
  for (int sno = 0; sno <= 45; ++sno) {
    opened.push_back(kavel::manualPageForStatement(sno));
    opened.push_back(kavel::manualPageForCondition(sno));
  }
  for (const kavel::ManualPage& page : opened) {
    EXPECT_EQ(check("index.html", page.link()), "") << page.link();
  }
  EXPECT_EQ(kavel::findManualFolder(KAVEL_BIN_DIR "/kavelide"), kManual.string() + "/");
  const kavel::ManualPage japanese =
      kavel::localizedPage(kManual.string() + "/", kavel::manualPageForWindow("TfrmMain"), 0);
  EXPECT_EQ(check("index.html", japanese.link()), "") << japanese.link();
  EXPECT_EQ(japanese.file, "getting-started.ja.html");
}
