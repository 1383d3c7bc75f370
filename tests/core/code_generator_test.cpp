#include <gtest/gtest.h>

#include <functional>

#include <filesystem>

#include "core/Context.h"
#include "core/build/ErrorLine.h"
#include "core/codegen/CodeGenerator.h"
#include "core/codegen/HeaderBlock.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "Statements.h"
#include "TempFolder.h"

using namespace kavel;
using kavel::testing::row;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

const std::string kSep = "//" + std::string(80, '-');

std::string slurp(const std::string& path) {
  std::string bytes;
  text::readFileBytes(path, bytes);
  return bytes;
}

Lines tail(const Lines& lines, std::size_t from) { return Lines(lines.begin() + static_cast<long>(from), lines.end()); }

class CodeGeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "Build" / "Build_V190617");
    ctx_.settings.BatFile_ = (dir_ / "Build" / "Build_V190617" / "BuildPath.Bat").string();
    hooks_.openSubWindow = [this](int n) { events_.push_back("open " + std::to_string(n)); };
    hooks_.closeSubWindow = [this](int n) { events_.push_back("close " + std::to_string(n)); };
    hooks_.readFailed = [this](int n, const std::string& path, const std::string&) {
      events_.push_back("failed " + std::to_string(n) + " " + text::fileNameOf(path));
    };
    hooks_.fileError = [this](const std::string& title, const std::string& text, const std::string&) {
      events_.push_back(title + ": " + text);
    };
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string buildFile(const std::string& name) const { return (dir_ / "Build" / "Build_V190617" / name).string(); }

  // Writes a program file with these rows, as the program window of `index` saves it.
  std::string save(int index, const std::string& name, const std::vector<Statement>& rows) {
    Program p(index);
    for (const Statement& s : rows) p.appendRow(s);
    ProgramFileContext fc{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, mainWindowTitle()};
    EXPECT_TRUE(writeProgramFile(p, path(name), fc));
    return path(name);
  }

  void openMain(const std::string& file) {
    ProgramFileContext fc{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, mainWindowTitle()};
    ASSERT_TRUE(readProgramFile(ctx_.programs.main(), file, fc).ok);
    ctx_.programs.current = 0;
  }

  CodeBuffer build(CodeGenOptions options = {}) {
    CodeGenerator generator(ctx_, std::move(options), hooks_);
    CodeBuffer buffer(CodeTarget::BuildBuffer);
    ok_ = generator.GenerateCode(buffer);
    return buffer;
  }

  kavel::testing::TempFolder temp_{"kavel-cg"};
  fs::path dir_ = temp_.path();
  Context ctx_;
  CodeGenHooks hooks_;
  std::vector<std::string> events_;
  bool ok_ = false;
};

}  // namespace

TEST_F(CodeGeneratorTest, MainWithOneWaitRow) {
  openMain(save(0, "robot.Kvl", {row(kWait, kWait, 500)}));
  const CodeBuffer buffer = build();
  ASSERT_TRUE(ok_);
  const Lines& lines = buffer.lines();
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[0], "001|" + kSep);
  EXPECT_EQ(lines[1], "002|// Title: Main - [ robot ]");
  EXPECT_EQ(lines[2], "003|// Build:MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ] - [ Build_V190617 ]");
  EXPECT_EQ(lines[4], "005|// SetupVal:111111-110000-000000,cmt:");
  EXPECT_EQ(lines[16], "017|#include \"M_Main.h\"");
  EXPECT_EQ(tail(lines, 20), (Lines{"021|" + kSep, "022|// Program Name : robot.C", "023|" + kSep,
                                    "024|void user_main(void)", "025|{", "026|  wait_ms(500);", "027|}",
                                    "028|" + kSep}));
  const std::string userC = slurp(buildFile("User.c"));
  EXPECT_NE(userC.find("\r\n// Program Name : robot.C\r\n" + kSep + "\r\nvoid user_main(void)\r\n{\r\n  wait_ms(500);\r\n}\r\n" +
                       kSep + "\r\n"),
            std::string::npos);
  EXPECT_EQ(userC.substr(0, 5), "//---");
  EXPECT_EQ(userC.substr(userC.size() - 4), "--\r\n") << "the last line ends with CR LF too";
  EXPECT_EQ(slurp(buildFile("M_Type.h")), "#define MCU_2520\r\n#define WRENLET\r\n#define CN9_OUT\r\n#define CN10_OUT\r\n");
  EXPECT_EQ(ctx_.programs.current, 0);
}

