#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/AppSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/ProductVariant.h"
#include "core/setup/IoSetup.h"
#include "core/text/TextFile.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    folder_ = tmpl + "/";
    ini_ = folder_ + "kavelide.ini";
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    fs::remove_all(dir_);
  }

  void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string readFile(const std::string& path) {
    std::string bytes;
    text::readFileBytes(path, bytes);
    return bytes;
  }
  /// Settings of `variant` loaded from the test's settings file.
  void load(AppSettings& s, IoSetup& io, ProductVariant variant = 3) {
    s.variant = variant;
    s.programFolder = folder_;
    LoadSettings(s, io, ini_);
  }

  std::string dir_, folder_, ini_;
};

}  // namespace

TEST(ProductVariant, TitleDecidesTheVariant) {
  struct Case {
    const char* title;
    ProductVariant want;
  } cases[] = {
      {"MORVANE Kavel for Wrenlet CORE", 3},
      {"MORVANE Kavel for Wrenlet CORE (V)", 4},
      {"Kavel Glent Wrenlet CORE (V)", 0},  // first marker in the order wins
      {"Kavel for QV7B-RX", 2},
      {"Kavel for QV7B", 1},
      {"", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(variantFromTitle(c.title), c.want) << c.title;
  EXPECT_EQ(mainWindowTitle(), "MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]");
  EXPECT_STREQ(variantInfo(4).productLabel, "www.wrenlet-robotics.example");
  EXPECT_STREQ(variantInfo(-1).productLabel, "Wrenlet");
  EXPECT_STREQ(variantInfo(5).userFolder, "User_WL/");
  EXPECT_EQ(settingsFilePath("/opt/kavel/bin/kavelide"), "/opt/kavel/bin/kavelide.ini");
  EXPECT_EQ(settingsFilePath("/opt/k.v/kavelide.exe"), "/opt/k.v/kavelide.ini");
}

TEST_F(SettingsTest, NoFileGivesTheVariantDefaults) {
  struct Case {
    ProductVariant variant;
    const char* userFolder;
    const char* product;
    const char* wallpaper;
    const char* logo;
    std::uint32_t colour;
    int mcu;
    std::array<std::string, 10> names;
    std::array<int, 10> modes;
  } cases[] = {
      {0, "User_Glent/", "Glent.jpg", "Glnt_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 1,
       {"RA0", "RA1", "RA2", "RA3", "RA5", "RB2", "RB3", "RB1:RED", "RB4", "RB0:GRN"},
       {1, 1, 1, 1, 1, 1, 1, 0, 1, 0}},
      {1, "User_QV7B/", "QV7B-FW.jpg", "QV7B_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 1,
       {"Ball", "Line", "L-Touch", "R-Touch", "C-Touch", "", "", "", "RED3", "RED2"},
       {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {2, "User_QV7B/", "QV7B-RX.jpg", "QV7B_Wallpaper.jpg", "RX_Logo.jpg", 0xC0DCC0, 1,
       {"Ball", "Line", "L-Touch", "R-Touch", "C-Touch", "", "", "", "RED3", "RED2"},
       {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {3, "User_WL/", "WL-Core.jpg", "WLC_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 0,
       {"Ball", "Line", "L-Touch", "R-Touch", "", "", "", "", "RED3", "RED2"},
       {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {4, "User_WL/", "WL-Core.jpg", "WLV_Wallpaper.jpg", "WLV_Logo.jpg", 0xC0C0C0, 0,
       {"Ball", "Line", "L-Touch", "R-Touch", "", "", "", "", "RED3", "RED2"},
       {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    AppSettings s;
    IoSetup io;
    s.portOpen = s.recvRunning = true;
    load(s, io, c.variant);
    EXPECT_EQ(s.PortName, "") << "no port is made up; kavelide takes the first one it finds";
    EXPECT_EQ(s.BaudRate, 115200);
    EXPECT_EQ(s.Ack_Tout, 500);
    EXPECT_EQ(s.DefPath_, folder_ + c.userFolder);
    EXPECT_EQ(s.DatPath_, folder_ + c.userFolder);
    EXPECT_EQ(s.BatFile_, folder_ + "Build/Build_V190617/BuildPath.Bat");
    EXPECT_EQ(s.TAB_Spc_, 2);
    EXPECT_EQ(s.SetupDef, 1);
    EXPECT_EQ(s.LANG_NO_, 2);
    EXPECT_EQ(s.LANG_0__, folder_ + "Japanese.Txt");
    EXPECT_EQ(s.LANG_1__, folder_ + "English.Txt");
    EXPECT_EQ(s.FuncPnl, 3);
    EXPECT_EQ(s.PRODUCT, folder_ + c.product);
    EXPECT_EQ(s.WPAPER, folder_ + c.wallpaper);
    EXPECT_EQ(s.LOGOIMG, folder_ + c.logo);
    EXPECT_EQ(s.WSCOLOR, c.colour);
    EXPECT_EQ(s.MCU2620_, c.mcu);
    EXPECT_EQ(io.cnName, c.names);
    EXPECT_EQ(io.cnMode, c.modes);
    EXPECT_EQ(s.ussName[3], "USS-4");
    EXPECT_EQ(s.clSig[2], 0xFF0000u);
    EXPECT_FALSE(s.portOpen);
    EXPECT_FALSE(s.recvRunning);
  }
}

TEST_F(SettingsTest, ColoursReadAsHexOrFallBack) {
  struct Case {
    const char* text;
    ProductVariant variant;
    std::optional<std::uint32_t> read;  // nullopt: the default
  } cases[] = {
      {"0x00FF00", 3, 0x00FF00},   {"0X0000ff", 3, 0x0000FF}, {"65280", 3, 0x00FF00},
      {"green", 3, std::nullopt},  {"", 3, std::nullopt},     {"", 4, std::nullopt},
      {"0x1000000", 3, std::nullopt}, {"-1", 3, std::nullopt},
  };
  for (const auto& c : cases) {
    writeFile(ini_, std::string("[FRM]\nWSCOLOR=") + c.text + "\n[PIXY]\nCL_SIG2=" + c.text + "\n");
    AppSettings s;
    IoSetup io;
    load(s, io, c.variant);
    EXPECT_EQ(s.WSCOLOR, c.read.value_or(variantInfo(c.variant).workspaceColour)) << c.text;
    EXPECT_EQ(s.clSig[1], c.read.value_or(0x00FFFF)) << c.text;
  }
}

TEST_F(SettingsTest, SaveThenLoadGivesTheSameValues) {
  AppSettings s;
  IoSetup io;
  setDefaultSettings(s, io, 3, folder_);
  const std::string nihongo = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
  s.PortName = "/dev/ttyUSB0";
  s.BaudRate = 9600;
  s.ByteSize = 7;
  s.StopBits = 2;
  s.Parity__ = "EVEN";
  s.RTS_Cont = true;
  s.SendHead = "STX";
  s.SendDlmt = "CR";
  s.RecvHead = "SOH";
  s.RecvDlmt = "LF";
  s.RecvTout = 250;
  s.SendTout = 5;
  s.Ack_Tout = 1500;
  s.DefPath_ = folder_ + nihongo + "/";
  s.DatPath_ = folder_ + "User_WL/" + nihongo + "/";
  s.BatFile_ = "/opt/tools/BuildPath.Bat";
  s.EdtStyle = 1;
  s.TAB_Spc_ = 4;
  s.SetupDef = 2;
  s.BuildJob = 0;
  s.MCU2620_ = 1;
  s.LANG_NO_ = 1;
  s.FuncPnl = 4;
  s.WSCOLOR = 0x123456;
  s.PRODUCT = folder_ + "p.jpg";
  s.WPAPER = folder_ + "w.jpg";
  s.LOGOIMG = folder_ + "l.jpg";
  s.ussName = {"front", "back", "", nihongo};
  s.clSig = {0x0000FF, 1, 2, 3, 4, 5, 0xFFFFFF};
  io.cnName = {"a", "", nihongo, "d", "e", "f", "g", "h", "i", "j"};
  io.cnMode = {0, 1, 2, 3, 4, 5, 6, 9, 1, 0};
  ASSERT_TRUE(SaveSettings(s, io, ini_));

  AppSettings back;
  IoSetup ioBack;
  load(back, ioBack);
  EXPECT_EQ(back.PortName, s.PortName);
  EXPECT_EQ(back.BaudRate, s.BaudRate);
  EXPECT_EQ(back.ByteSize, s.ByteSize);
  EXPECT_EQ(back.StopBits, s.StopBits);
  EXPECT_EQ(back.Parity__, s.Parity__);
  EXPECT_EQ(back.RTS_Cont, s.RTS_Cont);
  EXPECT_EQ(back.SendHead, s.SendHead);
  EXPECT_EQ(back.SendDlmt, s.SendDlmt);
  EXPECT_EQ(back.RecvHead, s.RecvHead);
  EXPECT_EQ(back.RecvDlmt, s.RecvDlmt);
  EXPECT_EQ(back.RecvTout, s.RecvTout);
  EXPECT_EQ(back.SendTout, s.SendTout);
  EXPECT_EQ(back.Ack_Tout, s.Ack_Tout);
  EXPECT_EQ(back.DefPath_, s.DefPath_);
  EXPECT_EQ(back.DatPath_, s.DatPath_);
  EXPECT_EQ(back.BatFile_, s.BatFile_);
  EXPECT_EQ(back.EdtStyle, s.EdtStyle);
  EXPECT_EQ(back.TAB_Spc_, s.TAB_Spc_);
  EXPECT_EQ(back.SetupDef, s.SetupDef);
  EXPECT_EQ(back.BuildJob, s.BuildJob);
  EXPECT_EQ(back.MCU2620_, 1);
  EXPECT_EQ(back.LANG_NO_, 1);
  EXPECT_EQ(back.FuncPnl, 4);
  EXPECT_EQ(back.WSCOLOR, s.WSCOLOR);
  EXPECT_EQ(back.PRODUCT, s.PRODUCT);
  EXPECT_EQ(back.WPAPER, s.WPAPER);
  EXPECT_EQ(back.LOGOIMG, s.LOGOIMG);
  EXPECT_EQ(back.ussName, s.ussName);
  EXPECT_EQ(back.clSig, s.clSig);
  EXPECT_EQ(ioBack.cnName, io.cnName);  // the empty CN2 stays empty although its default is "Line"
  EXPECT_EQ(ioBack.cnMode, io.cnMode);

  // Japanese text is stored as CP932, the exchange format of existing users' files; colours
  // are written as hexadecimal text.
  const std::string bytes = readFile(ini_);
  EXPECT_NE(bytes.find("CN3=\x93\xFA\x96\x7B\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("CL_SIG1=0x0000FF\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("WSCOLOR=0x123456\r\n"), std::string::npos);
}

TEST_F(SettingsTest, NewFileHasSectionsAndKeysInOrder) {
  AppSettings s;
  IoSetup io;
  setDefaultSettings(s, io, 3, folder_);
  ASSERT_TRUE(SaveSettings(s, io, ini_));
  const IniFile ini = IniFile::fromBytes(readFile(ini_));
  std::vector<std::string> headers;
  std::vector<std::string> prjKeys;
  bool inPrj = false;
  for (const std::string& line : ini.lines()) {
    if (!line.empty() && line[0] == '[') {
      headers.push_back(line);
      inPrj = line == "[PRJ]";
    } else if (inPrj && !line.empty()) {
      prjKeys.push_back(line.substr(0, line.find('=')));
    }
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"[COMPORT]", "[PRJ]", "[LANGUAGE]", "[FRM]",
                                               "[CN-NAME]", "[I/O]", "[USS-NAME]", "[PIXY]"}));
  EXPECT_EQ(prjKeys, (std::vector<std::string>{"DefPath_", "DatPath_", "BatFile_", "EdtStyle",
                                               "TAB_Spc_", "SetupDef", "BuildJob", "MCU2620_"}));
  EXPECT_EQ(ini.value("FRM", "WSCOLOR"), "0xC0DCC0");
  EXPECT_EQ(ini.value("CN-NAME", "CN5"), "");
  EXPECT_EQ(ini.value("I/O", "CN9"), "0");
}

TEST_F(SettingsTest, SaveKeepsForeignKeysAndSections) {
  writeFile(ini_,
            "; my notes\r\n"
            "[COMPORT]\r\n"
            "portname=COM7\r\n"
            "Favourite=yes\r\n"
            "[Plugin]\r\n"
            "Path=/x\r\n");
  AppSettings s;
  IoSetup io;
  load(s, io);
  EXPECT_EQ(s.PortName, "COM7");
  s.PortName = "/dev/ttyACM0";
  ASSERT_TRUE(SaveSettings(s, io, ini_));
  const IniFile ini = IniFile::fromBytes(readFile(ini_));
  EXPECT_EQ(ini.lines()[0], "; my notes");
  EXPECT_EQ(ini.lines()[2], "PortName=/dev/ttyACM0");  // updated where it was
  EXPECT_EQ(ini.value("COMPORT", "Favourite"), "yes");
  EXPECT_EQ(ini.value("Plugin", "Path"), "/x");
  EXPECT_EQ(ini.value("COMPORT", "BaudRate"), "115200");
}

TEST_F(SettingsTest, MessageFilePathsFallBackWhenTheFileIsGone) {
  const std::string mine = folder_ + "MyEnglish.Txt";
  writeFile(mine, "x");
  writeFile(ini_, "[LANGUAGE]\nLANG_NO_=0\nLANG_0__=" + folder_ + "gone.Txt\nLANG_1__=" + mine + "\n");
  AppSettings s;
  IoSetup io;
  load(s, io);
  EXPECT_EQ(s.LANG_NO_, 0);
  EXPECT_EQ(s.LANG_0__, folder_ + "Japanese.Txt");  // replaced without testing the default
  EXPECT_EQ(s.LANG_1__, mine);

  fs::remove(mine);
  load(s, io);
  EXPECT_EQ(s.LANG_1__, folder_ + "English.Txt");
  ASSERT_TRUE(SaveSettings(s, io, ini_));
  EXPECT_EQ(IniFile::fromBytes(readFile(ini_)).value("LANGUAGE", "LANG_1__"), folder_ + "English.Txt");
}

TEST_F(SettingsTest, FailedSaveLeavesTheOldFileAndSaysWhy) {
  const std::string old = "[COMPORT]\r\nPortName=COM9\r\n";
  writeFile(ini_, old);
  ASSERT_EQ(::chmod(ini_.c_str(), 0444), 0);
  AppSettings s;
  IoSetup io;
  setDefaultSettings(s, io, 3, folder_);
  std::string error;
  EXPECT_FALSE(SaveSettings(s, io, ini_, &error));
  EXPECT_NE(error.find(ini_), std::string::npos) << error;
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(readFile(ini_), old);

  // A folder that cannot take the temporary file: only testable without root's rights.
  ::chmod(ini_.c_str(), 0644);
  ::chmod(dir_.c_str(), 0555);
  if (::geteuid() != 0) {
    error.clear();
    EXPECT_FALSE(SaveSettings(s, io, ini_, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(ini_), old);
  }
  ::chmod(dir_.c_str(), 0755);

  // A folder where the file should be.
  fs::create_directory(folder_ + "dir.ini");
  EXPECT_FALSE(SaveSettings(s, io, folder_ + "dir.ini", &error));
  EXPECT_TRUE(fs::is_directory(folder_ + "dir.ini"));
}

TEST_F(SettingsTest, BrokenFilesGiveDefaultsWithoutCrashing) {
  std::string binary(4096, '\0');
  std::mt19937 rng(7);
  for (char& c : binary) c = static_cast<char>(rng());
  std::string oversized = "[COMPORT]\n" + std::string(4 << 20, 'x') + "\n";
  for (int i = 0; i < 20000; ++i) oversized += "[PRJ]\nTAB_Spc_=zz\n";
  const char nul[] = "[COMPORT]\nPortName=COM\0" "5\n[PRJ]\nTAB_Spc_=\0\n";
  const std::string withNul(nul, sizeof nul - 1);
  struct Case {
    std::string bytes;
    bool text;  // false: no settings file at all, which is never written over
  } cases[] = {
      {"", true},
      {binary, false},
      {oversized, true},
      {"[\n[COMPORT\n=\n==\nBaudRate\n[]\n=15\n\r\n\r\r\n[PRJ]]\n", true},
      // Values that do not read as numbers, or that the program cannot work with.
      {"[COMPORT]\nBaudRate=fast\nRecvTout=-1\nAck_Tout=1e3\n"
       "[PRJ]\nTAB_Spc_=99999999\n"
       "[FRM]\nWSCOLOR=0xZZ\n"
       "[I/O]\nCN1=12\nCN2=-1\nCN3=x\n",
       true},
      {"[COMPORT]\nBaudRate=0\n[PRJ]\nTAB_Spc_=-3\n", true},
      {withNul, false},
      {"\xFF\xFE[\0C\0O\0M\0P\0O\0R\0T\0]\0", false},
  };
  for (const auto& [bytes, isText] : cases) {
    SCOPED_TRACE(bytes.substr(0, 40));
    writeFile(ini_, bytes);
    AppSettings s;
    IoSetup io;
    load(s, io);
    EXPECT_EQ(s.BaudRate, 115200);
    EXPECT_EQ(s.RecvTout, 100);
    EXPECT_EQ(s.Ack_Tout, 500);
    EXPECT_EQ(s.TAB_Spc_, 2);
    EXPECT_EQ(s.WSCOLOR, 0xC0DCC0u);
    EXPECT_EQ(io.cnMode, (std::array<int, 10>{1, 1, 1, 1, 1, 1, 1, 1, 0, 0}));
    s.BaudRate = 38400;
    if (!isText) {
      // Before, sections in ASCII were added to the end of whatever the file held.
      std::string error;
      EXPECT_FALSE(SaveSettings(s, io, ini_, &error));
      EXPECT_NE(error.find(ini_), std::string::npos) << error;
      EXPECT_EQ(readFile(ini_), bytes) << "a file that is no settings file is left as it is";
      continue;
    }
    // Saving over such a file works and its values read back.
    ASSERT_TRUE(SaveSettings(s, io, ini_));
    AppSettings back;
    IoSetup ioBack;
    load(back, ioBack);
    EXPECT_EQ(back.BaudRate, 38400);
  }
}

TEST_F(SettingsTest, UnusableValuesAreNamedWithTheDefaultUsed) {
  struct Case {
    const char* section;
    const char* line;
    const char* warning;
  } cases[] = {
      {"COMPORT", "Ack_Tout=-5", "[COMPORT] Ack_Tout=-5 is not 0 or more; 500 is used instead."},
      {"COMPORT", "BaudRate=abc", "[COMPORT] BaudRate=abc is not a number; 115200 is used instead."},
      {"COMPORT", "ByteSize=9", "[COMPORT] ByteSize=9 is not 7 or 8; 8 is used instead."},
      {"COMPORT", "StopBits=0", "[COMPORT] StopBits=0 is not 1 or 2; 1 is used instead."},
      {"LANGUAGE", "LANG_NO_=-1", "[LANGUAGE] LANG_NO_=-1 is not from 0 to 2; 2 is used instead."},
      {"PRJ", "TAB_Spc_=99", "[PRJ] TAB_Spc_=99 is not from 0 to 32; 2 is used instead."},
      {"PRJ", "SetupDef=7", "[PRJ] SetupDef=7 is not from 0 to 2; 1 is used instead."},
      {"FRM", "WSCOLOR=green", "[FRM] WSCOLOR=green is not a colour (0x000000 to 0xFFFFFF); 0xC0DCC0 is used instead."},
      {"I/O", "CN3=12", "[I/O] CN3=12 is not from 0 to 9; 1 is used instead."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    writeFile(ini_, std::string("[") + c.section + "]\r\n" + c.line + "\r\n");
    AppSettings s;
    IoSetup io;
    s.programFolder = folder_;
    std::vector<std::string> warnings;
    LoadSettings(s, io, ini_, &warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{c.warning});
  }
  // Good values and a missing key are no news.
  writeFile(ini_, "[COMPORT]\r\nAck_Tout=0\r\nBaudRate=0x1C200\r\n[LANGUAGE]\r\nLANG_NO_=2\r\n");
  AppSettings s;
  IoSetup io;
  s.programFolder = folder_;
  std::vector<std::string> warnings;
  LoadSettings(s, io, ini_, &warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(s.BaudRate, 115200);
  EXPECT_EQ(s.Ack_Tout, 0);
}
