#include "core/monitor/ChartHistory.h"

#include <algorithm>

namespace kavel {

ChartHistory::ChartHistory(std::size_t capacity) : ring_(std::max<std::size_t>(capacity, 2)) {}

void ChartHistory::add(std::int64_t atMs, const std::array<std::optional<double>, kConnectors>& values) {
  if (size_ > 0) atMs = std::max(atMs, at(size_ - 1).atMs);
  Sample* slot;
  if (size_ < ring_.size()) {
    slot = &ring_[(head_ + size_) % ring_.size()];
    ++size_;
  } else {
    slot = &ring_[head_];
    head_ = (head_ + 1) % ring_.size();
  }
  slot->atMs = atMs;
  slot->value = values;
}

void ChartHistory::clear() {
  head_ = 0;
  size_ = 0;
}

std::optional<std::int64_t> ChartHistory::newest() const {
  if (size_ == 0) return std::nullopt;
  return at(size_ - 1).atMs;
}

std::size_t ChartHistory::firstAtOrAfter(std::int64_t fromMs) const {
  // Samples are in time order: a binary search over the ring's logical indexes.
  std::size_t lo = 0, hi = size_;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (at(mid).atMs < fromMs) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

std::optional<ChartHistory::Range> ChartHistory::range(std::size_t c, std::int64_t fromMs) const {
  if (c >= kConnectors) return std::nullopt;
  std::optional<Range> r;
  for (std::size_t i = firstAtOrAfter(fromMs); i < size_; ++i) {
    const std::optional<double>& v = at(i).value[c];
    if (!v) continue;
    if (!r) {
      r = Range{*v, *v};
    } else {
      r->low = std::min(r->low, *v);
      r->high = std::max(r->high, *v);
    }
  }
  return r;
}

}  // namespace kavel
