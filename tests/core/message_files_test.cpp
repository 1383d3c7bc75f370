#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "core/i18n/MessageTable.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

using kavel::MessageTable;
namespace fs = std::filesystem;

namespace {

constexpr int kJapanese = 0;
constexpr int kEnglish = 1;
const std::string kDataDir = KAVEL_SOURCE_DIR "/data/";
const char* const kFiles[] = {"Japanese.Txt", "English.Txt"};

// Every message number some window, question or statement text shows. 151 is the camera
// monitor's colour-reset question; 141 to 144 and 152 are the sensor monitor's recorder and
// chart; 100, 101, 103, 137, 153, 154 and 157 to 159 are Export Picture, the Recent list and the
// restore question after a crash.
std::set<int> usedMessages() {
  std::set<int> used;
  auto range = [&used](int from, int to) {
    for (int n = from; n <= to; ++n) used.insert(n);
  };
  range(1, 6);
  range(8, 34);
  range(36, 59);
  range(61, 64);
  range(66, 71);
  range(73, 78);
  range(80, 85);
  range(87, 92);
  range(94, 99);
  range(100, 103);
  range(104, 137);
  range(138, 140);
  range(141, 152);
  range(153, 154);
  range(155, 159);
  // The Edit menu, its Undo and Redo items and the names of the undo steps.
  for (int n : {7, 35, 60, 65, 72, 79, 86}) used.insert(n);
  return used;
}

// Menu and pop-up menu items: their captions carry a keyboard accelerator.
const int kMenuItems[] = {1,  2,  3,  4,  5,  6,  8,  9,  10, 11,  12,  13,  15,  19,  20,  21,
                          22, 23, 24, 25, 26, 27, 28, 29, 30, 31,  32,  33,  115, 116, 117, 118,
                          119, 120, 121, 7,  35,  60,  100, 101, 158};

MessageTable loadShipped() {
  MessageTable table;
  for (int language : {kJapanese, kEnglish}) {
    EXPECT_TRUE(table.load(language, kDataDir + kFiles[language])) << kFiles[language];
  }
  return table;
}

}  // namespace

TEST(MessageFiles, HoldATextForEveryUsedNumberAndNoOther) {
  const MessageTable table = loadShipped();
  const std::set<int> used = usedMessages();
  for (int language : {kJapanese, kEnglish}) {
    for (int n = 0; n < MessageTable::kEntries; ++n) {
      if (used.count(n)) {
        EXPECT_FALSE(table.text(language, n).empty()) << kFiles[language] << ": message " << n;
      } else {
        EXPECT_TRUE(table.text(language, n).empty()) << kFiles[language] << ": message " << n;
      }
    }
    for (int n : kMenuItems) {
      EXPECT_NE(table.text(language, n).find('&'), std::string::npos)
          << kFiles[language] << ": menu item " << n << " has no accelerator";
    }
  }
}

TEST(MessageFiles, CarryTheTextsTheWindowsRelyOn) {
  const MessageTable table = loadShipped();
  // The close question breaks its line in front of the quoted Yes button.
  EXPECT_NE(table.text(kJapanese, 41).find("「はい」"), std::string::npos);
  EXPECT_NE(table.text(kEnglish, 41).find("\"Yes\""), std::string::npos);
  // Captions the forms were designed with; the half-width and ideographic characters are
  // the ones an encoding slip would damage.
  struct Caption {
    int n;
    const char* text;
  } captions[] = {
      {2, "新規作成 (&New)"}, {31, "Setup ボタンを表示\u3000(&S)"}, {104, "条件選択"},
      {109, " 変数チェック"},  {125, "ｺﾒﾝﾄ"},                       {136, "誤差（+/-)"},
  };
  for (const auto& c : captions) EXPECT_EQ(table.text(kJapanese, c.n), c.text) << c.n;
}

TEST(MessageFiles, AreInTheLanguageEditorsFormatAndEncoding) {
  const MessageTable table = loadShipped();
  std::string tmpl = (fs::temp_directory_path() / "kavel-msgfiles-XXXXXX").string();
  const fs::path dir = ::mkdtemp(tmpl.data());
  for (int language : {kJapanese, kEnglish}) {
    std::string shipped;
    ASSERT_TRUE(kavel::text::readFileBytes(kDataDir + kFiles[language], shipped));
    const std::string rewritten = (dir / kFiles[language]).string();
    ASSERT_TRUE(table.write(language, rewritten));
    std::string bytes;
    ASSERT_TRUE(kavel::text::readFileBytes(rewritten, bytes));
    EXPECT_EQ(bytes, shipped) << kFiles[language] << " differs from what the editor writes";
  }
  std::string japanese;
  ASSERT_TRUE(kavel::text::readFileBytes(kDataDir + kFiles[kJapanese], japanese));
  EXPECT_FALSE(kavel::text::isValidUtf8(japanese)) << "existing users' files are CP932";
  fs::remove_all(dir);
}
