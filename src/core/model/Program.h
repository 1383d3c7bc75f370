#pragma once
// The rows of one program (Main or Sub-N) with the nesting rules that keep them a valid
// block structure, plus what the program set keeps about it (file path, modified flag).

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Statement.h"

namespace kavel {

/// How many rows inserting a statement of `kind` creates (If 3, While and For 2, others 1).
std::size_t rowsCreatedWith(int kind);

class Program {
 public:
  static constexpr std::size_t kMaxRows = 1000;

  explicit Program(int index = 0) : index_(index) {}

  int index() const { return index_; }  // 0 Main, 1..30 Sub-N
  bool isMain() const { return index_ == 0; }

  std::vector<Statement>& rows() { return rows_; }
  const std::vector<Statement>& rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }

  /// Creates one row of `kind` in front of row `at` (at == size() appends) with subject kind
  /// `cno` and empty values, and gives it its level by the creation rule. Returns its index.
  std::size_t createRow(std::size_t at, int kind, int cno = 0);

  /// Creates a row of `kind` and, for If, While and For, the rows that close its block
  /// (If: Else and End; While, For: End). Returns the index of the row of `kind`.
  std::size_t insertStatement(std::size_t at, int kind);

  /// Appends a row read from a file as it stands, with its level by the creation rule.
  void appendRow(Statement row);

  /// Removes `count` rows from `first` and gives the rows that move up their levels again.
  void removeRows(std::size_t first, std::size_t count);

  /// First and last row of the block that starts at `row`: from an If, While or For to the
  /// first following End at its level (or the last row); any other row alone.
  std::pair<std::size_t, std::size_t> blockExtent(std::size_t row) const;

  /// Whether a new row of `kind` may go in front of row `at` (at == size() means appending).
  bool insertionAllowed(std::size_t at, int kind) const;

  void clear() { rows_.clear(); }

  // What the program set keeps about this program.
  bool open = false;
  bool modified = false;
  std::string path;        // the program file, empty while it has none
  std::string titleName = "New";  // the bracketed part of the caption
  std::string statusText;  // the window's third status panel (path or "Can't ... " text)

  /// "Main - [ <name> ]" or "Sub-<N> [ <name> ]".
  std::string caption() const;

 private:
  int levelAtCreation(std::size_t row) const;
  int levelAfterRemoval(std::size_t row) const;

  int index_;
  std::vector<Statement> rows_;
};

}  // namespace kavel
