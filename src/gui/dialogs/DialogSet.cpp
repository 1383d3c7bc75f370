#include "dialogs/DialogSet.h"

#include "app/Glyphs.h"

namespace kavel::gui {

// Until the dialogs exist every subject kind reports "no dialog".
struct DialogSet::Impl {};

DialogSet::DialogSet(Context&, const Glyphs&, QWidget*) : impl_(std::make_unique<Impl>()) {}
DialogSet::~DialogSet() = default;

StatementDialog* DialogSet::forSubjectKind(int) { return nullptr; }
StatementDialog* DialogSet::condition() { return nullptr; }
void DialogSet::applyLanguage() {}

}  // namespace kavel::gui
