#include <gtest/gtest.h>

#include "core/text/Encoding.h"
#include "core/text/TextFile.h"
#include "TempFolder.h"

#include <cstdio>
#include <sys/stat.h>

using namespace kavel::text;

TEST(Encoding, RoundTripsJapaneseThroughCp932) {
  const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語
  const auto cp = utf8ToCp932(utf8);
  ASSERT_TRUE(cp.has_value());
  EXPECT_EQ(*cp, "\x93\xFA\x96\x7B\x8C\xEA");
  EXPECT_FALSE(isValidUtf8(*cp));
  EXPECT_EQ(detectEncoding(*cp), FileEncoding::Cp932);
  EXPECT_EQ(cp932ToUtf8(*cp), utf8);
}

TEST(Encoding, CharacterOutsideCp932StaysUtf8) {
  const std::string emoji = "motor \xF0\x9F\x98\x80";
  EXPECT_FALSE(utf8ToCp932(emoji).has_value());
  EXPECT_EQ(encodeForFile(emoji), "\xEF\xBB\xBF" + emoji) << "UTF-8 is marked so that it reads back as UTF-8";
  EXPECT_EQ(decodeFile(encodeForFile(emoji)), emoji);
}

TEST(Encoding, BrokenBytesNeverThrow) {
  EXPECT_EQ(cp932ToUtf8("A\x81"), "A\xEF\xBF\xBD");  // lead byte without its trail byte
  EXPECT_EQ(sanitizeUtf8("\xC3"), "\xEF\xBF\xBD");
}

TEST(TextFile, SplitLinesLikeAFixedBuffer) {
  struct Case {
    std::string in;
    size_t buffer;
    std::vector<std::string> out;
  } cases[] = {
      {"", 512, {}},
      {"a\r\nb\nc", 512, {"a", "b", "c"}},
      {"\n\n", 512, {"", ""}},
      {"abcdef\r\n", 4, {"abc", "def", ""}},  // the CR of a cut line ends a piece of its own
      {"abc\r\nd", 5, {"abc", "d"}},     // the piece fills the buffer up to its CR
      {"ab\r", 512, {"ab"}},
      {"abc\n", 4, {"abc", ""}},  // a line that fills the buffer leaves its line end behind
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (auto v : splitLines(c.in, c.buffer)) got.emplace_back(v);
    EXPECT_EQ(got, c.out) << "input: " << c.in;
  }
}

TEST(Encoding, Cp932BytesThatLookLikeUtf8StillReadBack) {
  const std::string halfWidth = "\xEF\xBE\x82\xEF\xBD\xB1";  // ﾂｱ is C2 B1 in CP932, "±" in UTF-8
  EXPECT_EQ(utf8ToCp932(halfWidth), std::string("\xC2\xB1"));
  EXPECT_EQ(decodeFile(encodeForFile(halfWidth)), halfWidth);
}

// Files as users have them: old ones in CP932 (half-width katakana included), hand-edited ones
// in UTF-8 with or without a mark. Each must read as it was written.
TEST(Encoding, EveryKindOfFileReadsAsWritten) {
  const std::string katakanaMinus = "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD";  // ﾏｲﾅｽ
  const std::string katakanaTest = "\xEF\xBE\x83\xEF\xBD\xBD\xEF\xBE\x84";                 // ﾃｽﾄ
  const std::string forward = "\xE5\x89\x8D\xE9\x80\xB2";                                   // 前進
  const std::string motorForward =
      "\xE3\x83\xA2\xE3\x83\xBC\xE3\x82\xBF\xE3\x83\xBC\xE5\x89\x8D\xE9\x80\xB2";  // モーター前進
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
    FileEncoding encoding;
  } cases[] = {
      {"CP932 katakana that is valid UTF-8", "cmt:\xCF\xB2\xC5\xBD\r\n", "cmt:" + katakanaMinus + "\r\n",
       FileEncoding::Cp932},
      {"CP932 katakana", "cmt:\xC3\xBD\xC4\r\n", "cmt:" + katakanaTest + "\r\n", FileEncoding::Cp932},
      {"CP932 kanji and katakana", "\x91\x4F\x90\x69\xC3\xBD\xC4", forward + katakanaTest, FileEncoding::Cp932},
      {"CP932 katakana alone on a line", "\xC3\xBD\r\n", "\xEF\xBE\x83\xEF\xBD\xBD\r\n", FileEncoding::Cp932},
      {"UTF-8 without mark", "cmt:" + motorForward + "\r\n", "cmt:" + motorForward + "\r\n", FileEncoding::Utf8},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + katakanaMinus, katakanaMinus, FileEncoding::Utf8},
      {"UTF-8 Latin letter in a word", "Caf\xC3\xA9 au lait", "Caf\xC3\xA9 au lait", FileEncoding::Utf8},
      {"ASCII", "Title:Main\r\n", "Title:Main\r\n", FileEncoding::Utf8},
      {"empty", "", "", FileEncoding::Utf8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(detectEncoding(c.bytes), c.encoding) << c.what;
    EXPECT_EQ(decodeFile(c.bytes), c.text) << c.what;
  }
}

TEST(Encoding, EveryTextWeWriteReadsBackIdentical) {
  const std::string texts[] = {
      "",
      "plain ASCII\r\n",
      "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD",           // ﾏｲﾅｽ: CP932 bytes are valid UTF-8
      "\xEF\xBE\x83\xEF\xBD\xBD",                                    // ﾃｽ: CP932 bytes read as "ý"
      "\xE3\x80\x9C",                                                // WAVE DASH: CP932 gives back another tilde
      "\xE6\x97\xA5\xE6\x9C\xAC motor \xC3\xA9",                     // é has no CP932 form
      "\xEF\xBB\xBF starts with a mark character",
      "\xE6\xBC\xA2\xE5\xAD\x97\xEF\xBD\xB1",                          // 漢字ｱ
  };
  for (const std::string& t : texts) EXPECT_EQ(decodeFile(encodeForFile(t)), t) << t;
}

TEST(TextFile, ReadOnlyTargetIsNotReplaced) {
  const kavel::testing::TempFolder temp("kavel-readonly");
  const std::string path = temp / "readonly.txt";
  ASSERT_TRUE(writeFileAtomic(path, "old"));
  ::chmod(path.c_str(), 0444);
  std::string error;
  EXPECT_FALSE(writeFileAtomic(path, "new", &error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  std::string bytes;
  ASSERT_TRUE(readFileBytes(path, bytes));
  EXPECT_EQ(bytes, "old");
  ::chmod(path.c_str(), 0644);
  EXPECT_TRUE(writeFileAtomic(path, "new"));
}
