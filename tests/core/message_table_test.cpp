#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/i18n/MessageTable.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

using kavel::MessageTable;
namespace fs = std::filesystem;

namespace {

constexpr int kJapanese = 0;
constexpr int kEnglish = 1;
const std::string kSep = "//" + std::string(75, '-');
const std::string kNihongoCp932 = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "kavel-msg-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string p = file(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

 private:
  std::string path_;
};

std::string readBytes(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(kavel::text::readFileBytes(path, bytes)) << path;
  return bytes;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

}  // namespace

TEST(MessageTableLoad, ReadsMessageLinesByTheirNumberField) {
  struct Case {
    const char* what;
    std::string file;
    int n;
    std::string expected;
  } cases[] = {
      {"a later line replaces an earlier one",
       "[001]:\xE6\x97\xA5\xE6\x9C\xAC\r\n[001]:English\r\n", 1, "English"},
      {"160 is beyond the file entries", "[160]:too far\r\n", 160, ""},
      {"0 is not a message", "[000]:zero\r\n", 0, ""},
      {"letters in the brackets", "[0a1]:letters\r\n[abc]:more\r\n", 1, ""},
      {"a sign is not a digit", "[-12]:minus\r\n", 12, ""},
      {"a one-digit number leaves the bracket in the field", "[7]:short\r\n", 7, ""},
      {"blanks around the digits are allowed", "[ 77]:hand edited\r\n", 77, "hand edited"},
      {"characters 5 and 6 are not examined", "[002xyHello\r\n", 2, "Hello"},
      {"the text keeps its leading blanks", "[003]:  two blanks\r\n", 3, "  two blanks"},
      {"an empty text", "[004]:filled\r\n[004]:\r\n", 4, ""},
      {"comment and separator lines are skipped", kSep + "\r\n// [005]:comment\r\n", 5, ""},
      {"LF line ends", "[006]:lf\n[007]:after lf\n", 7, "after lf"},
      {"the last line without a line end", "[008]:first\r\n[042]:no line end", 42, "no line end"},
      {"a line is seen through a 256-byte buffer", "[009]:" + std::string(300, 'a') + "\r\n", 9,
       std::string(249, 'a')},
      {"a line that fills the buffer up to its CR", "[015]:" + std::string(248, 'b') + "\r\n",
       15, std::string(248, 'b')},
      {"the rest of a long line reads as a line of its own",
       "[010]:" + std::string(249, 'a') + "[011]:tail\r\n", 11, "tail"},
      {"CP932 text", "[012]:" + kNihongoCp932 + "\r\n", 12, "日本語"},
      {"UTF-8 text", "[013]:日本語\r\n", 13, "日本語"},
      {"a UTF-8 byte order mark before the first line", "\xEF\xBB\xBF[014]:bom\r\n", 14, "bom"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.write("case.Txt", c.file);
    for (int language : {kJapanese, kEnglish}) {
      MessageTable table;
      ASSERT_TRUE(table.load(language, path)) << c.what;
      EXPECT_EQ(table.text(language, c.n), c.expected) << c.what;
      EXPECT_EQ(table.text(1 - language, c.n), "") << c.what << ": the other column is untouched";
    }
  }
}

TEST(MessageTableLoad, StartsFromAnEmptyColumnAndFailsOnlyForUnopenableFiles) {
  TempDir dir;
  const std::string full = dir.write("full.Txt", "[001]:one\r\n[002]:two\r\n");
  const std::string partial = dir.write("partial.Txt", "[001]:uno\r\n");
  MessageTable table;
  ASSERT_TRUE(table.load(kEnglish, full));
  ASSERT_TRUE(table.load(kJapanese, full));

  ASSERT_TRUE(table.load(kEnglish, partial));
  EXPECT_EQ(table.text(kEnglish, 1), "uno");
  EXPECT_EQ(table.text(kEnglish, 2), "") << "entries of the previous file must not survive";

  EXPECT_FALSE(table.load(kEnglish, dir.file("missing.Txt")));
  EXPECT_EQ(table.text(kEnglish, 1), "");
  EXPECT_FALSE(table.load(kEnglish, dir.file("")));  // a folder
  EXPECT_EQ(table.text(kJapanese, 2), "two") << "a failed load touches only its own column";

  EXPECT_FALSE(table.load(2, full));
  EXPECT_FALSE(table.load(-1, full));
}

TEST(MessageTableLookup, OutOfRangeGivesEmptyTextsAndIsIgnoredOnSet) {
  MessageTable table;
  table.setText(kEnglish, 0, "zero");
  table.setText(kEnglish, 160, "too far");
  table.setText(2, 1, "no such language");
  EXPECT_EQ(table.text(kEnglish, 0), "");
  EXPECT_EQ(table.text(kEnglish, 160), "");
  EXPECT_EQ(table.text(kEnglish, 161), "");
  EXPECT_EQ(table.text(kEnglish, -1), "");
  EXPECT_EQ(table.text(2, 1), "");

  table.setText(kJapanese, 5, "ja");
  table.setText(kEnglish, 5, "en");
  table.setLanguage(0);
  EXPECT_EQ(table(5), "ja");
  table.setLanguage(7);  // anything but 0 is English
  EXPECT_EQ(table.language(), 1);
  EXPECT_EQ(table(5), "en");
}

TEST(MessageTableWrite, WritesTheEditorFormatWithEmptyEntriesAsGroupBreaks) {
  TempDir dir;
  MessageTable table;
  table.setText(kEnglish, 1, "&New");
  table.setText(kEnglish, 3, "&Open");
  ASSERT_TRUE(table.write(kEnglish, dir.file("English.Txt")));
  EXPECT_EQ(readBytes(dir.file("English.Txt")),
            crlf({kSep, "// English", kSep, "[001]:&New", "[002]:", kSep, "[003]:&Open", "[004]:",
                  kSep, kSep}));

  table.setText(kJapanese, 1, "日本語");
  ASSERT_TRUE(table.write(kJapanese, dir.file("Japanese.Txt")));
  EXPECT_EQ(readBytes(dir.file("Japanese.Txt")),
            crlf({kSep, "// " + kNihongoCp932, kSep, "[001]:" + kNihongoCp932, "[002]:", kSep,
                  kSep}))
      << "Japanese files are written in CP932";

  MessageTable empty;
  ASSERT_TRUE(empty.write(kEnglish, dir.file("Empty.Txt")));
  EXPECT_EQ(readBytes(dir.file("Empty.Txt")),
            crlf({kSep, "// English", kSep, "[001]:", kSep, kSep}));
}

TEST(MessageTableWrite, EndsOneEntryAfterTheHighestText) {
  TempDir dir;
  MessageTable table;
  for (int i = 1; i <= 150; ++i) table.setText(kJapanese, i, "t" + std::to_string(i));
  ASSERT_TRUE(table.write(kJapanese, dir.file("a.Txt")));
  const std::string bytes = readBytes(dir.file("a.Txt"));
  const std::string tail = crlf({"[150]:t150", "[151]:", kSep, kSep});
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

  table.setText(kJapanese, 159, "last");
  ASSERT_TRUE(table.write(kJapanese, dir.file("b.Txt")));
  const std::string full = readBytes(dir.file("b.Txt"));
  EXPECT_NE(full.find(crlf({"[159]:last", "[160]:", kSep, kSep})), std::string::npos);
  MessageTable back;
  ASSERT_TRUE(back.load(kJapanese, dir.file("b.Txt")));
  EXPECT_EQ(back.text(kJapanese, 159), "last");
  EXPECT_EQ(back.text(kJapanese, 160), "");
}

TEST(MessageTableWrite, FilesReadBackToTheSameTable) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, std::string>> texts;
  } cases[] = {
      {"Japanese in CP932",
       {{2, "新規作成 (&New)"}, {31, "Setup ボタンを表示\u3000(&S)"}, {109, " 変数チェック"},
        {125, "ｺﾒﾝﾄ"}, {136, "誤差（+/-)"}}},
      {"English with quotes", {{41, " has been changed. \"Yes\" saves it."}, {126, "sec"}}},
      {"a character outside CP932 makes the file UTF-8", {{1, "motor 😀"}, {2, "日本語"}}},
      // In CP932 these two half-width letters are the bytes C2 B1, which also read as UTF-8.
      {"CP932 bytes that would pass for UTF-8", {{3, "ﾂｱ"}}},
      {"a text that just fits the line buffer", {{4, std::string(249, 'x')}}},
      {"blanks at both ends", {{5, "  padded  "}}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    for (int language : {kJapanese, kEnglish}) {
      MessageTable table;
      for (const auto& [n, t] : c.texts) table.setText(language, n, t);
      const std::string path = dir.file("rt.Txt");
      ASSERT_TRUE(table.write(language, path)) << c.what;
      MessageTable back;
      ASSERT_TRUE(back.load(language, path)) << c.what;
      for (int n = 0; n < MessageTable::kEntries; ++n) {
        EXPECT_EQ(back.text(language, n), table.text(language, n)) << c.what << ", message " << n;
      }
      ASSERT_TRUE(back.write(language, dir.file("again.Txt")));
      EXPECT_EQ(readBytes(dir.file("again.Txt")), readBytes(path)) << c.what;
    }
  }
}

