#include "core/editor/EditHistory.h"

namespace kavel {

bool EditHistory::push(StepName name, RowChange change) {
  if (change.empty()) return false;
  steps_.resize(index_);
  if (clean_ > static_cast<long>(index_)) clean_ = -1;  // the saved state was undone and is gone
  steps_.push_back({name, std::move(change)});
  ++index_;
  return true;
}

const StepName* EditHistory::undoName() const { return canUndo() ? &steps_[index_ - 1].name : nullptr; }
const StepName* EditHistory::redoName() const { return canRedo() ? &steps_[index_].name : nullptr; }
const RowChange* EditHistory::undoChange() const { return canUndo() ? &steps_[index_ - 1].change : nullptr; }
const RowChange* EditHistory::redoChange() const { return canRedo() ? &steps_[index_].change : nullptr; }

bool EditHistory::undo(std::vector<Statement>& rows) {
  if (!canUndo()) return false;
  const RowChange& c = steps_[index_ - 1].change;
  if (!replaceRows(rows, c.first, c.after, c.before)) return false;
  --index_;
  return true;
}

bool EditHistory::redo(std::vector<Statement>& rows) {
  if (!canRedo()) return false;
  const RowChange& c = steps_[index_].change;
  if (!replaceRows(rows, c.first, c.before, c.after)) return false;
  ++index_;
  return true;
}

void EditHistory::clear() {
  steps_.clear();
  steps_.shrink_to_fit();
  index_ = 0;
  clean_ = 0;
}

std::size_t EditHistory::bytesHeld() const {
  std::size_t bytes = sizeof(*this) + (steps_.capacity() - steps_.size()) * sizeof(Step);
  for (const Step& s : steps_) bytes += sizeof(Step) - sizeof(RowChange) + kavel::bytesHeld(s.change);
  return bytes;
}

}  // namespace kavel
