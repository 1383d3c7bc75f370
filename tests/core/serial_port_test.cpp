#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/comm/PortList.h"
#include "core/comm/RS232C.h"
#include "core/settings/AppSettings.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

/// A pseudo-terminal whose far end the test holds.
struct Pty {
  int master = -1;
  std::string path;
  Pty() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master);
    ::unlockpt(master);
    path = ::ptsname(master);
  }
  ~Pty() { hangUp(); }
  void hangUp() {
    if (master >= 0) ::close(master);
    master = -1;
  }
  std::string readAll(int waitMs = 200) {
    std::string out;
    char buf[256];
    pollfd p{master, POLLIN, 0};
    while (::poll(&p, 1, waitMs) > 0) {
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<std::size_t>(n));
      waitMs = 20;
    }
    return out;
  }
};

}  // namespace

TEST(RS232C, OpensAPseudoTerminalAndFramesWhatItSends) {
  Pty pty;
  AppSettings settings;
  settings.PortName = pty.path;
  RS232C port(settings);
  const OpenResult opened = port.OpenPort();
  ASSERT_TRUE(opened.ok) << openFailureDetail(opened, 1);
  EXPECT_TRUE(settings.portOpen);
  EXPECT_GE(port.descriptor(), 0);

  EXPECT_EQ(port.SendText("Ver"), SendStatus::Sent);
  settings.SendHead = "STX";
  settings.SendDlmt = "ETX";
  EXPECT_EQ(port.SendText("Ver"), SendStatus::Sent);
  EXPECT_EQ(port.SendBytes("y"), SendStatus::Sent);
  EXPECT_EQ(pty.readAll(), "Ver\r\n\x02Ver\x03y");

  std::string in;
  EXPECT_EQ(port.readAvailable(in), ReadStatus::Nothing);
  ASSERT_EQ(::write(pty.master, "AB\r\n", 4), 4);
  ::usleep(20000);
  EXPECT_EQ(port.readAvailable(in), ReadStatus::Data);
  EXPECT_EQ(in, "AB\r\n");

  // The terminal is raw: no echo, no CR/LF translation.
  termios tio{};
  ASSERT_EQ(::tcgetattr(port.descriptor(), &tio), 0);
  EXPECT_FALSE(tio.c_lflag & (ECHO | ICANON));
  EXPECT_FALSE(tio.c_iflag & (ICRNL | IXON));

  port.ClosePort();
  EXPECT_FALSE(settings.portOpen);
  EXPECT_EQ(port.SendText("Ver"), SendStatus::NotOpen);
}

TEST(RS232C, HangUpIsALineError) {
  Pty pty;
  AppSettings settings;
  settings.PortName = pty.path;
  RS232C port(settings);
  ASSERT_TRUE(port.OpenPort().ok);
  ASSERT_EQ(::write(pty.master, "A", 1), 1);
  pty.hangUp();
  std::string in;
  EXPECT_EQ(port.readAvailable(in), ReadStatus::LineError);
  EXPECT_EQ(port.SendText("Ver"), SendStatus::LineError);
}

TEST(RS232C, ExclusiveOpenAndLinks) {
  Pty pty;
  AppSettings a, b;
  a.PortName = b.PortName = pty.path;
  RS232C first(a), second(b);
  ASSERT_TRUE(first.OpenPort().ok);
  const OpenResult busy = second.OpenPort();
  EXPECT_FALSE(busy.ok);
  EXPECT_EQ(busy.failure, OpenFailure::InUse);
  EXPECT_TRUE(b.lineError);
  EXPECT_NE(openFailureText(busy, b.PortName, 1, false).find("in use by another program"), std::string::npos);
  first.ClosePort();
  EXPECT_TRUE(second.OpenPort().ok) << "the port is free again once closed";
  second.ClosePort();

  // A stable link (like /dev/serial/by-id/...) opens the device it points to.
  const kavel::testing::TempFolder temp("kavel-serial-link");
  const fs::path link = temp.path() / "link";
  fs::create_symlink(pty.path, link);
  a.PortName = link.string();
  EXPECT_TRUE(first.OpenPort().ok);
  EXPECT_EQ(resolvedPortName(link.string()), pty.path);
  fs::remove(link);
}

TEST(RS232C, OpenFailuresSayWhatToDo) {
  AppSettings settings;
  RS232C port(settings);
  settings.PortName = "/dev/kavel-no-such-port";
  OpenResult r = port.OpenPort();
  EXPECT_EQ(r.failure, OpenFailure::NotFound);
  settings.PortName = "/dev/null";
  r = port.OpenPort();
  EXPECT_EQ(r.failure, OpenFailure::NotSerial);
  EXPECT_FALSE(port.isOpen());

  OpenResult denied;
  denied.failure = OpenFailure::Permission;
  denied.device = "/dev/ttyUSB0";
  denied.group = "dialout";
  EXPECT_EQ(openFailureText(denied, "/dev/ttyUSB0", 1, false),
            "Can't connect to /dev/ttyUSB0. Please check the cable.\n"
            "No permission to open /dev/ttyUSB0: join the group \"dialout\" (sudo usermod -aG dialout $USER), "
            "then log out and in again so that the new group applies.");
  EXPECT_EQ(openFailureText(denied, "COM3", 1, true).substr(0, 50), "Can't connect to COM3. Please select another port.");
  EXPECT_EQ(openFailureText(OpenResult{}, "COM3", 0, true), "COM3 は使用出来ません\n接続ポートを変えて下さい");
  EXPECT_NE(openFailureDetail(denied, 0).find("dialout"), std::string::npos);
}

