#include <gtest/gtest.h>

#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

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
  EXPECT_EQ(encodeForFile(emoji), emoji);
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

TEST(Encoding, Cp932BytesThatLookLikeUtf8AreWrittenAsUtf8) {
  const std::string halfWidth = "\xEF\xBE\x82\xEF\xBD\xB1";  // ﾂｱ is C2 B1 in CP932, "±" in UTF-8
  EXPECT_EQ(utf8ToCp932(halfWidth), std::string("\xC2\xB1"));
  EXPECT_EQ(encodeForFile(halfWidth), halfWidth);
  EXPECT_EQ(decode(encodeForFile(halfWidth), detectEncoding(encodeForFile(halfWidth))), halfWidth);
}

TEST(TextFile, ReadOnlyTargetIsNotReplaced) {
  const std::string path = ::testing::TempDir() + "kavel_readonly.txt";
  std::remove(path.c_str());
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
