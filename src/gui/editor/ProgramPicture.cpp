#include "gui/editor/ProgramPicture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

#include "gui/editor/PngStream.h"
#include "gui/editor/RowPainter.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
namespace {

constexpr int kMargin = 8;
constexpr int kBandHeight = 512;
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
  paintBand(p, rows, sz, QRect(QPoint(0, 0), sz));
}

void ProgramPicture::paintBand(QPainter& p, const PictureRows& rows, const QSize& sz, const QRect& band) const {
  const QRect all(QPoint(0, 0), sz);
  RowPainter::paintBackground(p, band.intersected(all), all.adjusted(24, 1, 0, 0), rows.workspace, rows.grid);
  const auto& list = *rows.rows;
  const int count = static_cast<int>(list.size());
  // A row draws nothing outside its own height; one more on either side is only caution.
  const int from = std::clamp((band.top() - RowPainter::kTop) / RowPainter::kRowHeight - 1, 0, count);
  const int to = std::clamp((band.bottom() - RowPainter::kTop) / RowPainter::kRowHeight + 2, 0, count);
  for (int row = from; row < to; ++row) {
    const auto r = static_cast<std::size_t>(row);
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
  if (format == Format::Svg) {
    const QSize sz = size(rows);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
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
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
  }
  return encodePng(rows, bytes);
}

bool ProgramPicture::encodePng(const PictureRows& rows, std::string& bytes) const {
  const QSize sz = size(rows);
  std::string out;
  PngStream png(out);
  if (!png.begin(sz.width(), sz.height())) return false;
  // Painted and encoded a band at a time: a long program needs a few megabytes, not one image
  // of its whole height.
  QImage band(sz.width(), std::min(kBandHeight, sz.height()), QImage::Format_RGB32);
  if (band.isNull()) return false;
  for (int top = 0; top < sz.height(); top += band.height()) {
    const QRect area(0, top, sz.width(), std::min(band.height(), sz.height() - top));
    {
      QPainter p(&band);
      p.setRenderHint(QPainter::TextAntialiasing);
      p.translate(0, -top);
      p.setClipRect(area);
      paintBand(p, rows, sz, area);
    }
    if (!png.writeRows(band.constBits(), band.bytesPerLine(), area.height())) return false;
  }
  if (!png.finish()) return false;
  bytes = std::move(out);
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
