#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/comm/LineAssembler.h"
#include "core/comm/LinkState.h"

using namespace kavel;

namespace {

struct Chunk {
  Millis at;
  std::string bytes;  // empty: only the idle check at `at`
};

struct Result {
  std::vector<std::string> lines;
  int answers = 0;
  bool ack = false;
  int state = 0;
};

Result assemble(const std::vector<Chunk>& chunks, LinkState state, int delimiterCode = 4) {
  Result r;
  LineAssembler a(delimiterCode, 100);
  LineAssembler::Sinks sinks;
  sinks.line = [&](const std::string& l) { r.lines.push_back(l); };
  sinks.answerUpdate = [&] { ++r.answers; };
  a.start(0);
  for (const Chunk& c : chunks) {
    if (!c.bytes.empty()) a.feed(c.bytes, c.at, state, sinks);
    a.tick(c.at, sinks);
  }
  r.ack = state.AckFlag;
  r.state = state.downloadState;
  return r;
}

LinkState sending() {
  LinkState s;
  s.downloadState = kDownloadSending;
  return s;
}

LinkState downloadShown(int downloadState, bool startEnabled = true) {
  LinkState s;
  s.downloadVisible = true;
  s.downloadStartEnabled = startEnabled;
  s.downloadState = downloadState;
  return s;
}

}  // namespace

TEST(LineAssembler, CutsLines) {
  const std::string big(5000, 'x');
  struct Case {
    const char* what;
    std::vector<Chunk> chunks;
    LinkState state;
    int delimiterCode;
    std::vector<std::string> lines;
  } cases[] = {
      {"CR LF ends a line", {{0, "AB\r\n"}}, {}, 4, {"AB"}},
      {"a lone CR LF", {{0, "\r\n"}}, {}, 4, {"<CRLF>"}},
      {"split over reads", {{0, "A"}, {10, "B\r"}, {20, "\nC\r\n"}}, {}, 4, {"AB", "C"}},
      {"idle cut after more than RecvTout", {{0, "AB"}, {100, ""}, {101, ""}}, {}, 4, {"AB"}},
      {"no cut at exactly RecvTout", {{0, "AB"}, {100, ""}}, {}, 4, {}},
      {"idle time counts from the last byte", {{0, "A"}, {90, "B"}, {150, ""}, {191, ""}}, {}, 4, {"AB"}},
      {"a lone LF is data", {{0, "A\nB\r\n"}}, {}, 4, {"A\nB"}},
      {"CR only ends by the time-out", {{0, "AB\rCD\r"}, {200, ""}}, {}, 2, {"AB\rCD\r"}},
      {"ETX ends a line with the ETX setting", {{0, "AB\x03" "C\r\n"}}, {}, 1, {"AB\x03", "C"}},
      {"ETX is data otherwise", {{0, "AB\x03" "C\r\n"}}, {}, 4, {"AB\x03" "C"}},
      {"NUL bytes never reach a line", {{0, std::string("A\0B\0\r\n", 6)}}, {}, 4, {"AB"}},
      {"a dot is data unless sending", {{0, "1.5\r\n"}}, {}, 4, {"1.5"}},
      {"a dot while sending is an ack", {{0, "ab.cd\r\n"}}, sending(), 4, {"cd"}},
      {"long lines are cut at 4097 bytes", {{0, big}, {500, ""}}, {}, 4, {big.substr(0, 4097), big.substr(4097)}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(assemble(c.chunks, c.state, c.delimiterCode).lines, c.lines) << c.what;
  }
}

TEST(LineAssembler, DotsAcknowledgeOnlyWhileSending) {
  EXPECT_TRUE(assemble({{0, "."}}, sending()).ack);
  EXPECT_FALSE(assemble({{0, "."}}, downloadShown(kDownloadWaiting)).ack);
  EXPECT_FALSE(assemble({{0, "."}}, {}).ack);
}

TEST(LineAssembler, AnswersTheUpdateQuestion) {
  struct Case {
    const char* what;
    LinkState state;
    std::string bytes;
    int answers;
    int stateAfter;
    std::vector<std::string> lines;
  } cases[] = {
      {"waiting for the loader", downloadShown(kDownloadWaiting), "Update?(y/n):", 1, 1, {"Update?(y/n):"}},
      {"idle window becomes waiting", downloadShown(kDownloadIdle), "Update?(y/n):", 1, 1, {"Update?(y/n):"}},
      {"start button disabled", downloadShown(kDownloadWaiting, false), "Update?(y/n):", 0, 1, {}},
      {"window hidden", LinkState{}, "Update?(y/n):", 0, 0, {}},
      {"while sending", downloadShown(kDownloadSending), "Update?(y/n):", 0, 2, {}},
      {"not at the line's start", downloadShown(kDownloadWaiting), "xUpdate?(y/n):", 0, 1, {}},
      {"other colons", downloadShown(kDownloadWaiting), "CN1:5\r\n", 0, 1, {"CN1:5"}},
  };
  for (const Case& c : cases) {
    const Result r = assemble({{0, c.bytes}}, c.state);
    EXPECT_EQ(r.answers, c.answers) << c.what;
    EXPECT_EQ(r.state, c.stateAfter) << c.what;
    EXPECT_EQ(r.lines, c.lines) << c.what;
  }
}

TEST(LineAssembler, DeadlineOnlyWithPendingBytes) {
  LineAssembler a(4, 100);
  LinkState state;
  a.start(0);
  EXPECT_EQ(a.nextDeadline(), kNoDeadline);
  a.feed("AB", 40, state, {});
  EXPECT_EQ(a.nextDeadline(), 141);
}
