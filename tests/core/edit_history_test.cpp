#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/editor/EditHistory.h"
#include "core/editor/RowClipboard.h"
#include "core/editor/StatementEditing.h"
#include "core/editor/StepName.h"
#include "core/i18n/MessageTable.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;
using kavel::testing::programOf;
using kavel::testing::row;

namespace {

using Rows = std::vector<Statement>;
using Edit = std::function<void(Program&, RowClipboard&)>;

// The edits a program window makes, done the way the window does them with the core rules.
Edit insert(std::size_t at, int kind, int cno, int v0 = 0, std::string cmt = {}) {
  return [=](Program& p, RowClipboard&) {
    const std::size_t r = p.insertStatement(at, kind);
    if (!opensDialogOnInsertion(kind)) return;
    EditBuffer b = insertionBuffer(kind);
    b.cno = cno;
    b.val0 = v0;
    b.cmt = cmt;
    copyBack(cno, b, p.rows()[r]);
  };
}
Edit dialogOk(std::size_t at, int v0, std::string cmt = {}) {
  return [=](Program& p, RowClipboard&) {
    Statement& s = p.rows()[at];
    EditBuffer b = s;
    b.val0 = v0;
    b.cmt = cmt;
    copyBack(s.cno, b, s);
  };
}
Edit condition(std::size_t at, int chosen) {
  return [=](Program& p, RowClipboard&) {
    EditBuffer b;
    b.cno = chosen;
    Statement& s = p.rows()[at];
    if (applyConditionChoice(s, b) == ConditionFollowUp::OpenDialog) {
      b.val0 = 40;
      copyBack(chosen, b, s);
    }
  };
}
Edit removeBlock(std::size_t at) {
  return [=](Program& p, RowClipboard&) {
    const auto [first, last] = p.blockExtent(at);
    p.removeRows(first, last - first + 1);
  };
}
Edit cut(std::size_t at) {
  return [=](Program& p, RowClipboard& clip) {
    clip.clear();
    copyBlockToClipboard(p, at, clip);
    removeBlock(at)(p, clip);
  };
}
Edit paste(std::size_t at) {
  return [=](Program& p, RowClipboard& clip) { ASSERT_GT(pasteRows(p, at, clip, p.index()), 0u); };
}
// The sub-program dialog's OK on a SubCall row: number and file name.
Edit subCall(std::size_t at, int number, std::string file) {
  return [=](Program& p, RowClipboard&) {
    Statement& s = p.rows()[at];
    s.cno = kSubCall;
    s.val0 = number;
    s.cmt = file;
  };
}

// Runs `edits` on `p`, recording each in a history, then checks that undo gives back every
// earlier program in turn and redo every later one.
void checkRoundTrip(const char* name, Program p, const std::vector<Edit>& edits) {
  SCOPED_TRACE(name);
  EditHistory history;
  RowClipboard clip;
  std::vector<Rows> states{p.rows()};
  for (const Edit& edit : edits) {
    edit(p, clip);
    history.push(StepName::editRow(0), rowChange(states.back(), p.rows()));
    states.push_back(p.rows());
  }
  Rows rows = p.rows();
  for (std::size_t i = states.size() - 1; i-- > 0;) {
    if (states[i] == states[i + 1]) continue;  // an edit that changed nothing is no step
    ASSERT_TRUE(history.undo(rows)) << "undo back to state " << i;
    ASSERT_EQ(rows, states[i]) << "after undoing back to state " << i;
  }
  EXPECT_FALSE(history.canUndo());
  for (std::size_t i = 1; i < states.size(); ++i) {
    if (states[i] == states[i - 1]) continue;
    ASSERT_TRUE(history.redo(rows)) << "redo to state " << i;
    ASSERT_EQ(rows, states[i]) << "after redoing to state " << i;
  }
  EXPECT_FALSE(history.canRedo());
}

Program mainWith(std::initializer_list<Statement> rows) { return programOf(rows); }

}  // namespace

