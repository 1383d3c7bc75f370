#pragma once
// Runs a compiled program on the simulated robot in a child process and drives it: starts the
// run, paces it (a real-time factor, or as fast as the machine allows), pauses and steps it,
// hands it the game pad and the monitor's controls, delivers a snapshot every 10 ms of
// simulated time and tells how the run ended. A crash or an endless loop in the program ends
// the child, never the caller. No waiting of its own: the caller pumps it (a console loop, or
// a window's timer and socket notifier on socket()).

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

#include "sim/GamePad.h"
#include "sim/RunPlan.h"
#include "sim/Snapshot.h"

namespace kavel::sim {

struct SimLaunch {
  std::string hostProgram;  // kavel-simhost
  std::string runFolder;    // holds the compiled program; the run file is written there
  RunPlan plan;
};

enum class SimEnd {
  None,        // still running
  Returned,    // user_main returned
  TimeUp,      // the simulated time of the run was used up
  Stopped,     // stop() ended it
  Crashed,     // the program crashed; the message says how
  Stalled,     // no simulated time passed for stallLimit of wall time
  LoadFailed,  // the program could not be loaded (an undefined function ...)
  Lost,        // the child ended or talked in a way it never should
};

struct SimOutcome {
  SimEnd end = SimEnd::None;
  std::int64_t timeUs = 0;  // the simulated time it ended at
  std::string message;      // for Crashed, Stalled, LoadFailed and Lost: what happened
};

class SimClient {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  explicit SimClient(Clock clock = {});
  ~SimClient();
  SimClient(const SimClient&) = delete;
  SimClient& operator=(const SimClient&) = delete;

  /// Writes the run file and starts the child, paused at time 0. False with `error` set when it
  /// could not start.
  bool start(const SimLaunch& launch, std::string& error);

  /// Simulated seconds per wall second; 0 or less: as fast as the machine allows.
  void setSpeed(double factor);
  void run();
  void pause();
  /// While paused: 10 ms more.
  void step();
  bool paused() const { return paused_; }

  void setPad(const PadState& pad);
  void setOutput(int cn, bool high);
  void setLed(int n, bool on);
  void setServo(int cn, int microseconds);
  /// Ends the run at once (the outcome is Stopped unless it had already ended).
  void stop();

  /// Reads what the child sent (snapshots go to onSnapshot), gives it time as the pace says
  /// and watches for a stall; returns after at most `wait` when nothing happens.
  void pump(std::chrono::milliseconds wait);

  bool finished() const { return outcome_.end != SimEnd::None; }
  const SimOutcome& outcome() const { return outcome_; }
  /// The time of the latest snapshot.
  std::int64_t timeUs() const { return childTime_; }
  /// The channel to watch for reading; -1 when no child runs.
  int socket() const { return fd_; }

  std::function<void(const SimSnapshot&)> onSnapshot;
  /// Wall time without simulated time passing after which a running program counts as stalled.
  std::chrono::milliseconds stallLimit{2000};
  /// Wall time the child may take to load the program.
  std::chrono::milliseconds startLimit{10000};

 private:
  void send(const std::string& bytes);
  void flush();
  void receive();
  void handle(std::uint8_t type, const std::string& payload);
  void grant();
  void watch();
  void finish(SimEnd end, std::int64_t timeUs, std::string message);
  void reap(bool kill);
  std::chrono::steady_clock::time_point now() const;

  Clock clock_;
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string in_;
  std::string out_;
  SimOutcome outcome_;
  bool ready_ = false;
  bool paused_ = true;
  bool waiting_ = false;        // the child has used all its time
  double speed_ = 1.0;
  std::int64_t childTime_ = 0;
  std::int64_t granted_ = 0;
  std::int64_t anchorSim_ = 0;
  std::chrono::steady_clock::time_point anchorWall_{};
  std::chrono::steady_clock::time_point startedAt_{};
  std::chrono::steady_clock::time_point lastProgress_{};
};

/// "1.23 s" for a simulated time.
std::string simTimeText(std::int64_t timeUs);

}  // namespace kavel::sim