TEST_F(CodeGeneratorTest, GoldenProgramSet) {
  // Main and two Subs (one the interrupt routine) covering every statement kind.
  const std::string golden = KAVEL_SOURCE_DIR "/tests/cli/data/golden/";
  openMain(golden + "golden.Kvl");
  CodeGenOptions options;
  options.pwrOnRun = true;
  options.outputFolder = dir_.string();
  build(options);
  ASSERT_TRUE(ok_);
  EXPECT_EQ(slurp(path("User.c")), slurp(golden + "User.c"));
  EXPECT_EQ(slurp(path("M_Type.h")), slurp(golden + "M_Type.h"));
  EXPECT_EQ(events_, (Lines{"open 30", "close 30", "open 1", "close 1"}));
}

TEST_F(CodeGeneratorTest, SubsInOrderOfFirstCallEachOnce) {
  save(2, "Grab.Kvl", {row(kWait, kWait, 20)});
  // A Sub that only another Sub calls gets no function.
  save(1, "Turn.Kvl", {row(kFor, kRepeatCount, 3), row(kReturn, kReturn, 0), row(kSubCall, kSubCall, 3, 0, 0, "Deep"),
                       row(kEnd, kClosesFor, 0)});
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 2, 0, 0, "Grab"), row(kSubCall, kSubCall, 1, 0, 0, "Turn"),
                                row(kSubCall, kSubCall, 2, 0, 0, "Grab")}));
  const Lines lines = build().lines();
  ASSERT_TRUE(ok_);
  Lines bare;
  for (const std::string& l : lines) bare.emplace_back(withoutLinePrefix(l));
  const Lines expected{"// Functions", kSep, "void user_sub_2(void);", "void user_sub_1(void);", "void user_main(void);", kSep,
                       "// Program Name : Grab.C", kSep, "void user_sub_2(void)", "{", "  wait_ms(20);", "}", kSep,
                       "// Program Name : Turn.C", kSep, "void user_sub_1(void)", "{", "  int n1;",
                       "  for (n1 = 0; n1 < 3; n1++) {", "    return;", "    user_sub_3();", "  }", "}", kSep,
                       "// Program Name : main.C", kSep, "void user_main(void)", "{", "  user_sub_2();", "  user_sub_1();",
                       "  user_sub_2();", "}", kSep};
  EXPECT_EQ(tail(bare, 21), expected);
  EXPECT_EQ(events_, (Lines{"open 2", "close 2", "open 1", "close 1"}));
  for (int n : {1, 2}) {
    EXPECT_FALSE(ctx_.programs[n].open);
    EXPECT_EQ(ctx_.programs[n].size(), 0u);
  }
}

TEST_F(CodeGeneratorTest, OpenSubsUseTheirRowsAndAreClosedAfterwards) {
  save(1, "Turn.Kvl", {row(kWait, kWait, 20)});
  const std::string mainFile = save(0, "main.Kvl", {row(kSubCall, kSubCall, 1, 0, 0, "Turn")});
  openMain(mainFile);
  Program& sub = ctx_.programs[1];
  sub.open = true;
  sub.appendRow(row(kWait, kWait, 777));
  // Rows changed after Main was saved are replaced by its file at the end of a build.
  ctx_.programs.main().appendRow(row(kWait, kWait, 1));

  const std::string text = build().joined();
  EXPECT_NE(text.find("wait_ms(777);"), std::string::npos) << "an open Sub is not read again";
  EXPECT_EQ(text.find("wait_ms(20);"), std::string::npos);
  EXPECT_EQ(text.find("wait_ms(1);"), std::string::npos) << "Main is generated from its file";
  EXPECT_EQ(events_, (Lines{"close 1"}));
  EXPECT_FALSE(sub.open);
  EXPECT_EQ(sub.size(), 0u);
  EXPECT_EQ(ctx_.programs.main().size(), 1u);
  EXPECT_EQ(ctx_.programs.current, 0);
}