TEST(RS232C, ClosingGivesUpTheExclusiveMark) {
  // Another program keeps the terminal open, as the virtual board does: the exclusive mark then
  // outlives the close unless it is cleared, and an ordinary user's next open gets EBUSY.
  Pty pty;
  const int holder = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(holder, 0);
  AppSettings settings;
  settings.PortName = pty.path;
  RS232C port(settings);
  for (int round = 1; round <= 2; ++round) {
    const OpenResult opened = port.OpenPort();
    ASSERT_TRUE(opened.ok) << "open " << round << ": " << openFailureDetail(opened, 1);
    int exclusive = 0;
    ASSERT_EQ(::ioctl(holder, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1) << "nobody else opens the port while it is ours";
    port.ClosePort();
    ASSERT_EQ(::ioctl(holder, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "the mark is given up with the port";
  }
  ::close(holder);
}

TEST(RS232C, PermissionAndSettingMessagesNameWhatToChange) {
  struct Case {
    const char* what;
    OpenResult result;
    const char* says;
    const char* never;
  } cases[] = {
      {"a device of the dialout group",
       {false, OpenFailure::Permission, "/dev/ttyUSB0", "dialout", "root", 0660, "", ""},
       "join the group \"dialout\"", "only"},
      {"a pseudo-terminal only its owner may open",
       {false, OpenFailure::Permission, "/dev/pts/7", "root", "alice", 0600, "", ""},
       "it belongs to alice with mode 600, so only alice may open it", "join the group"},
      {"a refused speed",
       {false, OpenFailure::Settings, "/dev/ttyUSB0", "", "", -1, "BaudRate 76800", "Invalid argument"},
       "refused the line setting BaudRate 76800 (Invalid argument)", "refused the line settings ("},
  };
  for (const Case& c : cases) {
    const std::string text = openFailureDetail(c.result, 1);
    EXPECT_NE(text.find(c.says), std::string::npos) << c.what << ": " << text;
    EXPECT_EQ(text.find(c.never), std::string::npos) << c.what << ": " << text;
    EXPECT_FALSE(openFailureDetail(c.result, 0).empty());
  }
}

TEST(RS232C, AnOrdinaryUserIsToldWhoseTerminalItIs) {
  // A terminal of root's with mode 600, opened by an ordinary user.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a terminal another user may not open";
  Pty pty;
  ASSERT_EQ(::chmod(pty.path.c_str(), 0600), 0);
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(out[0]);
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    AppSettings settings;
    settings.PortName = pty.path;
    RS232C port(settings);
    const std::string text = openFailureDetail(port.OpenPort(), 1);
    if (::write(out[1], text.data(), text.size()) < 0) ::_exit(3);
    ::_exit(0);
  }
  ::close(out[1]);
  std::string text;
  char buf[512];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_NE(text.find("belongs to root with mode 600"), std::string::npos) << text;
  EXPECT_EQ(text.find("join the group"), std::string::npos) << text;
}

TEST(PortList, ShowsDescriptionAndSerialWhereKnown) {
  EXPECT_EQ(portListText({"/dev/ttyUSB0", "FT232R USB UART", "A50285BI", ""}), "/dev/ttyUSB0  FT232R USB UART (A50285BI)");
  EXPECT_EQ(portListText({"/dev/ttyS0", "ttyS0", "", ""}), "/dev/ttyS0");
  EXPECT_EQ(portListText({"/dev/ttyACM0", "", "1234", ""}), "/dev/ttyACM0  (1234)");
  for (const PortInfo& p : listSerialPorts()) EXPECT_FALSE(p.name.empty());
}

TEST(PortList, TheDefaultPortAndTheChoicesAreRealPorts) {
  const std::vector<PortInfo> none;
  const std::vector<PortInfo> two{{"/dev/ttyACM0", "", "", ""}, {"/dev/ttyUSB0", "", "", "/dev/serial/by-id/usb-X"}};
  EXPECT_EQ(defaultPortName(none), "");
  EXPECT_EQ(defaultPortName(two), "/dev/ttyACM0");
  const auto names = [](const std::vector<PortInfo>& ports) {
    std::vector<std::string> n;
    for (const PortInfo& p : ports) n.push_back(p.name);
    return n;
  };
  EXPECT_EQ(names(portChoices(two, "/dev/pts/4")), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/pts/4"}));
  EXPECT_EQ(names(portChoices(two, "/dev/ttyUSB0")), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB0"}));
  EXPECT_EQ(names(portChoices(two, "/dev/serial/by-id/usb-X")), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB0"}));
  EXPECT_EQ(names(portChoices(none, "")), std::vector<std::string>{});
}