TEST(MessageTableWrite, KeepsEachTextOnItsOwnLine) {
  TempDir dir;
  MessageTable table;
  table.setText(kEnglish, 4, "first\r\n[005]:injected");
  table.setText(kEnglish, 6, std::string(300, 'a') + "[007]:spilled");
  std::string mixed = std::string(200, 'x');
  for (int i = 0; i < 20; ++i) mixed += "日本語";
  table.setText(kEnglish, 8, mixed);
  std::string longJapanese;
  for (int i = 0; i < 200; ++i) longJapanese += "語";
  table.setText(kJapanese, 9, longJapanese);
  table.setText(kJapanese, 10, "😀" + longJapanese);
  ASSERT_TRUE(table.write(kEnglish, dir.file("en.Txt")));
  ASSERT_TRUE(table.write(kJapanese, dir.file("ja.Txt")));

  MessageTable back;
  ASSERT_TRUE(back.load(kEnglish, dir.file("en.Txt")));
  ASSERT_TRUE(back.load(kJapanese, dir.file("ja.Txt")));
  EXPECT_EQ(back.text(kEnglish, 4), "first  [005]:injected");
  EXPECT_EQ(back.text(kEnglish, 5), "");
  EXPECT_EQ(back.text(kEnglish, 6), std::string(249, 'a'));
  EXPECT_EQ(back.text(kEnglish, 7), "");
  // The English file is CP932: 200 ASCII bytes and then 24 characters of two bytes fit.
  std::string expected8 = std::string(200, 'x');
  for (int i = 0; i < 8; ++i) expected8 += "日本語";
  EXPECT_EQ(back.text(kEnglish, 8), expected8);
  // UTF-8 file (the emoji): 4 bytes, then 81 characters of 3 bytes.
  std::string expected10 = "😀";
  for (int i = 0; i < 81; ++i) expected10 += "語";
  EXPECT_EQ(back.text(kJapanese, 10), expected10);
  std::string expected9;
  for (int i = 0; i < 83; ++i) expected9 += "語";
  EXPECT_EQ(back.text(kJapanese, 9), expected9) << "the file is UTF-8, so UTF-8 bytes count";
}