TEST_F(CodeGeneratorTest, EveryLineKnowsTheRowThatMadeIt) {
  save(1, "Turn.Kvl", {row(kWait, kWait, 11), row(kWait, kWait, 12)});
  // Row 2 (a PWM row) makes seven lines; row 3 (a camera test kind as a statement) none.
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 1, 0, 0, "Turn"), row(kWait, kWait, 7),
                                row(kPwm, kPwm, 100100, 100100, 100100), row(45, 45), row(kWait, kWait, 9)}));
  const CodeBuffer buffer = build();
  ASSERT_EQ(buffer.origins().size(), buffer.lines().size());
  const auto originOf = [&](const std::string& text) {
    for (std::size_t i = 0; i < buffer.lines().size(); ++i) {
      if (withoutLinePrefix(buffer.lines()[i]).find(text) != std::string_view::npos) return buffer.origins()[i];
    }
    ADD_FAILURE() << text << " not generated";
    return LineOrigin{};
  };
  EXPECT_EQ(originOf("wait_ms(11);"), (LineOrigin{1, 0}));
  EXPECT_EQ(originOf("wait_ms(12);"), (LineOrigin{1, 1}));
  EXPECT_EQ(originOf("user_sub_1();"), (LineOrigin{0, 0}));
  EXPECT_EQ(originOf("wait_ms(7);"), (LineOrigin{0, 1}));
  EXPECT_EQ(originOf("gPwm[5]"), (LineOrigin{0, 2}));
  EXPECT_EQ(originOf("pwm_out();"), (LineOrigin{0, 2}));
  EXPECT_EQ(originOf("wait_ms(9);"), (LineOrigin{0, 4}));
  for (const char* around : {"// Title:", "void user_sub_1(void);", "void user_main(void)", "#include"}) {
    EXPECT_EQ(originOf(around), (LineOrigin{-1, -1})) << around;
  }
  // What a compiler message on the Sub's second row leads to.
  std::size_t at = 0;
  while (withoutLinePrefix(buffer.lines()[at]) != "  wait_ms(12);") ++at;
  const ErrorLineTarget t =
      errorLineTarget("User.c:" + std::to_string(at + 1) + ":Error: x", buffer.lines(), buffer.origins());
  EXPECT_EQ(t.paneLine, static_cast<int>(at));
  EXPECT_EQ(t.shownNumber, text::format("%03d", static_cast<int>(at + 1)));
  EXPECT_EQ(t.program, 1);
  EXPECT_EQ(t.row, 1);
}

TEST_F(CodeGeneratorTest, InterruptRoutineFlag) {
  save(30, "Tick.Kvl", {});
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 30, 0, 0, "Tick")}));
  ctx_.io.interruptInUse = false;
  build();
  EXPECT_NE(slurp(buildFile("M_Type.h")).find("#define USER_INTR\r\n"), std::string::npos);

  openMain(save(0, "plain.Kvl", {row(kWait, kWait, 1)}));
  ctx_.io.interruptInUse = true;
  build();
  EXPECT_EQ(slurp(buildFile("M_Type.h")).find("USER_INTR"), std::string::npos) << "cleared when Main does not call Sub-30";
}

TEST_F(CodeGeneratorTest, UnreadableSubGetsAnEmptyBody) {
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 4, 0, 0, "Missing"), row(kSubCall, kSubCall, 5, 0, 0, "")}));
  const Lines lines = build().lines();
  EXPECT_TRUE(ok_);
  EXPECT_EQ(events_, (Lines{"open 4", "failed 4 Missing.Kvl", "close 4", "open 5", "failed 5 .Kvl", "close 5"}));
  Lines bare;
  for (const std::string& l : lines) bare.emplace_back(withoutLinePrefix(l));
  const auto at = std::find(bare.begin(), bare.end(), "// Program Name : Missing.C");
  ASSERT_NE(at, bare.end());
  EXPECT_EQ(Lines(at, at + 5), (Lines{"// Program Name : Missing.C", kSep, "void user_sub_4(void)", "{", "}"}));
}

