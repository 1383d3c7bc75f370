#include <gtest/gtest.h>

#include "core/setup/CSourceHeader.h"
#include "core/setup/SetupCodec.h"

using namespace kavel;

namespace {

const std::string kSeparator = "//" + std::string(80, '-');

}  // namespace

TEST(CSourceHeader, SetupLinesReadBack) {
  IoSetup io;
  DecodeSetup(io, 8, 211111, 140031, 2004);
  io.cnName = {"Ball", "", "L-Touch", "R", "e", "f", "g", "h", "RED3", "RED2"};
  SetupRecord record{8, {211111, 140031, 2004}, "arm, left"};

  std::vector<std::string> source = {kSeparator, "// Title: Main - [ x ]", kSeparator};
  const auto header = setupHeaderLines(record, io);
  EXPECT_EQ(header[0], "// SetupVal:211111-140031-002004,cmt:arm, left");
  EXPECT_EQ(header[2], "// CN02:");
  source.insert(source.end(), header.begin(), header.end());
  source.push_back("#include \"M_Main.h\"");
  source.push_back("// CN01:after the includes");

  IoSetup ioBack;
  SetupRecord back;
  EXPECT_TRUE(readSetupFromCSource(source, ioBack, back));
  EXPECT_EQ(back.setupKind, 8);
  EXPECT_EQ(back.setupValue, record.setupValue);
  EXPECT_EQ(back.setupComment, "arm, left");
  EXPECT_EQ(ioBack.cnName, io.cnName);
  EXPECT_EQ(ioBack.cnMode, io.cnMode);
  EXPECT_TRUE(ioBack.subIoOn);
  EXPECT_EQ(ioBack.subIoId, 1);
  EXPECT_TRUE(ioBack.useBno);
  EXPECT_FALSE(ioBack.useLcd);  // slave
}

TEST(CSourceHeader, ReadsFixedColumnsWithDefaults) {
  struct Case {
    const char* line;
    std::array<int, 3> values;
    int kind;
    const char* comment;
  } cases[] = {
      {"// SetupVal:111111-110000-000004,cmt:", {111111, 110000, 4}, 8, ""},
      {"// SetupVal:abcdef-11x000-      ,cmt:c", {111111, 110000, 0}, 8, "c"},
      {"// SetupVal:-00001-000009-000000,cmt:x", {-1, 9, 0}, 7, "x"},
      {"// SetupVal:0x1111-000000-0", {111111, 0, 0}, 7, ""},
      {"// SetupVal:", {111111, 110000, 0}, 8, ""},
      {"// SetupVal:011111-110000-000000,cmt:line\r", {11111, 110000, 0}, 8, "line"},
  };
  for (const auto& c : cases) {
    IoSetup io;
    SetupRecord r;
    ASSERT_TRUE(readSetupFromCSource({c.line}, io, r)) << c.line;
    EXPECT_EQ(r.setupValue, c.values) << c.line;
    EXPECT_EQ(r.setupKind, c.kind) << c.line;
    EXPECT_EQ(r.setupComment, c.comment) << c.line;
  }

  IoSetup io;
  io.cnName.fill("old");
  SetupRecord r;
  EXPECT_FALSE(readSetupFromCSource({"//SetupVal:111111-110000-000000", "// CN", "//", "",
                                     "// CN00:zero", "// CN11:eleven", "// CNxx:no number",
                                     "// CN10:ten", "#include \"M_Main.h\"",
                                     "// SetupVal:000000-000000-000000,cmt:late"},
                                    io, r));
  EXPECT_EQ(r.setupValue, SetupRecord{}.setupValue);
  EXPECT_EQ(io.cnName[0], "no number");  // an unreadable number names CN1
  EXPECT_EQ(io.cnName[9], "ten");
  EXPECT_EQ(io.cnName[1], "old");
}

TEST(CSourceHeader, ReplacesTheHeaderUpToTheSeparatorAfterTheIncludes) {
  const std::vector<std::string> header = {"// new", "#include \"M_Main.h\"", kSeparator};
  struct Case {
    const char* name;
    std::vector<std::string> source;
    std::vector<std::string> want;
  } cases[] = {
      {"usual header",
       {kSeparator, "// SetupVal:1", kSeparator, "#include \"M_Main.h\"", "#include \"M_I2C.h\"",
        kSeparator, "void user_main(void)", "{", "}"},
       {"// new", "#include \"M_Main.h\"", kSeparator, "void user_main(void)", "{", "}"}},
      {"no include: nothing removed",
       {kSeparator, "int x;"},
       {"// new", "#include \"M_Main.h\"", kSeparator, kSeparator, "int x;"}},
      {"include without a separator after it: nothing removed",
       {"#include <x.h>", "int x;"},
       {"// new", "#include \"M_Main.h\"", kSeparator, "#include <x.h>", "int x;"}},
      {"empty source", {}, header},
  };
  for (const auto& c : cases) EXPECT_EQ(replaceCSourceHeader(c.source, header), c.want) << c.name;
}
