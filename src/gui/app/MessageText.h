#pragma once
// Message n of the current language as a Qt string (the table holds UTF-8).

#include <QString>

#include "core/Context.h"
#include "gui/app/QtText.h"

namespace kavel::gui {

inline QString msgText(const Context& ctx, int n) { return qs(ctx.messages(n)); }

}  // namespace kavel::gui
