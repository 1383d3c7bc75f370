#include "gui/editor/ProgramPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

#include "gui/editor/RowPainter.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
namespace {

constexpr int kMargin = 8;
// The narrowest picture still shows a line number, an icon and a value button of minimum width.
constexpr int kMinimumWidth = 24 + 80 + 240 + kMargin;

}  // namespace

QSize ProgramPicture::size(const PictureRows& rows) const {
  const auto& list = *rows.rows;
  int right = kMinimumWidth;
  for (std::size_t r = 0; r < list.size(); ++r) {
    const int row = static_cast<int>(r);
    const QString text = row < rows.texts.size() ? rows.texts[row] : QString();
    QRect box = painter_.valueRect(row, list[r], text);
    if (box.isNull()) box = RowPainter::iconRect(row, list[r].level);
    right = std::max(right, box.right() + 1 + kMargin);
  }
  const int height = RowPainter::kTop + static_cast<int>(list.size()) * RowPainter::kRowHeight + kMargin;
  return {right, height};
}

void ProgramPicture::paint(QPainter& p, const PictureRows& rows) const {
  const QSize sz = size(rows);
  const QRect all(QPoint(0, 0), sz);
  RowPainter::paintBackground(p, all, all.adjusted(24, 1, 0, 0), rows.workspace, rows.grid);
  const auto& list = *rows.rows;
  for (std::size_t r = 0; r < list.size(); ++r) {
    const int row = static_cast<int>(r);
    painter_.paintRow(p, QPoint(0, 0), row, list[r], row < rows.texts.size() ? rows.texts[row] : QString(), {}, {},
                      false, &RowPainter::drawnFace);
  }
}

bool ProgramPicture::formatFor(const QString& path, Format& format) {
  if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    format = Format::Png;
    return true;
  }
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    format = Format::Svg;
    return true;
  }
  return false;
}

bool ProgramPicture::encode(Format format, const PictureRows& rows, std::string& bytes) const {
  const QSize sz = size(rows);
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  if (format == Format::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(sz);
    // Browsers and editors count 96 pixels to the inch: the picture shows at its pixel size.
    svg.setResolution(96);
    svg.setViewBox(QRect(QPoint(0, 0), sz));
    svg.setTitle(QStringLiteral("Kavel program"));
    QPainter p;
    if (!p.begin(&svg)) return false;
    paint(p, rows);
    p.end();
  } else {
    QImage image(sz, QImage::Format_RGB32);
    if (image.isNull()) return false;
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::TextAntialiasing);
      paint(p, rows);
    }
    QImageWriter writer(&buffer, "png");
    // Flat colours compress well already; the highest levels only cost time.
    writer.setQuality(80);
    if (!writer.write(image)) return false;
  }
  bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
  return true;
}

bool ProgramPicture::write(const QString& path, const PictureRows& rows, std::string* error) const {
  Format format = Format::Png;
  if (!formatFor(path, format)) {
    if (error) *error = "Cannot write the picture " + path.toStdString() + ": the file name must end in .png or .svg.";
    return false;
  }
  std::string bytes;
  if (!encode(format, rows, bytes)) {
    if (error) *error = "Cannot write the picture " + path.toStdString() + ": the picture could not be drawn.";
    return false;
  }
  return text::writeFileAtomic(path.toStdString(), bytes, error);
}

}  // namespace kavel::gui
