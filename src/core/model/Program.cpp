#include "core/model/Program.h"

#include <algorithm>

#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

bool closesLevel(int kind) { return kind == kEnd || kind == kElseIf || kind == kElse; }

}  // namespace

std::string Program::caption() const {
  if (isMain()) return text::format("Main - [ %s ]", titleName.c_str());
  return text::format("Sub-%d [ %s ]", index_, titleName.c_str());
}

int Program::levelAtCreation(std::size_t row) const {
  if (row == 0) return 0;
  const Statement& above = rows_[row - 1];
  const int level = above.level + (opensLevel(above.sno) ? 1 : 0) - (closesLevel(rows_[row].sno) ? 1 : 0);
  return std::max(level, 0);
}

int Program::levelAfterRemoval(std::size_t row) const {
  if (row == 0) return 0;
  const Statement& above = rows_[row - 1];
  const int kind = rows_[row].sno;
  if (kind == kEnd) return opensLevel(above.sno) ? above.level : std::max(above.level - 1, 0);
  if (kind == kElseIf || kind == kElse) {
    return (above.sno == kIf || above.sno == kElseIf) ? above.level : std::max(above.level - 1, 0);
  }
  return above.level + (opensLevel(above.sno) ? 1 : 0);
}

std::size_t Program::createRow(std::size_t at, int kind, int cno) {
  at = std::min(at, rows_.size());
  Statement row;
  row.sno = kind;
  row.cno = cno;
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
  rows_[at].level = levelAtCreation(at);
  return at;
}

std::size_t Program::insertStatement(std::size_t at, int kind) {
  at = std::min(at, rows_.size());
  const std::size_t row = createRow(at, kind);
  switch (kind) {
    case kIf:
      createRow(row + 1, kElse);
      createRow(row + 2, kEnd, kClosesIfChain);
      break;
    case kWhile:
      createRow(row + 1, kEnd, kClosesWhile);
      break;
    case kFor:
      createRow(row + 1, kEnd, kClosesFor);
      break;
    default:
      break;
  }
  return row;
}

void Program::appendRow(Statement row) {
  rows_.push_back(std::move(row));
  rows_.back().level = levelAtCreation(rows_.size() - 1);
}

void Program::removeRows(std::size_t first, std::size_t count) {
  if (first >= rows_.size()) return;
  count = std::min(count, rows_.size() - first);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(first),
              rows_.begin() + static_cast<std::ptrdiff_t>(first + count));
  for (std::size_t r = first; r < rows_.size(); ++r) rows_[r].level = levelAfterRemoval(r);
}

std::pair<std::size_t, std::size_t> Program::blockExtent(std::size_t row) const {
  if (row >= rows_.size()) return {row, row};
  const Statement& start = rows_[row];
  if (start.sno != kIf && start.sno != kWhile && start.sno != kFor) return {row, row};
  for (std::size_t r = row + 1; r < rows_.size(); ++r) {
    if (rows_[r].sno == kEnd && rows_[r].level == start.level) return {row, r};
  }
  return {row, rows_.size() - 1};
}

std::size_t rowsCreatedWith(int kind) {
  return kind == kIf ? 3 : (kind == kWhile || kind == kFor) ? 2 : 1;
}

bool Program::insertionAllowed(std::size_t s, int kind) const {
  // Counting the automatic rows keeps a program within what its file can bring back.
  if (rows_.size() + rowsCreatedWith(kind) > kMaxRows) return false;
  if (s >= rows_.size()) {
    switch (kind) {
      case kEnd: case kElseIf: case kElse: case kContinue: case kBreak:
        return false;
      case kSetup:
        return rows_.empty();
      default:
        return true;
    }
  }

  const int level = rows_[s].level;
  // Upwards from s (s included): the first row of this level that is an ElseIf, Else or If.
  auto chainAbove = [&]() -> std::ptrdiff_t {
    for (std::ptrdiff_t r = static_cast<std::ptrdiff_t>(s); r >= 0; --r) {
      const Statement& row = rows_[static_cast<std::size_t>(r)];
      if (row.level == level && (row.sno == kElseIf || row.sno == kElse || row.sno == kIf)) return r;
    }
    return -1;
  };

  switch (kind) {
    case kElseIf: {
      bool closerBelow = false;
      for (std::size_t r = s; r < rows_.size() && !closerBelow; ++r) {
        const Statement& row = rows_[r];
        closerBelow = row.level == level && (row.sno == kEnd || row.sno == kElseIf || row.sno == kElse);
      }
      if (!closerBelow) return false;
      const std::ptrdiff_t found = chainAbove();
      if (found < 0) return false;
      const int foundKind = rows_[static_cast<std::size_t>(found)].sno;
      const bool atS = static_cast<std::size_t>(found) == s;
      if (foundKind == kElseIf) return true;
      if (foundKind == kElse) return atS;
      return !atS;  // If
    }
    case kElse: {
      // Downwards: the chain must end in an End, not run into an ElseIf or Else of its own.
      bool endFirst = false;
      for (std::size_t r = s; r < rows_.size(); ++r) {
        const Statement& row = rows_[r];
        if (row.level != level) continue;
        if (row.sno == kElseIf || row.sno == kElse) return false;
        if (row.sno == kEnd) {
          endFirst = true;
          break;
        }
      }
      if (!endFirst) return false;
      const std::ptrdiff_t found = chainAbove();
      if (found < 0) return false;
      const int foundKind = rows_[static_cast<std::size_t>(found)].sno;
      if (foundKind == kElseIf) return true;
      if (foundKind == kElse) return false;
      return static_cast<std::size_t>(found) != s;  // If
    }
    case kContinue:
    case kBreak: {
      bool endBelow = false;
      for (std::size_t r = s; r < rows_.size() && !endBelow; ++r) endBelow = rows_[r].sno == kEnd;
      if (!endBelow) return false;
      for (std::ptrdiff_t r = static_cast<std::ptrdiff_t>(s); r >= 0; --r) {
        const int k = rows_[static_cast<std::size_t>(r)].sno;
        if (k == kWhile || k == kFor) return static_cast<std::size_t>(r) != s;
      }
      return false;
    }
    case kSetup:
      return s == 0 && rows_[0].sno != kSetup;
    default:
      return true;
  }
}

}  // namespace kavel
