#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/comm/HexFile.h"
#include "core/comm/HexSender.h"
#include "core/comm/LinkState.h"

using namespace kavel;

namespace {

// Records at 0x0000, 0x0800, 0x0010, then the end record and a line after it.
const char* kImage =
    ":0100000001FE\n"
    ":0108000002F5\n"
    ":0100100003EC\n"
    ":00000001FF\n";

/// Drives a sender against a scripted board: `answer(lineIndex)` says what the board does with
/// each line (ack after some ms, say an error, or stay silent).
struct Board {
  enum Kind { Ack, Error, Silent };
  std::function<std::pair<Kind, int>(int)> answer = [](int) { return std::make_pair(Ack, 0); };
};

struct Transfer {
  HexSender::Step end;
  std::vector<std::string> sent;
  std::vector<Millis> sentAt;
  std::vector<std::string> addresses;
  Millis endedAt = 0;
  bool ackTimedOut = false;
};

Transfer drive(const HexFile& image, int sendTout, int ackTout, const Board& board) {
  LinkState state;
  state.downloadState = kDownloadSending;
  HexSender sender(image, sendTout, ackTout);
  Transfer run;
  Millis now = 1000;
  sender.start(now, state);
  Millis answerAt = kNoDeadline;
  Board::Kind answerKind = Board::Ack;
  for (int guard = 0; guard < 10000; ++guard) {
    if (now >= answerAt) {
      if (answerKind == Board::Ack) state.AckFlag = true;
      if (answerKind == Board::Error) state.AbortFlag = true;
      answerAt = kNoDeadline;
    }
    const HexSender::Step s = sender.step(now, state);
    if (run.addresses.empty() || run.addresses.back() != sender.highestAddressText()) {
      run.addresses.push_back(sender.highestAddressText());
    }
    if (s == HexSender::Step::Finished || s == HexSender::Step::Failed) {
      run.end = s;
      run.endedAt = now;
      run.ackTimedOut = sender.ackTimedOut();
      return run;
    }
    if (s == HexSender::Step::Send) {
      run.sent.push_back(sender.line());
      run.sentAt.push_back(now);
      const auto [kind, delay] = board.answer(static_cast<int>(run.sent.size()));
      answerKind = kind;
      answerAt = kind == Board::Silent ? kNoDeadline : now + delay;
      sender.sent(now, state, true);
      continue;
    }
    now = std::min(sender.nextDeadline(), answerAt);
  }
  ADD_FAILURE() << "the sender never ended";
  return run;
}

HexFile image(const std::string& text) {
  const HexReadResult r = parseHexFile(text);
  EXPECT_TRUE(r.ok) << r.error;
  return r.image;
}

}  // namespace

TEST(HexSender, SendsEveryLineAsSoonAsThePreviousIsAcknowledged) {
  const HexFile hex = image(kImage);
  Board board;
  board.answer = [](int) { return std::make_pair(Board::Ack, 3); };
  const Transfer run = drive(hex, 0, 500, board);
  EXPECT_EQ(run.end, HexSender::Step::Finished);
  EXPECT_EQ(run.sent, (std::vector<std::string>{":0100000001FE", ":0108000002F5", ":0100100003EC", ":00000001FF"}));
  EXPECT_EQ(run.sentAt, (std::vector<Millis>{1000, 1003, 1006, 1009}));
  // 0x0000 shows nothing, 0x0800 shows, 0x0010 changes nothing.
  EXPECT_EQ(run.addresses, (std::vector<std::string>{"", " 0x0800"}));
}

TEST(HexSender, PausesSendToutBeforeEachLine) {
  const Transfer run = drive(image(kImage), 20, 500, Board{});
  EXPECT_EQ(run.sentAt, (std::vector<Millis>{1020, 1040, 1060, 1080}));
}

TEST(HexSender, SilentBoardStopsAfterAckTout) {
  Board board;
  board.answer = [](int n) { return std::make_pair(n == 2 ? Board::Silent : Board::Ack, 0); };
  const Transfer run = drive(image(kImage), 0, 500, board);
  EXPECT_EQ(run.end, HexSender::Step::Failed);
  EXPECT_TRUE(run.ackTimedOut);
  EXPECT_EQ(run.sent.size(), 2u);
  EXPECT_EQ(run.endedAt, 1000 + 501);
}

TEST(HexSender, ErrorLineStopsAtOnce) {
  Board board;
  board.answer = [](int n) { return std::make_pair(n == 3 ? Board::Error : Board::Ack, 5); };
  const Transfer run = drive(image(kImage), 0, 500, board);
  EXPECT_EQ(run.end, HexSender::Step::Failed);
  EXPECT_FALSE(run.ackTimedOut);
  EXPECT_EQ(run.sent.size(), 3u);
  EXPECT_EQ(run.endedAt, 1000 + 5 + 5 + 5);
}

TEST(HexSender, StopsAfterTheFirstRecordWithoutData) {
  const Transfer run = drive(image(":0100000001FE\n:00000000" "00\n:0100100003EC\n:00000001FF\n"), 0, 500, Board{});
  EXPECT_EQ(run.end, HexSender::Step::Finished);
  EXPECT_EQ(run.sent.size(), 2u);
}

TEST(HexSender, CancelAndFailedSendsStop) {
  const HexFile hex = image(kImage);
  LinkState state;
  HexSender sender(hex, 0, 500);
  sender.start(0, state);
  ASSERT_EQ(sender.step(0, state), HexSender::Step::Send);
  sender.sent(0, state, true);
  state.downloadCancel = true;
  EXPECT_EQ(sender.step(1, state), HexSender::Step::Failed);

  LinkState other;
  HexSender failing(hex, 0, 500);
  failing.start(0, other);
  ASSERT_EQ(failing.step(0, other), HexSender::Step::Send);
  failing.sent(0, other, false);
  EXPECT_EQ(failing.step(0, other), HexSender::Step::Failed);
  EXPECT_TRUE(other.AbortFlag);
}
