#pragma once
// The one conversion from the core's strings (UTF-8) to Qt's.

#include <QString>

#include <string>

namespace kavel::gui {

/// `s`, read as UTF-8.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace kavel::gui