TEST(MessageTableWrite, ReportsFailureAndLeavesNoFileBehind) {
  TempDir dir;
  MessageTable table;
  table.setText(kEnglish, 1, "x");
  EXPECT_FALSE(table.write(kEnglish, dir.file("no/such/folder/English.Txt")));
  EXPECT_FALSE(table.write(2, dir.file("English.Txt")));
  EXPECT_FALSE(fs::exists(dir.file("English.Txt")));

  const std::string path = dir.write("English.Txt", "[001]:old\r\n");
  EXPECT_FALSE(table.write(kEnglish, dir.file("")));  // the folder itself
  EXPECT_EQ(readBytes(path), "[001]:old\r\n");
}

TEST(MessageTableRobustness, DamagedOrStrangeFilesNeverCrashOrHang) {
  TempDir dir;
  std::mt19937 random(20190706);
  std::string binary(64 * 1024, '\0');
  for (char& c : binary) c = static_cast<char>(random() & 0xFF);
  std::string bracketed;  // random bytes behind valid number fields
  for (int i = 0; i < 2000; ++i) {
    bracketed += "[" + std::to_string(100 + i % 60) + "]:";
    for (int k = 0; k < static_cast<int>(random() % 300); ++k) {
      bracketed += static_cast<char>(random() & 0xFF);
    }
    bracketed += '\n';
  }
  std::string bigFile;
  while (bigFile.size() < MessageTable::kMaxFileBytes - 64) bigFile += "[001]:filler\r\n";
  bigFile += "[002]:end\r\n";

  struct Case {
    const char* what;
    std::string bytes;
    bool loads;
    int n;
    std::string expected;
  } cases[] = {
      {"empty file", "", true, 1, ""},
      {"only line ends", std::string(100000, '\n'), true, 1, ""},
      {"truncated in the middle of a CP932 character", "[001]:\x93\xFA\x96", true, 1,
       "日\xEF\xBF\xBD"},
      {"truncated inside the number", "[0", true, 0, ""},
      {"binary", binary, true, 0, ""},
      {"random texts", bracketed, true, 0, ""},
      {"one line of 2 MiB", "[001]:" + std::string(2 << 20, 'z'), true, 1, std::string(249, 'z')},
      {"a file just under the size limit", bigFile, true, 2, "end"},
      {"a file over the size limit", bigFile + std::string(128, '\n') + "[003]:x\r\n", false, 2,
       ""},
  };
  for (const auto& c : cases) {
    const std::string path = dir.write("strange.Txt", c.bytes);
    MessageTable table;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(table.load(kEnglish, path), c.loads) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.what;
    EXPECT_EQ(table.text(kEnglish, c.n), c.expected) << c.what;
    for (int n = 0; n < MessageTable::kEntries; ++n) {
      EXPECT_TRUE(kavel::text::isValidUtf8(table.text(kEnglish, n))) << c.what << ", message " << n;
    }
    // Whatever was read writes and reads back, a lone CR inside a text becoming a blank; texts
    // that may have grown past a line in UTF-8 are cut and not compared.
    ASSERT_TRUE(table.write(kEnglish, dir.file("out.Txt"))) << c.what;
    MessageTable back;
    ASSERT_TRUE(back.load(kEnglish, dir.file("out.Txt"))) << c.what;
    for (int n = 0; n < MessageTable::kEntries; ++n) {
      std::string expected = table.text(kEnglish, n);
      for (char& ch : expected) ch = ch == '\r' ? ' ' : ch;
      if (expected.size() <= MessageTable::kMaxTextBytes / 3) {
        EXPECT_EQ(back.text(kEnglish, n), expected) << c.what << ", message " << n;
      }
    }
  }
}
