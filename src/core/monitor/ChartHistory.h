#pragma once
// The recent readings of the ten connectors that the sensor monitor's live chart draws: a ring
// of fixed capacity, allocated once, so a monitor left running for hours holds no more than it
// did after its first minute.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavel {

class ChartHistory {
 public:
  static constexpr std::size_t kConnectors = 10;
  /// How far back the chart looks.
  static constexpr std::int64_t kWindowMs = 30000;
  /// Room for 30 s of reports at up to about 130 a second; the board sends 10 to 50.
  static constexpr std::size_t kDefaultCapacity = 4096;

  struct Sample {
    std::int64_t atMs = 0;
    std::array<std::optional<double>, kConnectors> value{};  // none: nothing to draw (the "--")
  };

  /// `capacity` is at least 2.
  explicit ChartHistory(std::size_t capacity = kDefaultCapacity);

  /// Adds the readings of one report. Once the ring is full the oldest sample goes. A time
  /// earlier than the newest sample's is taken as that time, so the samples stay in order.
  void add(std::int64_t atMs, const std::array<std::optional<double>, kConnectors>& values);
  void clear();

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return ring_.size(); }
  /// Sample `i`, 0 the oldest kept; `i` < size().
  const Sample& at(std::size_t i) const { return ring_[(head_ + i) % ring_.size()]; }
  /// Time of the newest sample; none when empty.
  std::optional<std::int64_t> newest() const;
  /// Index of the first sample at or after `fromMs` (size() when there is none).
  std::size_t firstAtOrAfter(std::int64_t fromMs) const;

  struct Range {
    double low;
    double high;
  };
  /// Lowest and highest value of connector `c` (0-based) from `fromMs` on; none when the
  /// connector has no value there.
  std::optional<Range> range(std::size_t c, std::int64_t fromMs) const;

 private:
  std::vector<Sample> ring_;
  std::size_t head_ = 0;  // index of the oldest sample
  std::size_t size_ = 0;
};

}  // namespace kavel
