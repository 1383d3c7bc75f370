#include <gtest/gtest.h>

#include <climits>

#include "core/settings/IniFile.h"

using kavel::IniFile;

TEST(IniFile, LooksUpLikeWindows) {
  const IniFile ini = IniFile::fromBytes(
      "; comment\r\n"
      "stray text\r\n"
      "[ComPort]\r\n"
      "  portname  =  COM3  \r\n"
      "Empty=\r\n"
      "Twice=first\r\n"
      "Twice=second\r\n"
      "[ OTHER ]\r\n"
      "Key=inside other\r\n"
      "[comport]\r\n"
      "Late=in a repeated section\r\n");
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> want;
  } cases[] = {
      {"COMPORT", "PortName", "COM3"},  // names ignore case, whitespace around key and value
      {"COMPORT", "Empty", ""},         // present but empty is not missing
      {"COMPORT", "Twice", "first"},
      {"Other", "key", "inside other"},
      {"COMPORT", "Key", std::nullopt},  // belongs to another section
      {"COMPORT", "Late", std::nullopt},  // the first section of a name wins
      {"COMPORT", "stray text", std::nullopt},
      {"NOPE", "PortName", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.value(c.section, c.key), c.want) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ini.readString("COMPORT", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.readString("COMPORT", "Empty", "dflt"), "");
}

TEST(IniFile, ParsesDecimalAndHexIntegers) {
  struct Case {
    const char* text;
    std::optional<int> want;
  } cases[] = {
      {"115200", 115200}, {"-5", -5},          {"+7", 7},
      {"0x00FF00", 0xFF00}, {"0XC0dcc0", 0xC0DCC0}, {"0xFFFFFFFF", -1},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"2147483648", std::nullopt}, {"99999999999999999999", std::nullopt},
      {"0x123456789", std::nullopt}, {"0x", std::nullopt}, {"0xG1", std::nullopt},
      {"", std::nullopt}, {"-", std::nullopt}, {"green", std::nullopt},
      {"12abc", std::nullopt}, {"1 2", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(IniFile::parseInteger(c.text), c.want) << c.text;

  const IniFile ini = IniFile::fromBytes("[A]\nN=fast\nH=0x10\n");
  EXPECT_EQ(ini.readInteger("A", "N", 42), 42);
  EXPECT_EQ(ini.readInteger("A", "H", 42), 16);
  EXPECT_EQ(ini.readInteger("A", "Missing", 42), 42);
}

TEST(IniFile, WritesInPlaceAndKeepsEverythingElse) {
  IniFile ini = IniFile::fromBytes(
      "; kept comment\n"
      "[COMPORT]\n"
      "portname=COM1\n"
      "Foreign=keep me\n"
      "\n"
      "[Tool]\n"
      "x = 1\n");
  ini.writeString("COMPORT", "PortName", "/dev/ttyUSB0");  // existing key, other spelling
  ini.writeInteger("COMPORT", "BaudRate", 9600);           // new key in an existing section
  ini.writeColour("FRM", "WSCOLOR", 0xC0DCC0);             // new section
  ini.writeString("FRM", "PRODUCT", "two\r\nlines");      // a value stays one line
  const std::vector<std::string> want = {
      "; kept comment", "[COMPORT]", "PortName=/dev/ttyUSB0", "Foreign=keep me",
      "BaudRate=9600",  "",          "[Tool]",                "x = 1",
      "",               "[FRM]",     "WSCOLOR=0xC0DCC0",      "PRODUCT=two  lines"};
  EXPECT_EQ(ini.lines(), want);
  EXPECT_EQ(IniFile::fromBytes(ini.toBytes()).lines(), want);
}

TEST(IniFile, NewFileKeepsTheOrderOfWritingWithCrLf) {
  IniFile ini;
  ini.writeString("B", "k2", "v");
  ini.writeString("A", "k1", "v");
  ini.writeString("B", "k1", "w");
  EXPECT_EQ(ini.toBytes(), "[B]\r\nk2=v\r\nk1=w\r\n\r\n[A]\r\nk1=v\r\n");
}

TEST(IniFile, ReadsUtf8OrCp932AndWritesCp932WhenItFits) {
  const std::string nihongo = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本 in UTF-8
  const std::string nihongoCp932 = "\x93\xFA\x96\x7B";

  const IniFile fromCp932 = IniFile::fromBytes("[PRJ]\r\nDatPath_=/home/" + nihongoCp932 + "/\r\n");
  EXPECT_EQ(fromCp932.value("PRJ", "DatPath_"), "/home/" + nihongo + "/");
  EXPECT_EQ(fromCp932.toBytes(), "[PRJ]\r\nDatPath_=/home/" + nihongoCp932 + "/\r\n");

  const IniFile withBom = IniFile::fromBytes("\xEF\xBB\xBF[PRJ]\nDatPath_=" + nihongo + "\n");
  EXPECT_EQ(withBom.value("PRJ", "DatPath_"), nihongo);

  IniFile noCp932;
  noCp932.writeString("CN-NAME", "CN1", nihongo + "\xF0\x9F\x98\x80");  // an emoji has no CP932 form
  EXPECT_EQ(noCp932.toBytes(), "\xEF\xBB\xBF[CN-NAME]\r\nCN1=" + nihongo + "\xF0\x9F\x98\x80\r\n");
}

// Other programs' sections share the file; whatever we do not write must come back byte for
// byte, also bytes that fit no encoding and LF line ends.
TEST(IniFile, LinesWeDoNotWriteKeepTheirBytes) {
  const std::string foreign =
      "[Other]\nBroken=\x81\xFF\x80\n"   // fits neither CP932 nor UTF-8
      "Name=\x93\xFA\x96\x7B\n"          // CP932
      "[COMPORT]\r\nPortName = COM1\r\nBaudRate=9600";  // no line end at the end
  const std::string nihongo = "\xE6\x97\xA5\xE6\x9C\xAC";

  IniFile same = IniFile::fromBytes(foreign);
  same.writeString("COMPORT", "PortName", "COM1");
  same.writeInteger("COMPORT", "BaudRate", 9600);
  EXPECT_EQ(same.toBytes(), foreign) << "values written unchanged keep their lines too";

  IniFile changed = IniFile::fromBytes(foreign);
  changed.writeString("COMPORT", "PortName", "/dev/" + nihongo);
  changed.writeString("COMPORT", "RecvDlmt", "CRLF");
  EXPECT_EQ(changed.toBytes(),
            "[Other]\nBroken=\x81\xFF\x80\nName=\x93\xFA\x96\x7B\n"
            "[COMPORT]\r\nPortName=/dev/\x93\xFA\x96\x7B\r\nBaudRate=9600\r\nRecvDlmt=CRLF\r\n");

  // A value CP932 cannot hold turns the file into marked UTF-8; the CP932 line is converted,
  // the broken one still keeps its bytes.
  IniFile wide = IniFile::fromBytes(foreign);
  wide.writeString("CN-NAME", "CN1", "\xF0\x9F\x98\x80");
  const std::string bytes = wide.toBytes();
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(bytes.find("Broken=\x81\xFF\x80\n"), std::string::npos);
  EXPECT_NE(bytes.find("Name=" + nihongo + "\n"), std::string::npos);
  EXPECT_EQ(IniFile::fromBytes(bytes).value("CN-NAME", "CN1"), "\xF0\x9F\x98\x80");
}
