// One download, as the console and the download window run it, against a virtual board on the
// test's clock: the whole transfer, every board fault, the banner rules, the window's questions
// and Start button, and a board that holds CTS.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FakeBoardPort.h"
#include "core/comm/DownloadSession.h"
#include "core/comm/LinkState.h"

using namespace kavel;
using kavel::testing::FakeLink;
using Kind = DownloadSession::EventKind;
using Outcome = DownloadSession::Outcome;

namespace {

const std::string kHex = KAVEL_SOURCE_DIR "/tests/cli/data/hex/User.Hex";
constexpr int kLines = 32;
const std::string kPort = "/dev/ttyFAKE0";

DownloadSession::Options windowOptions() {
  DownloadSession::Options o;
  o.askWhileSearching = true;
  o.startAtOnce = false;
  o.endOnFailure = false;
  o.acceptUnknownLoader = true;
  return o;
}

struct Download {
  FakeLink f;
  DownloadSession session;
  std::vector<DownloadSession::Event> events;

  explicit Download(DownloadSession::Options options = {}, const std::string& hex = kHex)
      : session(f.link, hex, std::move(options)) {}

  void collect() {
    while (auto e = session.takeEvent()) events.push_back(*e);
  }
  bool run(const std::function<bool()>& done, Millis ms = 60000) {
    return f.runUntil(done, ms, [this] { collect(); });
  }
  bool runToEnd(Millis ms = 60000) {
    return run([this] { return session.ended(); }, ms);
  }
  bool saw(Kind kind) const {
    return std::any_of(events.begin(), events.end(), [kind](const auto& e) { return e.kind == kind; });
  }
  int count(Kind kind) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [kind](const auto& e) { return e.kind == kind; }));
  }
  const DownloadSession::Event* first(Kind kind) const {
    for (const auto& e : events) {
      if (e.kind == kind) return &e;
    }
    return nullptr;
  }
  std::string written() { return f.port.written[kPort]; }
};


}  // namespace

