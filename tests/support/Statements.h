#pragma once
// Building statement rows in tests.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Program.h"
#include "core/model/Statement.h"

namespace kavel::testing {

inline Statement row(int sno, int cno, int v0 = 0, int v1 = 0, int v2 = 0, std::string cmt = {}) {
  Statement s;
  s.sno = sno;
  s.cno = cno;
  s.val0 = v0;
  s.val1 = v1;
  s.val2 = v2;
  s.cmt = std::move(cmt);
  return s;
}

/// A program built row by row as the file reader does (levels by the creation rule).
inline Program programOf(std::initializer_list<Statement> rows) {
  Program p;
  for (const Statement& s : rows) p.appendRow(s);
  return p;
}

inline std::vector<int> kinds(const Program& p) {
  std::vector<int> out;
  for (const auto& r : p.rows()) out.push_back(r.sno);
  return out;
}

inline std::vector<int> levels(const Program& p) {
  std::vector<int> out;
  for (const auto& r : p.rows()) out.push_back(r.level);
  return out;
}

}  // namespace kavel::testing
