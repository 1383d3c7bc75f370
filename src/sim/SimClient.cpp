#include "sim/SimClient.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>
#include <vector>

#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "sim/RobotModel.h"
#include "sim/SimWire.h"

extern char** environ;

namespace kavel::sim {
namespace {

constexpr int kChildChannel = 3;
// Real-time runs are given time in steps this far ahead of the clock, so the child is never
// starved between two pumps.
constexpr std::int64_t kLeadUs = 20000;

std::string signalText(int signal) {
  const char* name = ::sigabbrev_np(signal);
  return name ? std::string("SIG") + name : "signal " + std::to_string(signal);
}

}  // namespace

std::string simTimeText(std::int64_t timeUs) { return text::format("%.2f s", static_cast<double>(timeUs) / 1e6); }

SimClient::SimClient(Clock clock) : clock_(std::move(clock)) {}

SimClient::~SimClient() { reap(true); }

std::chrono::steady_clock::time_point SimClient::now() const {
  return clock_ ? clock_() : std::chrono::steady_clock::now();
}

bool SimClient::start(const SimLaunch& launch, std::string& error) {
  if (pid_ > 0) {
    error = "a simulation is already running";
    return false;
  }
  const std::string folder = launch.runFolder.back() == '/' ? launch.runFolder : launch.runFolder + "/";
  if (!text::writeFileAtomic(folder + kRunPlanFile, runPlanToJson(launch.plan), &error)) return false;

  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
    error = std::string("cannot make the simulation's channel: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pair[1], kChildChannel);
  // Its own process group, so whatever the program may start goes with it; default signals.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGCHLD}) sigaddset(&defaults, s);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv{const_cast<char*>(launch.hostProgram.c_str()), const_cast<char*>(folder.c_str()), nullptr};
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, launch.hostProgram.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(pair[1]);
  if (rc != 0) {
    ::close(pair[0]);
    error = "cannot start the simulation runtime " + launch.hostProgram + ": " + std::strerror(rc);
    return false;
  }
  ::fcntl(pair[0], F_SETFL, ::fcntl(pair[0], F_GETFL) | O_NONBLOCK);
  pid_ = pid;
  fd_ = pair[0];
  startedAt_ = lastProgress_ = now();
  return true;
}

void SimClient::send(const std::string& bytes) {
  if (fd_ < 0) return;
  out_ += bytes;
  flush();
}

void SimClient::flush() {
  while (fd_ >= 0 && !out_.empty()) {
    const ssize_t n = ::send(fd_, out_.data(), out_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // full (sent later) or gone (seen when reading)
    out_.erase(0, static_cast<std::size_t>(n));
  }
}

void SimClient::setSpeed(double factor) {
  speed_ = factor;
  anchorSim_ = childTime_;
  anchorWall_ = now();
}

void SimClient::run() {
  if (!paused_) return;
  paused_ = false;
  anchorSim_ = childTime_;
  anchorWall_ = now();
  grant();
}

void SimClient::pause() {
  if (paused_) return;
  paused_ = true;
  // The child stops at its next 10 ms; what it was given beyond that is taken back.
  granted_ = childTime_;
  send(WireWriter().i64(granted_).frame(static_cast<std::uint8_t>(ClientMessage::Grant)));
}

void SimClient::step() {
  if (!paused_ || finished()) return;
  granted_ = std::max(granted_, childTime_) + kSampleStepUs;
  send(WireWriter().i64(granted_).frame(static_cast<std::uint8_t>(ClientMessage::Grant)));
  if (waiting_) {
    waiting_ = false;
    lastProgress_ = now();
  }
}

void SimClient::setPad(const PadState& pad) { send(encodePad(pad)); }

void SimClient::setOutput(int cn, bool high) {
  send(WireWriter().i32(cn).i32(high ? 1 : 0).frame(static_cast<std::uint8_t>(ClientMessage::SetOutput)));
}

void SimClient::setLed(int n, bool on) {
  send(WireWriter().i32(n).i32(on ? 1 : 0).frame(static_cast<std::uint8_t>(ClientMessage::SetLed)));
}

void SimClient::setServo(int cn, int microseconds) {
  send(WireWriter().i32(cn).i32(microseconds).frame(static_cast<std::uint8_t>(ClientMessage::SetServo)));
}

void SimClient::stop() {
  if (finished()) {
    reap(true);
    return;
  }
  reap(true);
  finish(SimEnd::Stopped, childTime_, {});
}

void SimClient::grant() {
  if (!ready_ || paused_ || finished()) return;
  std::int64_t target = LLONG_MAX;
  if (speed_ > 0) {
    const auto wall = std::chrono::duration_cast<std::chrono::microseconds>(now() - anchorWall_).count();
    target = anchorSim_ + static_cast<std::int64_t>(static_cast<double>(wall) * speed_) + kLeadUs;
    target -= target % kSampleStepUs;
  }
  if (target <= granted_) return;
  granted_ = target;
  send(WireWriter().i64(granted_).frame(static_cast<std::uint8_t>(ClientMessage::Grant)));
  if (waiting_ && granted_ > childTime_) {
    waiting_ = false;
    lastProgress_ = now();
  }
}

void SimClient::finish(SimEnd end, std::int64_t timeUs, std::string message) {
  if (finished()) return;
  outcome_.end = end;
  outcome_.timeUs = timeUs;
  outcome_.message = std::move(message);
}

void SimClient::reap(bool kill) {
  if (pid_ > 0) {
    if (kill) ::kill(-pid_, SIGKILL);
    int status = 0;
    pid_t done = -1;
    // A child that said its last word leaves at once; one that does not is made to.
    for (int i = 0; i < 200; ++i) {
      done = ::waitpid(pid_, &status, WNOHANG);
      if (done != 0 && !(done < 0 && errno == EINTR)) break;
      if (i == 100) ::kill(-pid_, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (done == 0) {
      ::kill(-pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    if (!kill && !finished()) {
      if (WIFSIGNALED(status)) {
        finish(SimEnd::Crashed, childTime_,
               "the simulation ended with " + signalText(WTERMSIG(status)) + " without saying why");
      } else {
        finish(SimEnd::Lost, childTime_,
               "the simulation ended with exit status " + std::to_string(WEXITSTATUS(status)) + " without saying why");
      }
    }
    pid_ = -1;
  }
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

void SimClient::handle(std::uint8_t type, const std::string& payload) {
  WireReader r(payload);
  switch (static_cast<HostMessage>(type)) {
    case HostMessage::Ready:
      ready_ = true;
      lastProgress_ = now();
      grant();
      return;
    case HostMessage::LoadFailed:
      finish(SimEnd::LoadFailed, 0, r.text());
      return;
    case HostMessage::Sample: {
      SimSnapshot s;
      if (!decodeSnapshot(payload, s)) break;
      childTime_ = s.timeUs;
      lastProgress_ = now();
      if (onSnapshot) onSnapshot(s);
      return;
    }
    case HostMessage::Waiting: {
      const std::int64_t t = r.i64();
      if (!r.ok()) break;
      childTime_ = t;
      // Time granted after the child wrote this is on its way: it will go on.
      waiting_ = granted_ <= t;
      lastProgress_ = now();
      return;
    }
    case HostMessage::Ended: {
      const auto kind = static_cast<EndKind>(r.u8());
      const std::int64_t t = r.i64();
      std::string text = r.text();
      if (!r.ok()) break;
      const SimEnd end = kind == EndKind::Returned ? SimEnd::Returned
                         : kind == EndKind::TimeUp ? SimEnd::TimeUp
                                                   : SimEnd::Crashed;
      finish(end, t, std::move(text));
      return;
    }
  }
  finish(SimEnd::Lost, childTime_, "the simulation sent a message that cannot be read; the run was stopped");
}

void SimClient::receive() {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return;  // nothing more for now
    if (n == 0) {
      // The child has gone: whatever it said last is in, so the end it told (if any) stands.
      reap(false);
      return;
    }
    in_.append(buffer, static_cast<std::size_t>(n));
    WireMessage m;
    bool broken = false;
    while (!finished() && takeMessage(in_, m, broken)) handle(m.type, m.payload);
    if (broken) finish(SimEnd::Lost, childTime_, "the simulation's messages broke off; the run was stopped");
    if (finished()) {
      reap(outcome_.end == SimEnd::Lost);
      return;
    }
  }
}

void SimClient::watch() {
  if (finished() || pid_ < 0) return;
  const auto t = now();
  if (!ready_ && t - startedAt_ > startLimit) {
    reap(true);
    finish(SimEnd::Lost, 0, "the simulation did not start within " + std::to_string(startLimit.count() / 1000) + " s");
    return;
  }
  const bool expecting = ready_ && granted_ > childTime_ && !waiting_;
  if (expecting && t - lastProgress_ > stallLimit) {
    reap(true);
    finish(SimEnd::Stalled, childTime_,
           text::format("no simulated time passed for %.0f s of wall time: the program runs in a loop that calls no "
                        "firmware function (no motor, wait_ms, gAD[] read ...), so the board would hang there too",
                        std::chrono::duration<double>(stallLimit).count()));
  }
}

void SimClient::pump(std::chrono::milliseconds wait) {
  if (fd_ < 0) return;
  auto timeout = wait;
  if (ready_ && !paused_ && speed_ > 0) timeout = std::min(timeout, std::chrono::milliseconds(5));
  const auto sinceProgress = std::chrono::duration_cast<std::chrono::milliseconds>(now() - lastProgress_);
  timeout = std::clamp(std::min(timeout, stallLimit - sinceProgress + std::chrono::milliseconds(1)),
                       std::chrono::milliseconds(0), wait);
  pollfd p{fd_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0};
  if (::poll(&p, 1, static_cast<int>(timeout.count())) > 0) {
    if (p.revents & POLLOUT) flush();
    if (p.revents & (POLLIN | POLLHUP | POLLERR)) receive();
  }
  if (fd_ < 0) return;
  grant();
  watch();
}

}  // namespace kavel::sim
