#include "core/model/SubCallRules.h"

#include <algorithm>

#include "core/model/StatementKind.h"

namespace kavel {
namespace {

constexpr int kHighestCallNumber = ProgramSet::kInterruptSub - 1;

bool isCall(const Statement& s) { return s.sno == kSubCall; }
bool validNumber(int n) { return n >= 1 && n <= ProgramSet::kInterruptSub; }

}  // namespace

std::string programNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

SubPick checkSubPick(const std::string& pickedPath, const std::string& mainPath, const std::string& editedName) {
  if (!mainPath.empty() && pickedPath == mainPath) return SubPick::MainAsSub;
  const std::string name = programNameOf(pickedPath);
  if (!editedName.empty() && name == editedName) return SubPick::InsideItself;
  return SubPick::Accepted;
}

bool mainCallsName(const ProgramSet& set, const std::string& name) {
  if (name.empty()) return false;
  const auto& rows = set.main().rows();
  return std::any_of(rows.begin(), rows.end(),
                     [&](const Statement& s) { return isCall(s) && programNameOf(s.cmt) == name; });
}

int subNumberFor(const ProgramSet& set, int inProgram, int row, const std::string& name) {
  const auto& rows = set.main().rows();
  auto counts = [&](std::size_t i) { return isCall(rows[i]) && !(inProgram == 0 && int(i) == row); };
  if (!name.empty()) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (counts(i) && rows[i].cmt == name && validNumber(rows[i].val0)) return rows[i].val0;
    }
  }
  if (inProgram == 0) {
    for (int n = 1; n <= kHighestCallNumber; ++n) {
      bool used = false;
      for (std::size_t i = 0; i < rows.size() && !used; ++i) used = counts(i) && rows[i].val0 == n;
      if (!used) return n;
    }
    return 0;
  }
  int highest = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (counts(i) && rows[i].val0 < ProgramSet::kInterruptSub) highest = std::max(highest, rows[i].val0);
  }
  return highest < kHighestCallNumber ? highest + 1 : 0;
}

SubCallPlan planSubCall(const ProgramSet& set, int inProgram, int row, int oldNumber, const std::string& oldName,
                        int bufferNumber, const std::string& name, bool interrupt, bool edit) {
  SubCallPlan plan;
  if (interrupt) {
    // The interrupt call that stays the interrupt call keeps its window.
    if (validNumber(oldNumber) && oldNumber != ProgramSet::kInterruptSub) plan.closeWindow = oldNumber;
    plan.number = ProgramSet::kInterruptSub;
  } else if (name.empty()) {
    plan.number = subNumberFor(set, inProgram, row, name);
    edit = true;
  } else {
    if (name != oldName || bufferNumber == 0) plan.closeWindow = validNumber(oldNumber) ? oldNumber : 0;
    plan.number = subNumberFor(set, inProgram, row, name);
  }
  plan.openWindow = edit && plan.number > 0;
  plan.readFile = plan.openWindow && !name.empty();
  return plan;
}

}  // namespace kavel
