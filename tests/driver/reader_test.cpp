// The resource file reader: the tokenizer, loading one device with every error code, the index
// list, and what happens with files that are missing, odd or plain garbage.

#include <gtest/gtest.h>

#include <unistd.h>

#include <random>
#include <vector>

#include "DriverTestSupport.h"
#include "driver/reader.h"

using namespace kcc8;
using namespace kcc8test;

namespace {

const std::string kVersion = "<RES_FILE_VERSION_INFO_TYPE><1.00><test>\n";
const std::string kIndex = "<PARTS_INDEX_TYPE><18F2620><@@@@@@@1>\n";
std::string part(const std::string& registers) {
  return "<PART_INFO_TYPE><2620><18f2620><18xxxx><4><1><FFFF><10><F7F><3FF><80><0><" + registers + ">\n";
}
const std::string kRegister = "<CONFIGREG_INFO_TYPE><300001><CF><2><1>\n";
const std::string kSwitch = "<SWITCH_INFO_TYPE><OSC><Oscillator><F><1>\n";
const std::string kValue = "<SETTING_VALUE_TYPE><HS><High speed><2>\n";

/// Writes a resource file (offsets filled in, CR LF line ends) beside a pretend driver and
/// loads `name` from it.
class ResourceTest : public ::testing::Test {
 protected:
  void TearDown() override { delete_obj(); }

  std::string toolPath() const { return dir / "kcc8"; }
  void write(const std::string& text) { writeFile(dir / "8bit_device.info", withOffsets(crlf(text))); }
  int load(const std::string& text, const char* name = "18F2620") {
    write(text);
    return ReadResource(name, toolPath().c_str());
  }

  TempDir dir;
};

}  // namespace

