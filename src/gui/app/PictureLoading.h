#pragma once
// The pictures of the main window (product, wallpaper, logo) as they come from their files.

#include <QImage>
#include <QString>

namespace kavel::gui {

/// The picture in the file at `path`; a null image when there is no such file or it does not
/// decode (nothing is shown then, nothing is reported).
QImage loadPicture(const QString& path);

}  // namespace kavel::gui
