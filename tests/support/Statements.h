#pragma once
// Building statement rows in tests.

#include <string>
#include <utility>

#include "model/Statement.h"

namespace kavel::testing {

inline Statement row(int sno, int cno, int v0, int v1 = 0, int v2 = 0, std::string cmt = {}) {
  Statement s;
  s.sno = sno;
  s.cno = cno;
  s.val0 = v0;
  s.val1 = v1;
  s.val2 = v2;
  s.cmt = std::move(cmt);
  return s;
}

}  // namespace kavel::testing
