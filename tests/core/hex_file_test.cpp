#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/comm/HexFile.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

const std::string kData = ":100800000102030405060708090A0B0C0D0E0F1060\r\n"
                          ":02080000FFFFF8\r\n"
                          ":00000001FF\r\n";

std::string lf(std::string s) {
  std::string out;
  for (char c : s) if (c != '\r') out += c;
  return out;
}

}  // namespace

TEST(HexFile, ReadsRecordsWithEitherLineEnd) {
  const HexReadResult crlf = parseHexFile(kData);
  ASSERT_TRUE(crlf.ok) << crlf.error;
  const HexReadResult plain = parseHexFile(lf(kData));
  ASSERT_TRUE(plain.ok) << plain.error;
  ASSERT_EQ(crlf.image.records.size(), 3u);
  ASSERT_EQ(plain.image.records.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(crlf.image.records[i].line, plain.image.records[i].line);
  EXPECT_EQ(crlf.image.records[0].line, ":100800000102030405060708090A0B0C0D0E0F1060");
  EXPECT_EQ(crlf.image.records[0].address, 0x0800);
  EXPECT_EQ(crlf.image.records[0].byteCount, 16);
  EXPECT_EQ(crlf.image.records[2].type, 1);
  EXPECT_EQ(crlf.image.records[2].endOffset, kData.size());
}

TEST(HexFile, StopsAtTheEndRecordAndSkipsBlankLines) {
  const HexReadResult r = parseHexFile("\r\n" + kData + ":02080000FFFFF8\r\nnot hex at all\r\n  \r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.image.records.size(), 3u);
}

TEST(HexFile, RefusesWhatIsNoHexImage) {
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {":100800000102030405060708090A0B0C0D0E0F1059\r\n:00000001FF\r\n", "line 1: checksum is 59, the record's bytes give 60"},
      {"hello\r\n:00000001FF\r\n", "line 1: not an Intel HEX record"},
      {":0208000GFFFFF8\r\n:00000001FF\r\n", "line 1: character 9 is not a hexadecimal digit"},
      {":020800FFFFF8\r\n", "line 1: the byte count says 2 data bytes, the record holds 1"},
      {":0000000\r\n", "line 1: a record needs an even number"},
      {":00000006FA\r\n", "line 1: record type 06"},
      {":02080000FFFFF8\r\n", "end-of-file record (:00000001FF) is missing"},
      {"", "no Intel HEX records"},
      {"\r\n\r\n", "no Intel HEX records"},
      {std::string("\x00\xff\xfe", 3), "line 1: not an Intel HEX record"},
  };
  for (const Case& c : cases) {
    const HexReadResult r = parseHexFile(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
}

TEST(HexFile, ReadsOnlyRegularFilesOfASaneSize) {
  const kavel::testing::TempFolder temp("kavel-hex-file");
  const fs::path dir = temp.path();
  const std::string good = (dir / "User.Hex").string();
  std::ofstream(good, std::ios::binary) << lf(kData);
  EXPECT_TRUE(readHexFile(good).ok);

  const HexReadResult missing = readHexFile((dir / "none.Hex").string());
  EXPECT_NE(missing.error.find("cannot open"), std::string::npos) << missing.error;
  EXPECT_NE(readHexFile(dir.string()).error.find("not a regular file"), std::string::npos);

  const std::string big = (dir / "big.Hex").string();
  fs::resize_file((std::ofstream(big).close(), big), kHexFileLimit + 1);
  EXPECT_NE(readHexFile(big).error.find("too large"), std::string::npos);

  const std::string bad = (dir / "bad.Hex").string();
  std::ofstream(bad, std::ios::binary) << ":02080000FFFFF7\n:00000001FF\n";
  const HexReadResult r = readHexFile(bad);
  EXPECT_NE(r.error.find(bad + ": line 1: checksum"), std::string::npos) << r.error;
}
