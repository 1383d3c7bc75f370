#include "core/model/SubCallNames.h"

#include <algorithm>

#include "core/model/StatementKind.h"

namespace kavel {

std::vector<int> otherSubsCallingFile(const Program& main, int sub, const std::string& file) {
  std::vector<int> others;
  for (const Statement& s : main.rows()) {
    if (s.sno != kSubCall || s.cmt != file || s.val0 == sub) continue;
    if (std::find(others.begin(), others.end(), s.val0) == others.end()) others.push_back(s.val0);
  }
  return others;
}

bool nameSubCalls(Program& main, int sub, const std::string& file) {
  bool changed = false;
  for (Statement& s : main.rows()) {
    if (s.sno != kSubCall || s.val0 != sub || s.cmt == file) continue;
    s.cmt = file;
    changed = true;
  }
  return changed;
}

}  // namespace kavel
