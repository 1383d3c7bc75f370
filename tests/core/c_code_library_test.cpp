#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/codegen/CCodeLibrary.h"
#include "core/codegen/CCodeStatement.h"
#include "core/text/TextFile.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

CCodeLibEntry entry(std::string type, std::string code, std::string value, std::string comment) {
  return CCodeLibEntry{std::move(type), std::move(code), std::move(value), std::move(comment)};
}

std::string tempFile(const std::string& name, const std::string& bytes) {
  static const kavel::testing::TempFolder temp("kavel-clib");
  const fs::path dir = temp.path();
  const std::string path = (dir / name).string();
  EXPECT_TRUE(text::writeFileAtomic(path, bytes));
  return path;
}

}  // namespace

TEST(CCodeLibrary, LineFields) {
  struct Case {
    const char* line;
    CCodeLibEntry fields;
    CCodeTable table;
  } cases[] = {
      {"#define LED_ON\t1\t// LED on", entry("#define", "LED_ON", "1", "// LED on"), CCodeTable::Defines},
      {"void motor(int l, int r);\t// drive", entry("void", "motor(int l, int r);", "", "// drive"),
       CCodeTable::Function},
      {"int gV[26]\t// variables", entry("int", "gV[26]", "", "// variables"), CCodeTable::Variable},
      {"const unsigned char TABLE[4]\t// rom", entry("const unsigned", "char TABLE[4]", "", "// rom"),
       CCodeTable::Variable},
      {"volatile UINT gAD[10]\t// readings", entry("volatile UINT", "gAD[10]", "", "// readings"),
       CCodeTable::Variable},
      {"unsigned char x\t// only one word of type", entry("unsigned", "char x", "", "// only one word of type"),
       CCodeTable::Variable},
      {"#define  SPEED \t 50 \t  fast  \r", entry("#define", "SPEED", "50", "fast"), CCodeTable::Defines},
      {"#define TEN\t10\tten\t// 10", entry("#define", "TEN", "10", "ten\t// 10"), CCodeTable::Defines},
      {"#define ONE\t// one\tmore", entry("#define", "ONE", "", "// one"), CCodeTable::Defines},
      // Without a tab the code takes the rest of the line.
      {"void wait_ms(unsigned int t);", entry("void", "wait_ms(unsigned int t);", "", ""), CCodeTable::Function},
      {"lonely", entry("lonely", "", "", ""), CCodeTable::Variable},
      {" indented(x)\t// c", entry("", "indented(x)", "", "// c"), CCodeTable::Function},
  };
  for (const auto& c : cases) {
    const auto parsed = parseCCodeLibLine(c.line);
    ASSERT_TRUE(parsed) << c.line;
    EXPECT_EQ(*parsed, c.fields) << c.line;
    EXPECT_EQ(tableFor(*parsed), c.table) << c.line;
  }
  for (const char* skipped : {"", "// a comment", "/ also skipped", "\tint x\t// tab first", "\x01x"}) {
    EXPECT_FALSE(parseCCodeLibLine(skipped)) << skipped;
  }
}

TEST(CCodeLibrary, ReadsFileIntoTables) {
  const std::string longCode(1500, 'x');
  const std::string path = tempFile("lib.Txt",
                                    "// notes\r\n"
                                    "\r\n"
                                    "void motor(int l, int r);\t// drive\r\n"
                                    "#define LED_ON\t1\t// LED on\n"
                                    "int gV[26]\t// variables\r\n"
                                    "void far(" + longCode + ");\t// long\r\n"
                                    "void \x91\x4f\x90\x69(void);\t// \x91\x4f\x90\x69\r\n");  // CP932 text
  CCodeLibrary lib;
  const CCodeLibResult r = ReadCCodeLibrary(path, lib);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(lib.functions.size(), 3u);
  EXPECT_EQ(lib.functions[0].code, "motor(int l, int r);");
  // A line longer than the line buffer is read in pieces of 1023 bytes, each a line of its own.
  EXPECT_EQ(lib.functions[1].code, "far(" + longCode.substr(0, 1023 - 9));
  EXPECT_EQ(lib.functions[2].code, "\xE5\x89\x8D\xE9\x80\xB2(void);");
  EXPECT_EQ(lib.functions[2].comment, "// \xE5\x89\x8D\xE9\x80\xB2");
  ASSERT_EQ(lib.defines.size(), 1u);
  EXPECT_EQ(lib.defines[0].value, "1");
  ASSERT_EQ(lib.variables.size(), 2u);
  EXPECT_EQ(lib.variables[0].code, "gV[26]");
  EXPECT_EQ(lib.variables[1].code, "long") << "the rest of the long line";
  EXPECT_EQ(libraryRowNumber(7), "  7");
}

TEST(CCodeLibrary, MissingFileGivesMessageAndEmptyTables) {
  CCodeLibrary lib;
  lib.functions.push_back(entry("void", "old()", "", ""));
  const CCodeLibResult r = ReadCCodeLibrary("/nonexistent/C-CodeLib.Txt", lib);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.title, "File Error");
  EXPECT_EQ(r.text, "Can't Open C-CodeLib.Txt");
  EXPECT_TRUE(lib.functions.empty() && lib.defines.empty() && lib.variables.empty());
}

