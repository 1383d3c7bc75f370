#pragma once
// File names as the file system holds them. Qt hands a file name over as text; a name whose
// bytes are no UTF-8 (written on another system) then carries U+FFFD where its bytes were and
// no longer names its file.

#include <QString>

#include <string>

namespace kavel::gui {

/// The bytes of the file `chosen` names: its UTF-8 form when such a file exists or the name
/// lost nothing; otherwise the one entry of its folder whose name Qt shows as `chosen` shows
/// it. Falls back to the UTF-8 form.
std::string nativeFileName(const QString& chosen);

}  // namespace kavel::gui