TEST(DownloadSession, TheConsoleGoesStraightThroughOrEndsAtTheFirstFault) {
  struct Case {
    const char* what = "";
    std::string version = "Wrenlet CORE Ver.2.10 vboard";
    std::string banner = "WL Loader2520 Ver.1.05";
    vboard::Faults faults{};
    bool board = true;
    bool run = true;
    bool anyLoader = false;
    Outcome outcome = Outcome::Done;
    std::string message = {};  // part of message(); empty: none
  } cases[] = {
      {.what = "the whole transfer", .outcome = Outcome::Done},
      {.what = "without R", .run = false, .outcome = Outcome::Done},
      {.what = "a slow loader", .faults = {.slowAck = 30}, .outcome = Outcome::Done},
      {.what = "noise before every reply", .faults = {.garbage = true}, .outcome = Outcome::Done},
      {.what = "no ack", .faults = {.noAckAt = 5}, .outcome = Outcome::TransferFailed,
       .message = "Ack Tout! no \".\" for line 5 within 500 ms"},
      {.what = "an error line", .faults = {.errorAt = 7}, .outcome = Outcome::TransferFailed,
       .message = "the boot loader answered line 7 with \"checksum error at line 7\""},
      {.what = "a pulled cable", .faults = {.hangupAt = 9}, .outcome = Outcome::TransferFailed,
       .message = "the link broke off at line 9"},
      {.what = "another product's loader", .banner = "QV7B Loader2620 Ver.3.00", .outcome = Outcome::Refused,
       .message = "the boot loader \"QV7B Loader2620 Ver.3.00\" does not fit"},
      {.what = "an unknown loader", .banner = "Acme Boot 1.0", .outcome = Outcome::Refused,
       .message = "the boot loader \"Acme Boot 1.0\" is not one of a known product; nothing was sent"},
      {.what = "an unknown loader taken", .banner = "Acme Boot 1.0", .anyLoader = true, .outcome = Outcome::Done},
      {.what = "a mute board", .faults = {.mute = true}, .outcome = Outcome::NoBoard,
       .message = "no board answered \"Ver\" on /dev/ttyFAKE0 within 200 ms"},
      {.what = "a board of another product", .version = "Acme Robot v1", .outcome = Outcome::NoBoard,
       .message = "another board answered: \"Acme Robot v1\""},
      {.what = "no prompt", .faults = {.noPrompt = true}, .outcome = Outcome::NoPrompt,
       .message = "no boot-loader prompt (\"Please send [.hex] file.\") within 1000 ms of \"Reset\""},
      {.what = "no port", .board = false, .outcome = Outcome::NoBoard, .message = "/dev/ttyFAKE0 does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DownloadSession::Options o;
    o.run = c.run;
    o.acceptUnknownLoader = c.anyLoader;
    Download d(o);
    if (c.board) d.f.port.addBoard(kPort, c.version, c.banner, c.faults);
    d.session.start();
    ASSERT_TRUE(d.runToEnd());
    EXPECT_EQ(d.session.outcome(), c.outcome) << d.session.message();
    if (c.message.empty()) {
      EXPECT_EQ(d.session.message(), "");
    } else {
      EXPECT_NE(d.session.message().find(c.message), std::string::npos) << d.session.message();
    }
    EXPECT_FALSE(d.f.port.isOpen()) << "the port closes with the session";
    EXPECT_EQ(d.f.state.downloadState, kDownloadIdle);
    if (c.outcome == Outcome::Done) {
      EXPECT_EQ(d.f.port.board(kPort)->hexLines(), kLines);
      EXPECT_EQ(d.written().back() == 'R', c.run);
      EXPECT_FALSE(d.f.port.board(kPort)->inLoader() && c.run) << "R starts the program";
    }
    if (c.outcome == Outcome::Refused || c.outcome == Outcome::NoBoard) {
      EXPECT_EQ(d.written().find(":10"), std::string::npos) << "nothing of the image was sent";
    }
  }
}

TEST(DownloadSession, ProbeKeepsThePortItFoundOpen) {
  // The port where the board answered is not closed and opened again (a second open failed
  // for ordinary users while the exclusive mark stayed on the device).
  Download d;
  d.f.port.addBoard(kPort);
  d.session.start();
  ASSERT_TRUE(d.runToEnd());
  EXPECT_EQ(d.session.outcome(), Outcome::Done);
  EXPECT_EQ(d.f.port.opened, std::vector<std::string>{kPort});
}

TEST(DownloadSession, TheWindowAsksBeforeSearchingAgainAndOpensWithoutABoard) {
  // No port at all: asked twice (first the "not found" wording, then "does not answer"), then
  // the window opens in state 0.
  Download none(windowOptions());
  none.session.start();
  for (int failure = 1; failure <= 2; ++failure) {
    ASSERT_TRUE(none.run([&] { return none.count(Kind::SearchAgain) == failure; }));
    EXPECT_EQ(none.events.back().count, failure);
    EXPECT_EQ(none.events.back().text, "") << "nothing answered";
    none.session.answerSearch(true);
  }
  ASSERT_TRUE(none.run([&] { return none.saw(Kind::Connected); }));
  EXPECT_EQ(none.session.state(), kDownloadIdle);
  EXPECT_FALSE(none.f.port.isOpen());
  EXPECT_TRUE(none.f.state.downloadStartEnabled);

  // No stops the command without a window.
  Download no(windowOptions());
  no.session.start();
  ASSERT_TRUE(no.run([&] { return no.saw(Kind::SearchAgain); }));
  no.session.answerSearch(false);
  EXPECT_EQ(no.session.outcome(), Outcome::Cancelled);
  EXPECT_FALSE(no.saw(Kind::Connected));

  // A board of another product on one of the machine's ports is named in the question.
  DownloadSession::Options o = windowOptions();
  o.candidates = {"/dev/ttyFAKE9"};
  Download other(o);
  other.f.port.addBoard("/dev/ttyFAKE9", "Acme Robot v1");
  other.f.port.refuse(kPort, OpenFailure::InUse);
  other.session.start();
  ASSERT_TRUE(other.run([&] { return !other.events.empty(); }, 10000));
  EXPECT_EQ(other.events[0].kind, Kind::SearchAgain);
  EXPECT_EQ(other.events[0].text, "Acme Robot v1");
  EXPECT_EQ(other.f.settings.PortName, kPort) << "the settings keep their port";

  // A port that opens but stays silent: the window opens in state 0 at once, the port open.
  Download mute(windowOptions());
  mute.f.port.addBoard(kPort, "", "", {.mute = true});
  mute.session.start();
  ASSERT_TRUE(mute.run([&] { return mute.saw(Kind::Connected); }));
  EXPECT_FALSE(mute.saw(Kind::SearchAgain));
  EXPECT_EQ(mute.session.state(), kDownloadIdle);
  EXPECT_TRUE(mute.f.port.isOpen());

  // Repeating the command (ProbeMode cleared) cancels the search without a question.
  Download cancelled(windowOptions());
  cancelled.f.port.addBoard(kPort, "", "", {.mute = true});
  cancelled.session.start();
  cancelled.f.link.poll();
  cancelled.f.state.ProbeMode = false;
  ASSERT_TRUE(cancelled.runToEnd());
  EXPECT_EQ(cancelled.session.outcome(), Outcome::Cancelled);
  EXPECT_TRUE(cancelled.events.empty());
}

TEST(DownloadSession, TheWindowWaitsForStartAndStaysAfterwards) {
  Download d(windowOptions());
  d.f.port.addBoard(kPort);
  d.session.start();
  ASSERT_TRUE(d.run([&] { return d.saw(Kind::Connected); }));
  EXPECT_EQ(d.session.state(), kDownloadWaiting);
  d.f.now += 5000;
  d.f.link.poll();
  EXPECT_EQ(d.written().find("Reset"), std::string::npos) << "nothing happens before Start";

  d.session.pressStart();
  EXPECT_TRUE(d.session.startRequest());
  ASSERT_TRUE(d.run([&] { return d.saw(Kind::TransferDone); }));
  const std::vector<Kind> want{Kind::Connected, Kind::LoaderBanner, Kind::LoaderReady, Kind::SendingStarted};
  std::vector<Kind> got;
  for (const auto& e : d.events) {
    if (e.kind != Kind::LineSent && got.size() < want.size()) got.push_back(e.kind);
  }
  EXPECT_EQ(got, want);
  EXPECT_EQ(d.first(Kind::LoaderBanner)->text, "WL Loader2520 Ver.1.05");
  EXPECT_EQ(d.count(Kind::LineSent), kLines);
  EXPECT_FALSE(d.session.ended()) << "the window decides when to close";
  EXPECT_EQ(d.session.state(), kDownloadFinished);
  EXPECT_EQ(d.written().back(), 'R');
  EXPECT_EQ(d.session.sender()->highestAddressText(), " 0x09D0");
  d.session.finish(false);
  EXPECT_FALSE(d.f.port.isOpen());
  EXPECT_EQ(d.session.state(), kDownloadIdle);
}

TEST(DownloadSession, WithoutAutoStartThePromptWaitsForTheSecondStart) {
  // The auto-start timer must not ask "does the board answer?" after the board has answered.
  Download d(windowOptions());
  d.f.port.addBoard(kPort);
  d.session.startConnected(kDownloadIdle);
  d.f.state.downloadStartEnabled = true;
  d.session.setAutoStart(false);
  d.session.pressStart();  // state 0: search, then "Reset"
  ASSERT_TRUE(d.run([&] { return d.saw(Kind::LoaderReady); }));
  ASSERT_FALSE(d.run([&] { return d.saw(Kind::NoPrompt) || d.saw(Kind::SendingStarted); }, 5000));
  EXPECT_EQ(d.session.state(), kDownloadSending);
  d.session.pressStart();
  ASSERT_TRUE(d.run([&] { return d.saw(Kind::TransferDone); }));
}

TEST(DownloadSession, TheWindowsFailuresLeaveItReady) {
  struct Case {
    const char* what;
    vboard::Faults faults;
    bool cancel;
    Kind before;  // seen before the failure
  } cases[] = {
      {"no ack", {.noAckAt = 3}, false, Kind::AckTimeout},
      {"cancelled", {.slowAck = 150}, true, Kind::SendingStarted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Download d(windowOptions());
    d.f.port.addBoard(kPort, "Wrenlet CORE", "WL Loader2520", c.faults);
    d.session.start();
    ASSERT_TRUE(d.run([&] { return d.saw(Kind::Connected); }));
    d.session.pressStart();
    if (c.cancel) {
      ASSERT_TRUE(d.run([&] { return d.session.sending(); }));
      EXPECT_TRUE(d.session.cancelTransfer());
      d.collect();
    }
    ASSERT_TRUE(d.run([&] { return d.saw(Kind::TransferFailed); }));
    EXPECT_TRUE(d.saw(c.before));
    EXPECT_EQ(d.first(Kind::TransferFailed)->cancelled, c.cancel);
    EXPECT_FALSE(d.session.ended());
    EXPECT_EQ(d.session.state(), kDownloadWaiting);
    EXPECT_FALSE(d.f.state.downloadStartEnabled) << "Start stays off until the window shows again";
    EXPECT_FALSE(d.session.cancelTransfer()) << "nothing left to cancel: Cancel closes the window";
  }
}

TEST(DownloadSession, TheWindowAsksWhenThePromptDoesNotComeAndRefusesAWrongLoader) {
  Download silent(windowOptions());
  silent.f.port.addBoard(kPort, "Wrenlet CORE", "WL Loader2520", {.noPrompt = true});
  silent.session.start();
  ASSERT_TRUE(silent.run([&] { return silent.saw(Kind::Connected); }));
  silent.session.pressStart();
  ASSERT_TRUE(silent.run([&] { return silent.saw(Kind::NoPrompt); }));
  EXPECT_FALSE(silent.f.state.downloadStartEnabled);
  silent.session.answerNoPrompt();
  EXPECT_EQ(silent.session.state(), kDownloadIdle);
  EXPECT_TRUE(silent.f.state.downloadStartEnabled);

  Download wrong(windowOptions());
  wrong.f.port.addBoard(kPort, "Wrenlet CORE", "QV7B Loader2620 Ver.3.00");
  wrong.session.start();
  ASSERT_TRUE(wrong.run([&] { return wrong.saw(Kind::Connected); }));
  wrong.session.pressStart();
  ASSERT_TRUE(wrong.run([&] { return wrong.saw(Kind::Refused); }));
  EXPECT_EQ(wrong.first(Kind::Refused)->text, "QV7B Loader2620 Ver.3.00");
  EXPECT_EQ(wrong.written().find(":10"), std::string::npos);
  wrong.session.pressStart();
  EXPECT_FALSE(wrong.run([&] { return wrong.saw(Kind::SendingStarted); }, 3000));

  // Start in state 0 with no board at all: the auto-start check asks at once.
  Download none(windowOptions());
  none.session.startConnected(kDownloadIdle);
  none.session.pressStart();
  ASSERT_TRUE(none.run([&] { return none.saw(Kind::NoPrompt); }, 10000));
}

TEST(DownloadSession, ALineWaitsWhileTheBoardHoldsCtsThenGoes) {
  // RTS control on: every text waits for CTS, bounded, "CTS Hold" in the log; the download
  // completes either way. A short hold from the start (the search and "Reset" wait), and a
  // board that keeps CTS low for good once the image is being sent.
  for (const Millis hold : {Millis{300}, Millis{100000}}) {
    SCOPED_TRACE(hold);
    Download d;
    d.f.settings.RTS_Cont = true;
    d.f.port.addBoard(kPort);
    d.session.start();
    if (hold > BoardLink::kCtsHoldLimit) {
      ASSERT_TRUE(d.run([&] { return d.saw(Kind::SendingStarted); }));
      EXPECT_TRUE(d.f.notices.empty());
    }
    d.f.port.holdCts(d.f.now + hold);
    ASSERT_TRUE(d.runToEnd(10 * 60 * 1000));
    EXPECT_EQ(d.session.outcome(), Outcome::Done) << d.session.message();
    ASSERT_FALSE(d.f.notices.empty());
    EXPECT_EQ(d.f.notices.front(), "CTS Hold");
    const bool bounded = hold > BoardLink::kCtsHoldLimit;
    EXPECT_EQ(std::count(d.f.notices.begin(), d.f.notices.end(), "CTS Hold: sent after 2000 ms") > 0, bounded);
  }
}