TEST(CCodeLibrary, ShippedLibraryCoversTheGeneratedCode) {
  CCodeLibrary lib;
  ASSERT_TRUE(ReadCCodeLibrary(KAVEL_SOURCE_DIR "/data/C-CodeLib.Txt", lib).ok);
  std::string bytes;
  ASSERT_TRUE(text::readFileBytes(KAVEL_SOURCE_DIR "/data/C-CodeLib.Txt", bytes));
  for (const char c : bytes) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "plain ASCII";

  const auto has = [&](CCodeTable t, const std::string& name) {
    for (const auto& e : lib.table(t)) {
      if (e.code.rfind(name, 0) == 0 && !e.comment.empty()) return true;
    }
    return false;
  };
  for (const char* f : {"motor(", "wait_ms(", "set_Led(", "get_Led(", "set_Lat(", "get_Lat(", "clr_timer(",
                        "get_timer(", "cn7_servo(", "cn8_servo(", "pwm_out(", "lcd_putX(", "lcd_puts_var1(",
                        "lcd_puts_var4(", "lcd_puts_sensor(", "set_Uss(", "get_Uss(", "get_ping(", "get_temp(",
                        "get_hmc(", "get_dir(", "get_bno(", "judge_hmc(", "judge_dir(", "judge_bno(",
                        "stt_snx4410(", "chk_snx4410(", "i2c_get_pixy(", "chk_pixydat_p(", "get_pixydat_s(",
                        "sub_io_get_gV(", "sub_io_set_gV(", "sub_io_get_gT(", "sub_io_get_sensor(", "user_main(",
                        "user_sub_1(", "user_sub_30("}) {
    EXPECT_TRUE(has(CCodeTable::Function, f)) << f;
  }
  for (const char* d : {"VAR_A", "VAR_Z", "T1", "T4", "CN1", "CN10", "USS1", "USS4", "LED_ON", "LED_OFF", "HIGH",
                        "LOW", "TRUE", "I2C_WCMD_START", "I2C_WCMD_STOP", "PSx_R1", "PSx_L3", "PSx_RJ8", "PSx_LJ1",
                        "UINT", "ROMC", "MCU_2620", "MCU_2520", "USE_LCD", "USE_SNX4410", "USE_SUBIO", "I2C_SLV",
                        "SUB_ADRS", "USER_INTR", "PWRON_RUN", "CN1_OUT", "CN7_SERVO", "PING_CN7"}) {
    EXPECT_TRUE(has(CCodeTable::Defines, d)) << d;
  }
  for (const char* v : {"gV[", "gAD[", "gPwm[", "gTmpUint"}) EXPECT_TRUE(has(CCodeTable::Variable, v)) << v;
}

TEST(CCodeStatement, SplitAndJoin) {
  EXPECT_EQ(splitCCodeComment("a = 1;  \t// set"), (CCodeParts{"a = 1;", "set"}));
  EXPECT_EQ(splitCCodeComment("a = 1;"), (CCodeParts{"a = 1;", ""}));
  EXPECT_EQ(splitCCodeComment("  b();\t// x\t// y"), (CCodeParts{"b();", "x\t// y"}));
  EXPECT_EQ(splitCCodeComment("c = 2; // not a remark"), (CCodeParts{"c = 2; // not a remark", ""}));
  EXPECT_EQ(joinCCodeComment("a = 1;", "set"), "a = 1;  \t// set");
  EXPECT_EQ(joinCCodeComment("a = 1;", ""), "a = 1;");
  const std::string stored = joinCCodeComment("x > 5", "limit");
  EXPECT_EQ(splitCCodeComment(stored), (CCodeParts{"x > 5", "limit"}));
}

TEST(CCodeStatement, SelectsTheMatchingLibraryRow) {
  CCodeLibrary lib;
  lib.functions = {entry("void", "motor(int l, int r);", "", ""), entry("void", "wait_ms(unsigned int t);", "", ""),
                   entry("int", "sub_io_get_gV(int id, int var);", "", "")};
  lib.defines = {entry("#define", "LED_ON", "1", "")};
  lib.variables = {entry("int", "gAD[10]", "", "")};
  struct Case {
    const char* code;
    CCodeLibRow row;
  } cases[] = {
      {"", {CCodeTable::Function, 2}},  // an empty code box looks for wait_ms
      {"motor(10, 10);", {CCodeTable::Function, 1}},
      {"LED_ON", {CCodeTable::Defines, 1}},
      {"gAD[CN1] > 5", {CCodeTable::Variable, 1}},
      {"gV[VAR_A] = 1;", {CCodeTable::Function, 3}},  // functions are searched first
      {"unknown", {CCodeTable::Function, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(selectLibraryRow(lib, c.code), c.row) << c.code;
  EXPECT_EQ(selectLibraryRow(CCodeLibrary{}, "x"), (CCodeLibRow{CCodeTable::Function, 1}));
  EXPECT_EQ(libraryLookupName("a[2](x)"), "a[2]");
}

TEST(CCodeStatement, InsertsEntriesWithBlankParameters) {
  EXPECT_EQ(libraryInsertText("motor(int l, int r);", true, false), "motor(     ,      );");
  EXPECT_EQ(libraryInsertText("wait_ms(unsigned int t);", true, true), "wait_ms(" + std::string(14, ' ') + ")");
  EXPECT_EQ(libraryInsertText("gV[26]", false, true), "gV[  ]");
  EXPECT_EQ(libraryInsertText("LED_ON", false, true), "LED_ON") << "only Function entries lose a character";
  EXPECT_EQ(blankParameters("f(g(a, b), c[2])"), "f(   ,   ,     )");
  EXPECT_EQ(blankParameters("open(a, b"), "open( ,  ");
  EXPECT_EQ(blankParameters("x[1, 2"), "x[    ");
  EXPECT_EQ(libraryInsertText("", true, true), "");

  std::size_t caret = 2;
  EXPECT_EQ(insertAtCaret("a  = 1;", caret, "b"), "a b = 1;");
  EXPECT_EQ(caret, 3u);
  caret = 99;
  EXPECT_EQ(insertAtCaret("x", caret, "(y)"), "x(y)");
  EXPECT_EQ(caret, 4u);
}