TEST_F(CodeGeneratorTest, SubNumbersOutsideTheSetDoNotCrash) {
  save(1, "Odd.Kvl", {row(kWait, kWait, 5)});
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 31, 0, 0, "Odd"), row(kSubCall, kSubCall, -2, 0, 0, "Odd"),
                                row(kSubCall, kSubCall, 0, 0, 0, "Odd")}));
  const std::string text = build().joined();
  EXPECT_TRUE(ok_);
  for (const char* f : {"void user_sub_31(void)", "void user_sub_-2(void)", "void user_sub_0(void)"}) {
    EXPECT_NE(text.find(f), std::string::npos) << f;
  }
  EXPECT_TRUE(events_.empty()) << "no window is opened for them";
}

TEST_F(CodeGeneratorTest, UnwritableBuildFolderIsReportedAndGenerationGoesOn) {
  openMain(save(0, "main.Kvl", {row(kWait, kWait, 5)}));
  CodeGenOptions options;
  options.outputFolder = path("no/such/folder");
  const CodeBuffer buffer = build(options);
  EXPECT_FALSE(ok_);
  const std::string error = "File Error: Can't perform one of the following file operations: Open, Write, Close.";
  EXPECT_EQ(events_, (Lines{error})) << "the two files are written together, so one report";
  EXPECT_NE(buffer.joined().find("wait_ms(5);"), std::string::npos);
}

