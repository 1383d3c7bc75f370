#pragma once
// Message n of the current language as a Qt string (the table holds UTF-8).

#include <QString>

#include "core/Context.h"

namespace kavel::gui {

inline QString msgText(const Context& ctx, int n) { return QString::fromStdString(ctx.messages(n)); }

}  // namespace kavel::gui