TEST(EditHistory, UndoAndRedoGiveBackEveryProgramOfAnEditSequence) {
  const Program loop = mainWith({row(kWait, kWait, 500), row(kWhile, kUnconditional), row(kMotorForward, kMotorForward, 50, 50),
                                 row(kIf, kSensorTest, 30, 1), row(kBreak, 0), row(kElse, 0), row(kWait, kWait, 10),
                                 row(kEnd, kClosesIfChain), row(kEnd, kClosesWhile)});
  Program sub(2);
  sub.appendRow(row(kWait, kWait, 100));

  checkRoundTrip("insert with automatic rows, then the dialog's values", Program(),
                 {insert(0, kIf, kTimer, 500), insert(1, kWhile, kUnconditional), insert(2, kFor, kRepeatCount, 3),
                  insert(7, kWait, kWait, 20)});
  checkRoundTrip("dialog OK and condition changes", loop,
                 {dialogOk(0, 900, "slow"), condition(3, kTimer), condition(1, kSensorTest), condition(3, kTimer),
                  dialogOk(6, 10)});
  // Removing the Else alone moves its body rows up a level: rows below the removed one change too.
  checkRoundTrip("delete a block, an Else alone and a single row", loop, {removeBlock(5), removeBlock(3), removeBlock(0)});
  checkRoundTrip("cut and paste, also into the block it came from", loop,
                 {cut(3), paste(0), paste(7), cut(0), paste(3), paste(3)});
  checkRoundTrip("SubCall and Return edits", mainWith({row(kSubCall, kSubCall, 1, 0, 0, "Grab"), row(kWait, kWait, 5)}),
                 {insert(1, kSubCall, kSubCall, 2, "Lift"), subCall(0, 30, "Grab"), subCall(1, 1, "Lift"),
                  subCall(0, 1, "Grab"), removeBlock(1)});
  checkRoundTrip("Return rows in a Sub", sub,
                 {insert(0, kReturn, kReturn, 0, "done"), dialogOk(0, 0, "early"), insert(2, kReturn, kReturn, 0, "")});
  checkRoundTrip("edits that leave the rows as they were", loop, {dialogOk(0, 500), removeBlock(4), dialogOk(0, 500)});
}

TEST(EditHistory, RandomEditsUndoneAndRedoneMatchEveryEarlierProgram) {
  // Edits, undos and redos mixed at random; the model is the list of programs the user has
  // seen and the position in it. A new edit after undos drops the programs ahead.
  for (unsigned seed : {1u, 7u, 2026u}) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    Program p;
    RowClipboard clip;
    EditHistory history;
    std::vector<Rows> seen{p.rows()};
    std::size_t at = 0;
    const int kinds[] = {kIf, kWhile, kFor, kWait, kMotorForward, kCCode, kSubCall, kElse, kBreak};
    for (int step = 0; step < 600; ++step) {
      const std::size_t action = pick(10);
      if (action < 2 && history.canUndo()) {
        Rows rows = p.rows();
        ASSERT_TRUE(history.undo(rows));
        p.rows() = rows;
        ASSERT_EQ(p.rows(), seen[--at]) << "step " << step;
        continue;
      }
      if (action < 4 && history.canRedo()) {
        ASSERT_TRUE(history.redo(p.rows()));
        ASSERT_EQ(p.rows(), seen[++at]) << "step " << step;
        continue;
      }
      const Rows before = p.rows();
      const std::size_t size = p.size();
      const std::size_t r = size ? pick(size) : 0;
      switch (pick(6)) {
        case 0:
          if (size < 60) {
            const int kind = kinds[pick(std::size(kinds))];
            const std::size_t where = pick(size + 1);
            if (p.insertionAllowed(where, kind)) insert(where, kind, kind == kIf || kind == kWhile ? kTimer : kind, int(step))(p, clip);
          }
          break;
        case 1:
          if (size && hasValueButton(p.rows()[r].sno)) dialogOk(r, step, "v" + std::to_string(step))(p, clip);
          break;
        case 2:
          if (size && p.rows()[r].sno != kEnd) removeBlock(r)(p, clip);
          break;
        case 3:
          if (size && p.rows()[r].sno != kEnd) cut(r)(p, clip);
          break;
        case 4:
          if (!clip.empty() && pasteAllowed(p, r, clip)) pasteRows(p, r, clip, 0);
          break;
        default:
          if (size && (p.rows()[r].sno == kIf || p.rows()[r].sno == kWhile)) condition(r, step % 2 ? kTimer : kSensorTest)(p, clip);
          break;
      }
      if (history.push(StepName::cut(), rowChange(before, p.rows()))) {
        seen.resize(at + 1);
        seen.push_back(p.rows());
        ++at;
      } else {
        ASSERT_EQ(p.rows(), before) << "a change was not recorded at step " << step;
      }
    }
    EXPECT_GT(history.count(), 100u) << "the random edits hardly changed the program";
    while (history.canUndo()) {
      ASSERT_TRUE(history.undo(p.rows()));
      ASSERT_EQ(p.rows(), seen[--at]);
    }
    EXPECT_EQ(at, 0u);
  }
}

