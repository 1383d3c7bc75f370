#include <gtest/gtest.h>

#include "core/comm/LinkFraming.h"
#include "core/settings/AppSettings.h"

using namespace kavel;

TEST(LinkFraming, NamesGiveTheirBytes) {
  struct Case {
    const char* name;
    std::string header, delimiter;
    int recvCode;
  } cases[] = {
      {"SOH", "\x01", "", 0},     {"STX", "\x02", "", 0},    {"ETX", "", "\x03", 1},
      {"CR", "", "\r", 2},        {"LF", "", "\n", 3},       {"CRLF", "", "\r\n", 4},
      {"NONE", "", "", 0},        {"crlf", "", "", 0},       {"", "", "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sendHeaderBytes(c.name), c.header) << c.name;
    EXPECT_EQ(sendDelimiterBytes(c.name), c.delimiter) << c.name;
    EXPECT_EQ(RecvDelimiterCode(c.name), c.recvCode) << c.name;
  }
}

TEST(LinkFraming, SendTextFramesWithHeaderAndDelimiter) {
  AppSettings s;
  EXPECT_EQ(framedText(s, "Ver"), "Ver\r\n");
  s.SendHead = "STX";
  s.SendDlmt = "ETX";
  EXPECT_EQ(framedText(s, "Ver"), "\x02Ver\x03");
  s.SendHead = "NONE";
  s.SendDlmt = "NONE";
  EXPECT_EQ(framedText(s, "Ver"), "Ver");
}

TEST(LinkFraming, UnknownSpeedsOpenAt9600) {
  for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 56000, 57600, 76800, 115200}) {
    EXPECT_EQ(effectiveBaudRate(rate), rate);
  }
  for (int rate : {14400, 0, -1, 230400}) EXPECT_EQ(effectiveBaudRate(rate), 9600) << rate;
}
