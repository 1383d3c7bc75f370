#include "core/monitor/MonitorRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kavel {

MonitorRecorder::~MonitorRecorder() { close(); }

bool MonitorRecorder::open(const std::string& path) {
  close();
  path_ = path;
  error_.clear();
  rows_ = 0;
  csv_.restart();
  // Never waits: a pipe nobody reads fails at once instead of hanging the monitor.
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
  if (fd_ < 0) {
    error_ = "Can't create " + path + ": " + std::strerror(errno);
    return false;
  }
  return write(MonitorCsv::header());
}

bool MonitorRecorder::append(const MonitorReport& report, Millis now) {
  if (fd_ < 0) return false;
  if (!write(csv_.row(report, now))) return false;
  ++rows_;
  return true;
}

void MonitorRecorder::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  paused_ = false;
}

std::string recordingPausedText(const std::string& path, int language) {
  return language == 0 ? "記録を一時停止中: センサーの送信が止まっています (" + path + ")"
                       : "Recording paused: the sensor stream is stopped (" + path + ")";
}

std::string recordingResumedText(const std::string& path, int language) {
  return language == 0 ? "記録を再開しました (" + path + ")" : "Recording resumed (" + path + ")";
}

bool MonitorRecorder::write(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = "Can't write " + path_ + ": " + std::strerror(n < 0 ? errno : ENOSPC);
      close();
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace kavel