TEST_F(CodeGeneratorTest, BuildFilesAreWrittenTogetherOrNotAtAll) {
  // Before, M_Type.h was written first and User.c then failed: a new header beside an old
  // User.c. Each case leaves both files as they were.
  openMain(save(0, "main.Kvl", {row(kWait, kWait, 5)}));
  struct Case {
    const char* what;
    std::function<void()> spoil;
  } cases[] = {
      {"User.c is a folder", [&] { fs::create_directory(buildFile("User.c")); }},
      {"User.c is read-only", [&] {
         text::writeFileAtomic(buildFile("User.c"), "old source");
         fs::permissions(buildFile("User.c"), fs::perms::owner_read);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(buildFile("User.c"));
    ASSERT_TRUE(text::writeFileAtomic(buildFile("M_Type.h"), "old header"));
    c.spoil();
    events_.clear();
    build();
    EXPECT_FALSE(ok_);
    EXPECT_EQ(events_.size(), 1u);
    std::string header;
    ASSERT_TRUE(text::readFileBytes(buildFile("M_Type.h"), header));
    EXPECT_EQ(header, "old header");
    fs::permissions(buildFile("User.c"), fs::perms::owner_all, fs::perm_options::add);
  }

  // With nothing in the way both are written.
  fs::remove_all(buildFile("User.c"));
  build();
  EXPECT_TRUE(ok_);
  std::string header, source;
  ASSERT_TRUE(text::readFileBytes(buildFile("M_Type.h"), header));
  ASSERT_TRUE(text::readFileBytes(buildFile("User.c"), source));
  EXPECT_NE(header, "old header");
  EXPECT_NE(source.find("wait_ms(5);"), std::string::npos);

  // A program kept as C source writes its header and its source the same way.
  CodeGenerator generator(ctx_, {}, hooks_);
  fs::remove_all(buildFile("User.c"));
  fs::create_directory(buildFile("User.c"));
  EXPECT_FALSE(generator.WriteBuildFiles("void user_main(void) {}\r\n"));
  ASSERT_TRUE(text::readFileBytes(buildFile("M_Type.h"), header));
  EXPECT_NE(header.find("#define"), std::string::npos) << "the header of the build before stays";
  fs::remove_all(buildFile("User.c"));
  EXPECT_TRUE(generator.WriteBuildFiles("void user_main(void) {}\r\n"));
  ASSERT_TRUE(text::readFileBytes(buildFile("User.c"), source));
  EXPECT_EQ(source, "void user_main(void) {}\r\n");
}

TEST_F(CodeGeneratorTest, CodeViewOfTheCurrentProgram) {
  openMain(save(0, "main.Kvl", {row(kSubCall, kSubCall, 2, 0, 0, "Grab")}));
  ctx_.programs[2].open = true;
  ctx_.programs[2].titleName = "Grab";
  ctx_.programs[2].appendRow(row(kIf, kSensorTest, 50, 90));
  ctx_.programs[2].appendRow(row(kEnd, kClosesIfChain, 0));
  ctx_.io.cnMode[9] = PingIn;

  CodeGenerator generator(ctx_, {}, hooks_);
  CodeBuffer view(CodeTarget::CodeView);
  generator.GenerateCode(view);
  EXPECT_EQ(view.lines(), (Lines{"001|" + kSep, "002|#include \"M_Main.h\"", "003|#include \"M_I2C.h\"",
                                 "004|#include \"M_SIO.h\"", "005|#include \"M_EIO.h\"", "006|" + kSep,
                                 "007|// Program Name : main.C", "008|" + kSep, "009|void user_main(void)", "010|{",
                                 "011|  user_sub_2();", "012|}", "013|" + kSep}));

  ctx_.programs.current = 2;
  generator.GenerateCode(view);
  EXPECT_EQ(tail(view.lines(), 6), (Lines{"007|// Program Name : Grab.C", "008|" + kSep, "009|void user_sub_2(void)",
                                          "010|{", "011|  if (get_ping(CN10) < 500) {", "012|  }", "013|}",
                                          "014|" + kSep}));
  ctx_.programs.current = 30;
  ctx_.programs[30].appendRow(row(kIf, kSensorTest, 50, 90));
  generator.GenerateCode(view);
  EXPECT_EQ(view.lines()[10], "011|  if (gAD[CN10] < 511) {") << "the interrupt routine reads no ping sensor";

  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(fs::exists(buildFile("User.c"))) << "the code view writes no file";

  hooks_.windowCaption = [](const Program&) { return std::string("SubFile-02"); };
  CodeGenerator captioned(ctx_, {}, hooks_);
  ctx_.programs.current = 2;
  captioned.GenerateCode(view);
  EXPECT_EQ(view.lines()[6], "007|// Program Name : SubFile-02");

  // A window's view names its program; the current program stays what it was.
  ctx_.programs.current = 0;
  captioned.GenerateCode(view, 2);
  EXPECT_EQ(view.lines()[8], "009|void user_sub_2(void)");
  EXPECT_EQ(ctx_.programs.current, 0);
}

TEST_F(CodeGeneratorTest, IndentationStepAndGamePadStart) {
  ctx_.settings.TAB_Spc_ = 4;
  ctx_.io.useSnx4410 = true;
  Program& main = ctx_.programs.main();
  main.appendRow(row(kWhile, kUnconditional, 0));
  main.appendRow(row(kFor, kRepeatCount, 2));
  main.appendRow(row(kBreak, 0, 0));
  main.appendRow(row(kEnd, kClosesFor, 0));
  main.appendRow(row(kEnd, kClosesWhile, 0));
  CodeGenerator generator(ctx_);
  CodeBuffer view(CodeTarget::CodeView);
  generator.GenerateCode(view);
  EXPECT_EQ(tail(view.lines(), 9), (Lines{"010|{", "011|    int n1;", "012|stt_snx4410();", "013|    while (TRUE) {",
                                          "014|        for (n1 = 0; n1 < 2; n1++) {", "015|            break;",
                                          "016|        }", "017|    }", "018|}", "019|" + kSep}));
  ctx_.settings.TAB_Spc_ = -3;
  generator.GenerateCode(view);
  EXPECT_EQ(view.lines()[14], "015|break;");
  ctx_.settings.TAB_Spc_ = 1 << 30;
  generator.GenerateCode(view);
  EXPECT_EQ(view.lines()[14], "015|" + std::string(3 * 32, ' ') + "break;") << "held to the largest step";
}

TEST_F(CodeGeneratorTest, PrefixGrowsToFourDigitsAndIsStrippedInTheFile) {
  std::vector<Statement> rows(995, row(kCCode, kCCode, 0, 0, 0, "a |= b;"));
  openMain(save(0, "long.Kvl", rows));
  const Lines lines = build().lines();
  ASSERT_TRUE(ok_);
  EXPECT_EQ(lines[998].substr(0, 4), "999|");
  EXPECT_EQ(lines[999], "1000|  a |= b;");
  const std::string userC = slurp(buildFile("User.c"));
  EXPECT_EQ(userC.find('|' + std::string("  a")), std::string::npos);
  EXPECT_NE(userC.find("\r\n  a |= b;\r\n"), std::string::npos);

  // The writer keeps a line whose first "|" is not a prefix.
  EXPECT_EQ(generatedFileBytes({"12345|x", "123456|x", "1234567|x", "|x", "x"}), "x\r\nx\r\n1234567|x\r\n|x\r\nx\r\n");
}

TEST_F(CodeGeneratorTest, AJapaneseCommentAtTheEndOfALineNeverSwallowsTheNextLine) {
  // 表 (U+8868) is 0x95 0x5C in CP932: the compiler reads a backslash at the end of the comment
  // line and continues the comment into the next line, so the motor row vanished from the
  // program without a word.
  const std::string hyou = "\xE8\xA1\xA8", so = "\xE3\x82\xBD", zen = "\xE5\x89\x8D";
  openMain(save(0, "bs.Kvl",
                {row(kCCode, kCCode, 0, 0, 0, "// " + hyou), row(kMotorForward, kMotorForward, 50, 50),
                 row(kCCode, kCCode, 0, 0, 0, "x = 1;  \t// " + so), row(kWait, kWait, 500),
                 row(kCCode, kCCode, 0, 0, 0, "// " + zen), row(kMotorStop, kMotorStop)}));
  build();
  ASSERT_TRUE(ok_);
  const std::string userC = slurp(buildFile("User.c"));
  EXPECT_EQ(text::detectEncoding(userC), text::FileEncoding::Cp932);
  EXPECT_NE(userC.find("// \x95\x5C\x81\x40\r\n  motor(50, 50);"), std::string::npos) << "a space after 表";
  EXPECT_NE(userC.find("// \x83\x5C\x81\x40\r\n  wait_ms(500);"), std::string::npos) << "a space after ソ";
  EXPECT_NE(userC.find("// \x91\x4F\r\n  motor(0, 0);"), std::string::npos) << "前 ends in no backslash";
  for (std::size_t at = userC.find("\r\n"); at != std::string::npos; at = userC.find("\r\n", at + 2)) {
    EXPECT_NE(userC[at - 1], '\\') << "a line continuation at byte " << at;
  }
  // A line ending in a character CP932 lacks makes the file UTF-8, where no byte is a backslash.
  EXPECT_EQ(generatedFileBytes({"// " + hyou, "// \xF0\x9F\x98\x80"}),
            "\xEF\xBB\xBF// " + hyou + "\xE3\x80\x80\r\n// \xF0\x9F\x98\x80\r\n");
}

TEST_F(CodeGeneratorTest, GeneratedFilesKeepEveryCharacter) {
  const std::string japanese = "\xE5\x89\x8D\xE9\x80\xB2";  // CP932 can hold it
  const std::string emoji = "\xF0\x9F\x98\x80";              // CP932 cannot
  openMain(save(0, "jp.Kvl", {row(kCCode, kCCode, 0, 0, 0, "x = 1;  \t// " + japanese)}));
  build();
  const std::string cp932 = slurp(buildFile("User.c"));
  EXPECT_EQ(text::detectEncoding(cp932), text::FileEncoding::Cp932);
  EXPECT_NE(text::cp932ToUtf8(cp932).find("x = 1;  \t// " + japanese), std::string::npos);

  openMain(save(0, "emoji.Kvl", {row(kCCode, kCCode, 0, 0, 0, "x = 1;  \t// " + japanese + emoji)}));
  build();
  EXPECT_NE(slurp(buildFile("User.c")).find(japanese + emoji), std::string::npos) << "written as UTF-8";
}

TEST_F(CodeGeneratorTest, CSourceSkeletonAndHeader) {
  ctx_.setup.setupComment = "note";
  ctx_.io.cnName[0] = "Ball";
  CodeGenerator generator(ctx_);
  CodeBuffer source(CodeTarget::CSourceEditor);
  generator.WriteCSkeleton(source);
  const Lines expected{kSep,
                       "// Title: Main - [ New ]",
                       "// Build:MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ] - [ Build_V190617 ]",
                       kSep,
                       "// SetupVal:111111-110000-000000,cmt:note",
                       "// CN01:Ball",
                       "// CN02:",
                       "// CN03:",
                       "// CN04:",
                       "// CN05:",
                       "// CN06:",
                       "// CN07:",
                       "// CN08:",
                       "// CN09:",
                       "// CN10:",
                       kSep,
                       "#include \"M_Main.h\"",
                       "#include \"M_I2C.h\"",
                       "#include \"M_SIO.h\"",
                       "#include \"M_EIO.h\"",
                       kSep,
                       "// Program Name : ",
                       kSep,
                       "void user_main(void)",
                       "{",
                       "  ;",
                       "}",
                       kSep};
  EXPECT_EQ(source.lines(), expected);

  CodeBuffer header(CodeTarget::CSourceEditor);
  generator.WriteHeaderBlock(header);
  EXPECT_EQ(header.lines(), Lines(expected.begin(), expected.begin() + 21));

  // The whole program as C source: the full header and the function, without prefixes.
  ctx_.programs.main().appendRow(row(kWait, kWait, 5));
  generator.GenerateCode(source);
  EXPECT_EQ(tail(source.lines(), 21), (Lines{"// Program Name : .C", kSep, "void user_main(void)", "{", "wait_ms(5);",
                                             "}", kSep}));
  EXPECT_FALSE(fs::exists(buildFile("User.c")));
}

TEST(HeaderBlock, BuildFolderPart) {
  struct Case {
    const char* folder;
    const char* part;
  } cases[] = {
      {"/opt/kavel/Build/Build_V190617/", "Build_V190617"},
      {"/home/u/Build_V2/tools/", "Build_V2/tools"},
      {"/home/user/projects/robot-tools/chain/", " ... ts/robot-tools/chain"},
      {"/short/", " ... /short"},
      {"", " ... "},
      {"/home/\xE3\x83\xAD\xE3\x83\x9C\xE3\x83\x83\xE3\x83\x88/tool-chain-folder/",
       " ... \xE3\x83\x83\xE3\x83\x88/tool-chain-folder"},  // characters, not bytes
  };
  for (const auto& c : cases) EXPECT_EQ(buildFolderPart(c.folder), c.part) << c.folder;
}

TEST(HeaderBlock, ProgramNames) {
  EXPECT_EQ(programNameForBuild("/home/u/robot.Kvl"), "robot.C");
  EXPECT_EQ(programNameForBuild("/home/u/robot"), "robot.C");
  EXPECT_EQ(programNameForBuild("/home/u.d/robot.v2.Kvl"), "robot.v2.C");
  EXPECT_EQ(programNameForView("Main - [ robot ]"), "robot.C");
  EXPECT_EQ(programNameForView("Sub-3 [ Grab ]"), "Grab.C");
  EXPECT_EQ(programNameForView("Sub-3"), "Sub-3");
  EXPECT_EQ(programNameForView("Sub-3 [ Grab"), "Sub-3 [ Grab");
  EXPECT_EQ(programNameForView("Main - [  ]"), ".C");
}
