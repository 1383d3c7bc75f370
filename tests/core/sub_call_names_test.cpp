#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Statements.h"
#include "core/model/StatementKind.h"
#include "core/model/SubCallNames.h"

using namespace kavel;
using kavel::testing::programOf;
using kavel::testing::row;

TEST(SubCallNames, OpeningAndSavingASub) {
  const Program main = programOf({row(kSubCall, kSubCall, 2, 0, 0, "Grab"), row(kWait, kWait, 10, 0, 0, "Grab"),
                                  row(kSubCall, kSubCall, 3, 0, 0, "Grab"), row(kSubCall, kSubCall, 4, 0, 0, "Lift"),
                                  row(kSubCall, kSubCall, 2, 0, 0, "Grab"), row(kSubCall, kSubCall, 3, 0, 0, "")});
  struct Case {
    int sub;
    std::string file;
    std::vector<int> others;
    bool changed;
    std::vector<std::string> comments;  // of the rows after naming
  };
  const std::vector<Case> cases = {
      {3, "Grab", {2}, true, {"Grab", "Grab", "Grab", "Lift", "Grab", "Grab"}},
      {2, "Grab", {3}, false, {"Grab", "Grab", "Grab", "Lift", "Grab", ""}},
      {4, "Grab", {2, 3}, true, {"Grab", "Grab", "Grab", "Grab", "Grab", ""}},
      {5, "Lift", {4}, false, {"Grab", "Grab", "Grab", "Lift", "Grab", ""}},
      {2, "Other", {}, true, {"Other", "Grab", "Grab", "Lift", "Other", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sub);
    EXPECT_EQ(otherSubsCallingFile(main, c.sub, c.file), c.others);
    Program named = main;
    EXPECT_EQ(nameSubCalls(named, c.sub, c.file), c.changed);
    std::vector<std::string> comments;
    for (const Statement& s : named.rows()) comments.push_back(s.cmt);
    EXPECT_EQ(comments, c.comments);
  }
}