TEST(Tokenizer, SplitsBracketedFields) {
  struct Case {
    std::string line;
    std::vector<std::string> tokens;  // the tokens before the first "nothing"
  } cases[] = {
      {"<A><B>\r\n", {"A", "B"}},
      {"<A><B>", {"A", "B"}},                  // end of text ends the record too
      {"<><B>", {"", "B"}},                    // an empty pair is a field
      {"<a<b>c><d>", {"a<b>c", "d"}},          // nested pairs belong to the token
      {"<A> <B>", {"A"}},                      // a blank between tokens ends the record
      {"<A>\n<B>", {"A"}},                     // so does the line feed
      {"<A>><B>", {"A"}},                      // and a stray closing bracket
      {"x<A>", {}},
      {"<abc", {}},                            // unterminated
      {"<ab\nc>", {}},
      {"", {}},
      {"<with spaces, inside>", {"with spaces, inside"}},
      {std::string("<a\0b><c>", 8), {std::string("a\0b", 3), "c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> got;
    for (auto token = GetNextToken(c.line); token; token = GetNextToken()) got.push_back(*token);
    EXPECT_EQ(got, c.tokens);
    EXPECT_FALSE(GetNextToken()) << "the scan must stay at the end of the record";
  }
}

TEST(Tokenizer, TokensOfAnyLength) {
  const std::string longToken(100000, 'x');
  auto token = GetNextToken("<" + longToken + "><next>");
  ASSERT_TRUE(token);
  EXPECT_EQ(*token, longToken);
  EXPECT_EQ(GetNextToken(), "next");
}

TEST(Tokenizer, ScansItsOwnCopyOfTheText) {
  {
    std::string line = "<A><B>";
    EXPECT_EQ(GetNextToken(line), "A");
    line.assign("garbage that replaced the line");
  }
  EXPECT_EQ(GetNextToken(), "B");
}

TEST_F(ResourceTest, ErrorCodesOfEveryStep) {
  const std::string v = kVersion, i = kIndex, r = kRegister, s = kSwitch, x = kValue;
  struct Case {
    const char* what;
    std::string file;
    int code;
  } cases[] = {
      {"complete device", v + i + part("1") + r + s + x, 0},
      {"device without registers", v + i + part("0"), 0},
      {"empty file", "", 11},
      {"index before the version record", i + v + part("0"), 11},
      {"blank line before the version record", "\n" + v + i + part("0"), 11},
      {"binary first line", std::string("\x01\xff<\0>", 5) + "\n" + i + part("0"), 11},
      {"no index", v + part("0"), 12},
      {"only the version record", v, 12},
      {"index entry in lower case", v + "<PARTS_INDEX_TYPE><18f2620><@@@@@@@1>\n" + part("0"), 13},
      {"device not indexed but present below", v + "<PARTS_INDEX_TYPE><18F2520><@@@@@@@1>\n" + part("0"), 13},
      {"index ends at a blank line", v + "<PARTS_INDEX_TYPE><18F2520><0>\n\n" + i + part("0"), 13},
      {"index entry without a name", v + "<PARTS_INDEX_TYPE>\n" + part("0"), 13},
      {"offset past the end", v + "<PARTS_INDEX_TYPE><18F2620><FFFFFF>\n" + part("0"), 14},
      {"offset beyond any file", v + "<PARTS_INDEX_TYPE><18F2620><FFFFFFFFFFFFFFFFFFFF>\n" + part("0"), 14},
      {"offset inside a line", v + "<PARTS_INDEX_TYPE><18F2620><5>\n" + part("0"), 15},
      {"offset of the version record", v + "<PARTS_INDEX_TYPE><18F2620><0>\n" + part("0"), 15},
      {"offset missing", v + "<PARTS_INDEX_TYPE><18F2620>\n" + part("0"), 15},
      {"part record with 13 fields",
       v + i + "<PART_INFO_TYPE><2620><18F2620><18xxxx><4><1><FFFF><10><F7F><3FF><80><0><0><extra>\n", 16},
      {"register line missing", v + i + part("1"), 17},
      {"register count far beyond the file", v + i + part("FFFFFFFF") + r + s + x, 17},
      {"register line of another type", v + i + part("1") + s, 18},
      {"register with 5 fields", v + i + part("1") + "<CONFIGREG_INFO_TYPE><300001><CF><2><1><9>\n", 19},
      {"switch line missing", v + i + part("1") + r, 20},
      {"switch line of another type", v + i + part("1") + r + x, 21},
      {"switch with 5 fields", v + i + part("1") + r + "<SWITCH_INFO_TYPE><OSC><Osc><F><1><9>\n", 22},
      {"value line missing", v + i + part("1") + r + s, 23},
      {"value line of another type", v + i + part("1") + r + s + r, 24},
      {"value with 4 fields", v + i + part("1") + r + s + "<SETTING_VALUE_TYPE><HS><High><2><9>\n", 25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(load(c.file), c.code);
  }
}

TEST_F(ResourceTest, NoProcessorNameIsCode10AndOpensNothing) {
  // No file exists here: a name check that came after opening would end the process.
  EXPECT_EQ(ReadResource(nullptr, toolPath().c_str()), 10);
  EXPECT_EQ(ReadResource("", toolPath().c_str()), 10);
}

TEST_F(ResourceTest, LoadsEveryFieldAndKeepsBothNames) {
  ASSERT_EQ(load(kVersion + kIndex +
                     "<PART_INFO_TYPE><  0x2620><18f2620><18xxxx><4><2><FFFF><10><F7F><3FF><80><77><1>\n" +
                     kRegister + kSwitch + kValue,
                 "18f2620"),
            0);
  EXPECT_EQ(GetProcessorid(), 0x2620u);  // leading blanks and 0x are part of a number
  EXPECT_EQ(GetProcessorName(), "18F2620");
  EXPECT_EQ(GetProcessorRealName(), "18f2620");
  EXPECT_EQ(GetFamilyName(), "18xxxx");
  EXPECT_EQ(GetFlag(), 4u);
  EXPECT_EQ(GetNoOfPages(), 2u);
  EXPECT_EQ(GetMaxRom(), 0xFFFFu);
  EXPECT_EQ(GetNoOfBanks(), 0x10u);
  EXPECT_EQ(GetMaxRam(), 0xF7Fu);
  EXPECT_EQ(GetEEMax(), 0x3FFu);
  EXPECT_EQ(GetAcs(), 0x80u);
  EXPECT_EQ(GetNoOfConfigs(), 1u);
  ASSERT_EQ(PartInfoPtr->configs.size(), 1u);
  EXPECT_EQ(PartInfoPtr->further, 0x77u);
  const auto& reg = PartInfoPtr->configs[0];
  EXPECT_EQ(reg.address, 0x300001u);
  EXPECT_EQ(reg.setBits, 0xCFu);
  EXPECT_EQ(reg.defaultValue, 2u);
  ASSERT_EQ(reg.switches.size(), 1u);
  EXPECT_EQ(reg.switches[0].description, "Oscillator");
  ASSERT_EQ(reg.switches[0].values.size(), 1u);
  EXPECT_EQ(reg.switches[0].values[0].description, "High speed");
  EXPECT_EQ(reg.switches[0].values[0].value, 2u);
}

TEST_F(ResourceTest, NumbersAreHexadecimalOrTheRecordIsRefused) {
  // Before, "12zz" read as 0x12 and "zz" or "" as 0: a damaged record loaded as a device the
  // file does not describe.
  struct Case {
    const char* field;
    int code;
    uint32_t value;
  } cases[] = {
      {"1F", 0, 0x1F}, {"0x1f", 0, 0x1F}, {" 7", 0, 7}, {"FFFFFFFF", 0, 0xFFFFFFFF}, {"000000001F", 0, 0x1F},
      {"12zz", 16, 0}, {"zz", 16, 0}, {"", 16, 0}, {"0x", 16, 0},
      {"123456789", 16, 0},  // more than 32 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    const std::string record = "<PART_INFO_TYPE><" + std::string(c.field) + "><18F2620><18xxxx><4><1><FFFF><10><F7F><3FF><80><0><0>\n";
    ASSERT_EQ(load(kVersion + kIndex + record), c.code);
    if (c.code == 0) {
      EXPECT_EQ(GetProcessorid(), c.value);
    }
  }
  // The same for the numbers of the records below a part.
  const std::string p = kVersion + kIndex + part("1");
  EXPECT_EQ(load(p + "<CONFIGREG_INFO_TYPE><3000zz><CF><2><1>\n" + kSwitch + kValue), 19);
  EXPECT_EQ(load(p + kRegister + "<SWITCH_INFO_TYPE><OSC><Oscillator><F><one>\n" + kValue), 22);
  EXPECT_EQ(load(p + kRegister + kSwitch + "<SETTING_VALUE_TYPE><HS><High speed><>\n"), 25);
}

TEST_F(ResourceTest, RecordsWithoutAllTheirFieldsAreRefused) {
  // A record cut short left its later fields 0: a device without its family, its sizes or its
  // configuration registers.
  const std::string p = kVersion + kIndex + part("1");
  struct Case {
    const char* what;
    std::string file;
    int code;
  } cases[] = {
      {"part of 2 fields", kVersion + kIndex + "<PART_INFO_TYPE><2620><18F2620>\n", 16},
      {"part cut by a blank", kVersion + kIndex + "<PART_INFO_TYPE><2620><18F2620> <18xxxx><4><1><FFFF><10><F7F><3FF><80><0><1>\n", 16},
      {"part cut inside a field", kVersion + kIndex + "<PART_INFO_TYPE><2620><18F2620><18xxxx><4><1><FF", 16},
      {"register of 3 fields", p + "<CONFIGREG_INFO_TYPE><300001><CF><2>\n" + kSwitch + kValue, 19},
      {"switch of 3 fields", p + kRegister + "<SWITCH_INFO_TYPE><OSC><Oscillator><F>\n" + kValue, 22},
      {"value of 2 fields", p + kRegister + kSwitch + "<SETTING_VALUE_TYPE><HS><High speed>\n", 25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(load(c.file), c.code);
  }
}

TEST_F(ResourceTest, RecordsWithLfLineEndsLoadToo) {
  writeFile(dir / "8bit_device.info", withOffsets(kVersion + kIndex + part("1") + kRegister + kSwitch + kValue));
  EXPECT_EQ(ReadResource("18F2620", toolPath().c_str()), 0);
}

TEST_F(ResourceTest, FailureKeepsOrDropsTheLoadedRecordByStage) {
  const std::string good = kVersion + kIndex + part("1") + kRegister + kSwitch + kValue;
  ASSERT_EQ(load(good), 0);
  // Before the part's own line is reached the earlier device stays loaded...
  EXPECT_EQ(load(kVersion + "<PARTS_INDEX_TYPE><OTHER><0>\n"), 13);
  EXPECT_EQ(GetProcessorName(), "18F2620");
  EXPECT_EQ(GetNoOfConfigs(), 1u);
  // ...after it, the partly read new one is what the queries see.
  ASSERT_EQ(load(kVersion + kIndex + part("3") + kRegister + kSwitch), 23);
  EXPECT_EQ(GetNoOfConfigs(), 3u);
  ASSERT_EQ(PartInfoPtr->configs.size(), 1u);
  EXPECT_EQ(PartInfoPtr->configs[0].switches[0].values.size(), 0u);
  // The counts promise more than was read: the queries must stay inside what is there.
  EXPECT_EQ(FindConfigAddrN(1), 0x300001u);
  EXPECT_EQ(FindConfigAddrN(3), 0u);
  EXPECT_FALSE(FindValNameN(1, "OSC"));
  EXPECT_EQ(FindDirOptVal("OSC", "HS"), 0u);
  ASSERT_EQ(load(kVersion + kIndex + "<SWITCH_INFO_TYPE>\n"), 15);
  EXPECT_EQ(GetProcessorName(), "");
}

TEST_F(ResourceTest, LongLinesAndTokensLoadWhole) {
  const std::string longName(3000, 'N');
  const std::string longDescription(5000, 'd');
  const std::string ignored(4000, 'i');
  const std::string file = "<RES_FILE_VERSION_INFO_TYPE><" + std::string(2000, 'v') + ">\n" +
                           "<PARTS_INDEX_TYPE><OTHER><0><" + ignored + ">\n" +
                           "<PARTS_INDEX_TYPE><" + longName + "><@@@@@@@1>\n" +
                           "<PART_INFO_TYPE><1><" + longName + "><18xxxx><0><1><1><1><1><1><1><0><1>\n" +
                           "<CONFIGREG_INFO_TYPE><300001><1><1><1>\n" +
                           "<SWITCH_INFO_TYPE><" + longName + "><" + longDescription + "><1><1>\n" +
                           "<SETTING_VALUE_TYPE><ON><" + longDescription + "><1>\n";
  ASSERT_EQ(load(file, longName.c_str()), 0);
  EXPECT_EQ(GetProcessorName(), longName);
  EXPECT_EQ(FindDirDesc(longName), longDescription);
  EXPECT_EQ(FindDirOptDesc(longName, "ON"), longDescription);
}

TEST_F(ResourceTest, ReadOnlyFileIsReadNormally) {
  write(kVersion + kIndex + part("0"));
  fs::permissions(dir.path() / "8bit_device.info", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(ReadResource("18F2620", toolPath().c_str()), 0);
}

TEST_F(ResourceTest, WithoutToolPathTheCurrentFolderIsUsed) {
  write(kVersion + kIndex + part("0"));
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const int code = ReadResource("18F2620", nullptr);
  fs::current_path(before);
  EXPECT_EQ(code, 0);
}

TEST_F(ResourceTest, DamagedFilesNeverCrash) {
  // Random damage to a good file: every outcome is a code, never a crash or a hang.
  const std::string good = withOffsets(crlf(kVersion + kIndex + part("2") + kRegister + kSwitch + kValue +
                                            kRegister + kSwitch + kValue));
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    std::string damaged = good;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int f = 0; f < flips; ++f) damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
    if (round % 5 == 0) damaged.resize(random() % damaged.size());
    writeFile(dir / "8bit_device.info", damaged);
    const int code = ReadResource("18F2620", toolPath().c_str());
    EXPECT_TRUE(code == 0 || (code >= 11 && code <= 25)) << "round " << round << " answered " << code;
  }
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(random() % 256);
  writeFile(dir / "8bit_device.info", garbage);
  EXPECT_EQ(ReadResource("18F2620", toolPath().c_str()), 11);
}

TEST_F(ResourceTest, PartsListInFileOrder) {
  write(kVersion + "<PARTS_INDEX_TYPE><18F2520><0>\n" + "<PARTS_INDEX_TYPE><18F2620><0><extra>\n" +
        "<PARTS_INDEX_TYPE>\n" + part("0"));
  const auto names = GetPartsList(toolPath().c_str());
  ASSERT_TRUE(names);
  EXPECT_EQ(*names, (std::vector<std::string>{"18F2520", "18F2620", ""}));
  EXPECT_EQ(GetMaxNoParts(), 3);

  write(kVersion + "<PARTS_INDEX_TYPE><ONLY><0>");
  ASSERT_TRUE(GetPartsList(toolPath().c_str()));
  EXPECT_EQ(GetMaxNoParts(), 1);

  for (const std::string& bad : {std::string(), kIndex + kVersion, kVersion + part("0")}) {
    write(bad);
    EXPECT_FALSE(GetPartsList(toolPath().c_str()));
  }
}

TEST(ResourceLocation, MissingFileOrFolderEndsTheProcess) {
  TempDir dir;
  const std::string tool = dir / "kcc8";
  // The messages go to standard output; the death test only sees standard error.
  EXPECT_EXIT((::dup2(2, 1), ReadResource("18F2620", tool.c_str())), ::testing::ExitedWithCode(1),
              "\nError: File not found - " + (dir / "8bit_device.info") + "\n");
  EXPECT_EXIT((::dup2(2, 1), GetPartsList(tool.c_str())), ::testing::ExitedWithCode(1), "Error: File not found - ");
  EXPECT_EXIT((::dup2(2, 1), ReadResource("18F2620", "kcc8")), ::testing::ExitedWithCode(1),
              "\nError: Unable to determine resource file path\\.");
  EXPECT_EXIT((::dup2(2, 1), ReadResource("18F2620", "")), ::testing::ExitedWithCode(1),
              "Unable to determine resource file path");
  EXPECT_EXIT((::dup2(2, 1), GetPartsList("kcc8")), ::testing::ExitedWithCode(1),
              "Unable to determine resource file path");
}

TEST(ResourceLocation, DriverInTheRootFolder) {
  // "/kcc8" has an empty folder part that still means "/", not the current folder.
  EXPECT_EXIT((::dup2(2, 1), ReadResource("X", "/kcc8")), ::testing::ExitedWithCode(1),
              "File not found - /8bit_device\\.info");
}

TEST(DisplayError, TextsByCode) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {0, ""},
      {10, "Error: Part Name is not specified on command line.\n"},
      {11, "Error: First Record in Resource File is not RES_FILE_VERSION_INFO_TYPE.\n"},
      {12, "Error: Records of type PARTS_INDEX_TYPE are missing in Resource File.\n"},
      {13, "Error: Information for the desired part is not found in Resource file.\n"},
      {14, "Error: Information for the desired part is not complete in Resource file.\n"},
      {15, "Error: First Record is not PART_INFO_TYPE.\n"},
      {16, "Error: Information in PART_INFO_TYPE record for desired part is incorrrect.\n"},
      {17, "Error: Configuration Information missing for the desired part.\n"},
      {18, "Error: First Record in Config Info is not CONFIGREG_INFO_TYPE.\n"},
      {19, "Error: Information in CONFIGREG_INFO_TYPE record for desired part is incorrrect.\n"},
      {20, "Error: Config Switch Information missing for the desired part.\n"},
      {21, "Error: First Record in Config Switch Info is not SWITCH_INFO_TYPE.\n"},
      {22, "Error: Information in SWITCH_INFO_TYPE record for desired part is incorrrect.\n"},
      {23, "Error: Config Switch Value Information missing for the desired part.\n"},
      {24, "Error: First Record in Config Switch Value Info is not SETTING_VALUE_TYPE.\n"},
      {25, "Error: Information in SETTING_VALUE_TYPE record for desired part is incorrrect.\n"},
      {7, "Error: Unknown Error Code.\n"},
      {26, "Error: Unknown Error Code.\n"},
      {-1, "Error: Unknown Error Code.\n"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStdout();
    DisplayError(c.code);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.text) << "code " << c.code;
  }
}
