#include "app/PictureLoading.h"

#include <QFileInfo>

namespace kavel::gui {

QImage loadPicture(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).isFile()) return {};
  // SEAM: JPEG pictures are decoded with libjpeg (loadJpeg) once that decoder is part of the
  // program; until then no picture is shown.
  return {};
}

}  // namespace kavel::gui