TEST(EditHistory, TheSavedStateFollowsUndoRedoAndNewSteps) {
  // One letter per action: e = a new edit, u = undo, r = redo, s = save, x = something besides
  // the rows changed. After each action: whether the rows are the saved state.
  struct Case {
    const char* actions;
    const char* clean;
  } cases[] = {
      {"eeuu", "0001"},      // undoing back to the start (a new program) clears the mark
      {"esuur", "01001"},    // after a save: undo leaves it, redo comes back to it
      {"eesuue", "001000"},  // a new edit after undoing past the save: the saved state is gone
      {"eeusr", "00010"},    // saved with a step to redo: that redo leaves the saved state
      {"esxuur", "010000"},  // a setup change is no row step: no undo gets back to saved
      {"euuu", "0111"},      // undo with nothing left changes nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    EditHistory h;
    Rows rows;
    std::string got;
    int value = 0;
    for (const char* a = c.actions; *a; ++a) {
      switch (*a) {
        case 'e': {
          const Rows before = rows;
          rows.push_back(row(kWait, kWait, ++value));
          h.push(StepName::editRow(static_cast<int>(rows.size()) - 1), rowChange(before, rows));
          break;
        }
        case 'u': h.undo(rows); break;
        case 'r': h.redo(rows); break;
        case 's': h.setClean(); break;
        case 'x': h.resetClean(); break;
      }
      got += h.isClean() ? '1' : '0';
    }
    EXPECT_EQ(got, c.clean);
  }
}

TEST(EditHistory, NamesTheStepsToUndoAndRedo) {
  EditHistory h;
  Rows rows;
  EXPECT_EQ(h.undoName(), nullptr);
  const Rows one{row(kWait, kWait, 1)};
  h.push(StepName::insert(kWait), rowChange(rows, one));
  h.push(StepName::deleteRow(0), rowChange(one, rows));
  ASSERT_NE(h.undoName(), nullptr);
  EXPECT_EQ(*h.undoName(), StepName::deleteRow(0));
  EXPECT_EQ(h.redoName(), nullptr);
  ASSERT_TRUE(h.undo(rows));
  EXPECT_EQ(rows, one);
  EXPECT_EQ(*h.undoName(), StepName::insert(kWait));
  EXPECT_EQ(*h.redoName(), StepName::deleteRow(0));
  // A new step drops the one that could be redone.
  h.push(StepName::cut(), rowChange(one, Rows{}));
  EXPECT_EQ(h.redoName(), nullptr);
  EXPECT_EQ(h.count(), 2u);
  EXPECT_FALSE(h.push(StepName::paste(), rowChange(rows, rows))) << "no change, no step";
  h.clear();
  EXPECT_FALSE(h.canUndo());
  EXPECT_TRUE(h.isClean());
}

TEST(EditHistory, RefusesAStepWhenTheRowsWereChangedPastIt) {
  EditHistory h;
  Rows rows{row(kWait, kWait, 1), row(kWait, kWait, 2)};
  Rows edited = rows;
  edited[1].val0 = 3;
  h.push(StepName::editRow(1), rowChange(rows, edited));
  Rows elsewhere = edited;
  elsewhere[1].val0 = 4;  // changed without the history
  const Rows kept = elsewhere;
  EXPECT_FALSE(h.undo(elsewhere));
  EXPECT_EQ(elsewhere, kept);
  EXPECT_TRUE(h.canUndo());
  elsewhere.resize(1);  // the step's rows are gone altogether
  EXPECT_FALSE(h.undo(elsewhere));
}

TEST(EditHistory, AStepKeepsOnlyTheRowsThatChanged) {
  Program p;
  for (int i = 0; i < 1000; ++i) p.appendRow(row(kWait, kWait, i, 0, 0, "a comment long enough to need the heap"));
  struct Case {
    const char* name;
    Edit edit;
    std::size_t first, before, after;
  } cases[] = {
      {"value of one row", dialogOk(500, 7), 500, 1, 1},
      {"a row in front of the first", insert(0, kWait, kWait, -1), 0, 0, 1},
      {"an If block after the last", insert(1000, kIf, kTimer), 1000, 0, 3},
      {"a row from the middle", removeBlock(10), 10, 1, 0},
  };
  EditHistory h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Program q = p;
    RowClipboard clip;
    c.edit(q, clip);
    const RowChange change = rowChange(p.rows(), q.rows());
    EXPECT_EQ(change.first, c.first);
    EXPECT_EQ(change.before.size(), c.before);
    EXPECT_EQ(change.after.size(), c.after);
    h.push(StepName::cut(), change);
  }
  // Four small steps on a 1000-row program: a few rows each, far below one copy of it.
  EXPECT_LT(h.bytesHeld(), 2000u);
  EXPECT_GT(h.bytesHeld(), 4 * sizeof(Statement));
}

