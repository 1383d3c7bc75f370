#pragma once
// A whole program as one picture, for worksheets and slides: every row painted as the program
// window paints it (line numbers, glyphs, row texts, indentation) on the workspace colour,
// written as PNG or SVG by the file's suffix. Needs QtGui and QtSvg only, so the console tool
// can draw it too.

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "core/model/Statement.h"

class QPainter;

namespace kavel::gui {

class RowPainter;

struct PictureRows {
  const std::vector<Statement>* rows = nullptr;
  QStringList texts;  // the row text of each row
  QColor workspace = QColor(0xC0, 0xDC, 0xC0);
  bool grid = false;
};

class ProgramPicture {
 public:
  enum class Format { Png, Svg };

  explicit ProgramPicture(const RowPainter& painter) : painter_(painter) {}

  /// The picture's size: wide enough for the widest row, tall enough for every row.
  QSize size(const PictureRows& rows) const;
  /// Paints every row with the layout's top-left at the painter's origin.
  void paint(QPainter& p, const PictureRows& rows) const;

  /// The format a path asks for by its suffix (".png" or ".svg", any case); false for others.
  static bool formatFor(const QString& path, Format& format);

  /// Writes the picture to `path` (atomically: a failed write leaves an old file as it was).
  /// False with `error` naming the file and the reason: a suffix that is neither PNG nor SVG, a
  /// folder that does not exist or cannot be written, a picture too large to draw.
  bool write(const QString& path, const PictureRows& rows, std::string* error) const;

  /// The picture as file bytes in `format`; false when it cannot be drawn.
  bool encode(Format format, const PictureRows& rows, std::string& bytes) const;

 private:
  /// Paints what of a picture of size `sz` falls in `band` (the painter may clip to it).
  void paintBand(QPainter& p, const PictureRows& rows, const QSize& sz, const QRect& band) const;
  bool encodePng(const PictureRows& rows, std::string& bytes) const;

  const RowPainter& painter_;
};

}  // namespace kavel::gui
