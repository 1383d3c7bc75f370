#pragma once
// Pictures beside the program (product, wallpaper, logo). JPEG files are decoded with libjpeg
// so a damaged file can never take the program down; other formats go through Qt's readers.

#include <QImage>
#include <QString>

namespace kavel::gui {

/// Decodes a JPEG file. A missing, empty, truncated or non-JPEG file, or one whose picture is
/// implausibly large, gives a null image; nothing is printed and nothing is thrown.
QImage loadJpeg(const QString& path);

/// Decodes JPEG bytes held in memory, with the same rules as loadJpeg.
QImage decodeJpeg(const QByteArray& bytes);

/// Loads a picture file of any format Qt reads, JPEG through loadJpeg. Null when the file is
/// missing or unreadable.
QImage loadPicture(const QString& path);

}  // namespace kavel::gui
