#pragma once
// The program's process end of the control channel: sends the samples, takes the time it is
// given and the controls from outside, and ends the process when the run is over.

#include <cstdint>
#include <string>

#include "sim/SimWire.h"
#include "sim/Simulation.h"

namespace kavel::sim {

class HostChannel : public SimObserver {
 public:
  /// `endUs` 0: no end of time.
  HostChannel(int fd, std::int64_t endUs) : fd_(fd), endUs_(endUs) {}

  void onSample(Simulation& sim) override;

  void sendReady();
  void sendLoadFailed(const std::string& why);
  /// Sends the end of the run and leaves the process (the program's frames are not unwound).
  [[noreturn]] void end(EndKind kind, std::int64_t timeUs, const std::string& text = {});

 private:
  void send(const std::string& bytes);
  /// Reads what has come; waits for something when `block`. Leaves the process when the
  /// client has gone.
  void receive(Simulation& sim, bool block);
  void handle(Simulation& sim, const WireMessage& m);

  int fd_;
  std::int64_t endUs_;
  std::int64_t grantUs_ = 0;
  std::string in_;
};

}  // namespace kavel::sim
