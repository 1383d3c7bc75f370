#pragma once
// The undo history of one program window: each step is a change of the rows (the stretch it
// replaced and what it put there) with its name. The window undoes and redoes along it; the
// clean index marks the state last saved, so that undoing back to it clears the modified mark.

#include <cstddef>
#include <vector>

#include "core/editor/RowChange.h"
#include "core/editor/StepName.h"
#include "core/model/Statement.h"

namespace kavel {

class EditHistory {
 public:
  /// Records `change` as the next step; the steps that were undone are dropped (and with them
  /// a saved state among them). False, and nothing recorded, when the change is empty.
  bool push(StepName name, RowChange change);

  bool canUndo() const { return index_ > 0; }
  bool canRedo() const { return index_ < steps_.size(); }
  /// The name of the step undo would take back / redo would apply; null when there is none.
  const StepName* undoName() const;
  const StepName* redoName() const;
  /// The change undo would take back / redo would apply; null when there is none.
  const RowChange* undoChange() const;
  const RowChange* redoChange() const;

  /// Takes back the last step on `rows`. False, and `rows` unchanged, when there is nothing to
  /// undo or `rows` do not hold what the step left there (they were changed past the history).
  bool undo(std::vector<Statement>& rows);
  /// Applies the next undone step again; false as for undo.
  bool redo(std::vector<Statement>& rows);

  /// Steps recorded, and how many of them are in effect (the rest can be redone).
  std::size_t count() const { return steps_.size(); }
  std::size_t index() const { return index_; }

  /// The rows as they stand now are saved.
  void setClean() { clean_ = static_cast<long>(index_); }
  /// The saved state is reached by no step any more (something besides the rows changed).
  void resetClean() { clean_ = -1; }
  bool isClean() const { return clean_ == static_cast<long>(index_); }
  /// The index of the saved state, -1 when no step leads there.
  long cleanIndex() const { return clean_; }

  /// No steps; the rows as they stand are the saved state.
  void clear();

  /// Bytes the history holds: its steps with their rows and its own bookkeeping.
  std::size_t bytesHeld() const;

 private:
  struct Step {
    StepName name;
    RowChange change;
  };

  std::vector<Step> steps_;
  std::size_t index_ = 0;
  long clean_ = 0;
};

}  // namespace kavel