TEST(EditHistory, SubWindowsLeftByAChangeAreThoseOfCallsThatGo) {
  struct Case {
    const char* name;
    Rows leaving, coming;
    int window;
    std::vector<int> closed;
  } cases[] = {
      {"a call goes", {row(kSubCall, kSubCall, 3, 0, 0, "Grab")}, {}, 0, {3}},
      {"the same call stays", {row(kSubCall, kSubCall, 3, 0, 0, "Grab")}, {row(kSubCall, kSubCall, 3, 0, 0, "Grab")}, 0, {}},
      {"same number, another file", {row(kSubCall, kSubCall, 1, 0, 0, "Lift")}, {row(kSubCall, kSubCall, 1, 0, 0, "Grab")}, 0, {1}},
      {"a call of the window itself", {row(kSubCall, kSubCall, 2, 0, 0, "x")}, {}, 2, {}},
      {"a new call without a number", {row(kSubCall, 0, 0)}, {}, 0, {}},
      {"two rows of one call, named once", {row(kSubCall, kSubCall, 4), row(kSubCall, kSubCall, 4)}, {}, 0, {4}},
      {"other rows", {row(kWait, kWait, 3)}, {}, 0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(subWindowsLeft(c.leaving, c.coming, c.window), c.closed) << c.name;
  EXPECT_TRUE(callsInterruptRoutine({row(kWait, kWait), row(kSubCall, kSubCall, 30)}));
  EXPECT_FALSE(callsInterruptRoutine({row(kSubCall, kSubCall, 29)}));
}

TEST(StepName, ComposesNamesAndCaptionsInBothLanguages) {
  MessageTable m;
  const int en = 1, ja = 0;
  m.setText(en, kMsgUndo, "&Undo %s");
  m.setText(ja, kMsgUndo, "元に戻す %s (&U)");
  m.setText(en, kMsgInsertStep, "Insert %s");
  m.setText(ja, kMsgInsertStep, "%sの挿入");
  m.setText(en, kMsgDeleteStep, "Delete Row %d");
  m.setText(ja, kMsgDeleteStep, "%d 行目の削除");
  m.setText(en, 87, "If (condition)");
  m.setText(en, 80, "Motor Control");
  m.setText(ja, 82, "LED制御");
  m.setText(en, 116, "Cu&t");
  m.setText(ja, 116, "切り取り (&T)");
  m.setText(en, 96, "C && Code");
  struct Case {
    int language;
    StepName name;
    const char* text;
  } names[] = {
      {en, StepName::insert(kIf), "Insert If (condition)"},
      {en, StepName::insert(kSpinLeft), "Insert Motor Control"},  // every motor kind is the motor button's
      {ja, StepName::insert(kRedLedOn), "LED制御の挿入"},
      {en, StepName::deleteRow(11), "Delete Row 12"},
      {ja, StepName::deleteRow(0), "1 行目の削除"},
      {en, StepName::cut(), "Cut"},
      {ja, StepName::cut(), "切り取り"},
      {en, StepName::insert(kCCode), "Insert C & Code"},
      {en, StepName::insert(kSetup), "Insert"},  // no palette button: no name to put in
  };
  for (const Case& c : names) {
    m.setLanguage(c.language);
    EXPECT_EQ(stepText(c.name, m), c.text) << c.text;
  }
  struct Caption {
    const char* pattern;
    const char* step;
    const char* caption;
  } captions[] = {
      {"&Undo %s", "Delete Row 12", "&Undo Delete Row 12"},
      {"&Undo %s", "", "&Undo"},
      {"元に戻す %s (&U)", "", "元に戻す (&U)"},
      {"元に戻す %s (&U)", "切り取り", "元に戻す 切り取り (&U)"},
      {"&Redo", "Cut", "&Redo Cut"},                    // an edited text without a placeholder
      {"100%% %d %s", "Cut", "100%% Cut %s"},           // only the first placeholder is filled
      {"&Undo %s", "C & Code", "&Undo C && Code"},      // the step's "&" is no accelerator
      {"%n%s%x", "Paste", "%nPaste%x"},                 // nothing else is read as a format
  };
  for (const Caption& c : captions) EXPECT_EQ(historyItemCaption(c.pattern, c.step), c.caption) << c.pattern;
}
