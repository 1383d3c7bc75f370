#include "core/editor/RowChange.h"

#include <algorithm>

#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"

namespace kavel {
namespace {

using Rows = std::vector<Statement>;

Rows slice(const Rows& rows, std::size_t first, std::size_t count) {
  return Rows(rows.begin() + static_cast<std::ptrdiff_t>(first),
              rows.begin() + static_cast<std::ptrdiff_t>(first + count));
}

std::size_t heapBytes(const Rows& rows) {
  std::size_t bytes = rows.capacity() * sizeof(Statement);
  for (const Statement& s : rows) {
    // Short comments live inside the string object; only longer ones take heap.
    if (s.cmt.capacity() > std::string().capacity()) bytes += s.cmt.capacity() + 1;
  }
  return bytes;
}

}  // namespace

RowChange rowChange(const Rows& from, const Rows& to) {
  const std::size_t shorter = std::min(from.size(), to.size());
  std::size_t head = 0;
  while (head < shorter && from[head] == to[head]) ++head;
  std::size_t tail = 0;
  while (tail < shorter - head && from[from.size() - 1 - tail] == to[to.size() - 1 - tail]) ++tail;
  RowChange change;
  change.first = head;
  change.before = slice(from, head, from.size() - head - tail);
  change.after = slice(to, head, to.size() - head - tail);
  return change;
}

bool replaceRows(Rows& rows, std::size_t first, const Rows& out, const Rows& in) {
  if (first > rows.size() || out.size() > rows.size() - first) return false;
  if (!std::equal(out.begin(), out.end(), rows.begin() + static_cast<std::ptrdiff_t>(first))) return false;
  const auto at = rows.begin() + static_cast<std::ptrdiff_t>(first);
  const std::size_t common = std::min(out.size(), in.size());
  std::copy(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(common), at);
  if (in.size() > out.size()) {
    rows.insert(at + static_cast<std::ptrdiff_t>(common), in.begin() + static_cast<std::ptrdiff_t>(common), in.end());
  } else {
    rows.erase(at + static_cast<std::ptrdiff_t>(common), at + static_cast<std::ptrdiff_t>(out.size()));
  }
  return true;
}

std::vector<int> subWindowsLeft(const Rows& leaving, const Rows& coming, int windowNumber) {
  std::vector<int> numbers;
  for (const Statement& s : leaving) {
    if (s.sno != kSubCall || s.val0 <= 0 || s.val0 == windowNumber) continue;
    const bool stays = std::any_of(coming.begin(), coming.end(), [&s](const Statement& c) {
      return c.sno == kSubCall && c.val0 == s.val0 && c.cmt == s.cmt;
    });
    if (!stays && std::find(numbers.begin(), numbers.end(), s.val0) == numbers.end()) numbers.push_back(s.val0);
  }
  return numbers;
}

bool callsInterruptRoutine(const Rows& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const Statement& s) {
    return s.cno == kSubCall && s.val0 == ProgramSet::kInterruptSub;
  });
}

std::size_t bytesHeld(const RowChange& change) {
  return sizeof(RowChange) + heapBytes(change.before) + heapBytes(change.after);
}

}  // namespace kavel
