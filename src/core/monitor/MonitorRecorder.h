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
  MonitorCsv csv_;
};

}  // namespace kavel
