#pragma once
// Writes the sensor reports into a CSV file as they arrive. A failed write never stops the
// monitor: it comes back as an error text for the window to show, and the recorder stops.

#include <string>

#include "core/monitor/MonitorCsv.h"

namespace kavel {

class MonitorRecorder {
 public:
  MonitorRecorder() = default;
  ~MonitorRecorder();
  MonitorRecorder(const MonitorRecorder&) = delete;
  MonitorRecorder& operator=(const MonitorRecorder&) = delete;

  /// Creates (or empties) `path` and writes the header. False with `error()` set when the file
  /// cannot be created or written; nothing is recording then.
  bool open(const std::string& path);

  /// Appends the row of `report`. False with `error()` set when the write failed; the file is
  /// closed then and later calls do nothing and return false.
  bool append(const MonitorReport& report, Millis now);

  /// Closes the file; the rows written so far stay.
  void close();

  bool recording() const { return fd_ >= 0; }
  /// The stream that brings the reports was stopped (a module window is open): the file stays
  /// open and takes the rows again once the stream runs.
  void pause() { paused_ = recording(); }
  void resume() { paused_ = false; }
  bool paused() const { return paused_; }
  const std::string& path() const { return path_; }
  /// Why the last open or write failed, naming the file: "Can't write /x.csv: No space left ...".
  const std::string& error() const { return error_; }
  /// Rows written since `open`.
  long rows() const { return rows_; }

 private:
  bool write(const std::string& bytes);

  int fd_ = -1;
  std::string path_;
  std::string error_;
  long rows_ = 0;
  bool paused_ = false;
  MonitorCsv csv_;
};

/// The status line while a recording waits for the stream, naming the file, in `language`
/// (0 Japanese, else English).
std::string recordingPausedText(const std::string& path, int language);

/// The note when the stream runs again and rows are added once more.
std::string recordingResumedText(const std::string& path, int language);

}  // namespace kavel
