// kavel_raster: renders SVG drawings to the picture files of the program folder.
//
//   kavel_raster jpg   IN.svg OUT.jpg WIDTH HEIGHT QUALITY
//   kavel_raster bmp   IN.svg OUT.bmp WIDTH HEIGHT          (8-bit palette, white background)
//   kavel_raster sheet OUT.png IN.svg...                     (glyph contact sheet for review)

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <QHash>

#include <algorithm>
#include <cstdio>

namespace {

QRectF fitted(const QSizeF& natural, const QRectF& box) {
  QSizeF s = natural;
  s.scale(box.size(), Qt::KeepAspectRatio);
  return QRectF(box.center().x() - s.width() / 2, box.center().y() - s.height() / 2, s.width(), s.height());
}

bool renderFlat(const QString& in, int w, int h, QImage& out, bool smooth = true) {
  QSvgRenderer svg(in);
  if (!svg.isValid()) {
    std::fprintf(stderr, "kavel_raster: %s is not a readable SVG drawing\n", qPrintable(in));
    return false;
  }
  out = QImage(w, h, QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  p.setRenderHint(QPainter::Antialiasing, smooth);
  p.setRenderHint(QPainter::TextAntialiasing, smooth);
  p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  svg.render(&p, QRectF(0, 0, w, h));
  return true;
}

// A button face like the palette's, so the glyphs are judged where they will be seen.
void drawButton(QPainter& p, const QRect& r) {
  p.setPen(QColor(150, 150, 150));
  p.setBrush(QColor(236, 236, 236));
  p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

// The same fading as a disabled palette button gets.
QImage greyed(const QImage& src) {
  QImage img = src.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int v = 110 + qGray(line[x]) * 55 / 100;
      line[x] = qRgba(v, v, v, qAlpha(line[x]) * 3 / 4);
    }
  }
  return img;
}

int sheet(const QString& out, const QStringList& inputs) {
  const int cols = 4;
  const int cellW = 330, cellH = 110;
  const int rows = (int(inputs.size()) + cols - 1) / cols;
  QImage img(cols * cellW, rows * cellH, QImage::Format_RGB32);
  img.fill(QColor(250, 250, 250));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = p.font();
  f.setPixelSize(11);
  p.setFont(f);
  for (int i = 0; i < inputs.size(); ++i) {
    const int x = (i % cols) * cellW, y = (i / cols) * cellH;
    QSvgRenderer svg(inputs[i]);
    p.setPen(Qt::black);
    p.drawText(x + 6, y + 14, QFileInfo(inputs[i]).completeBaseName());
    // palette button 56 x 36 with the glyph inset by the button frame
    QRect pal(x + 6, y + 22, 56, 36);
    drawButton(p, pal);
    svg.render(&p, fitted(svg.defaultSize(), QRectF(pal).adjusted(2, 2, -2, -2)));
    // row icon button 80 x 30
    QRect row(x + 68, y + 25, 80, 30);
    drawButton(p, row);
    svg.render(&p, fitted(svg.defaultSize(), QRectF(row).adjusted(2, 1, -2, -1)));
    // both again at twice the size, to judge the detail
    QRect big(x + 156, y + 20, 168, 84);
    drawButton(p, big);
    svg.render(&p, fitted(svg.defaultSize(), QRectF(big).adjusted(4, 4, -4, -4)));
    // the palette size greyed, as a disabled button shows it
    QImage dis(56, 36, QImage::Format_ARGB32_Premultiplied);
    dis.fill(Qt::transparent);
    {
      QPainter q(&dis);
      q.setRenderHint(QPainter::Antialiasing);
      svg.render(&q, fitted(svg.defaultSize(), QRectF(2, 2, 52, 32)));
    }
    QRect dr(x + 6, y + 64, 56, 36);
    drawButton(p, dr);
    p.drawImage(dr.topLeft(), greyed(dis));
  }
  p.end();
  return img.save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() >= 7 && a[1] == "jpg") {
    QImage img;
    if (!renderFlat(a[2], a[4].toInt(), a[5].toInt(), img)) return 1;
    if (!img.save(a[3], "JPG", a[6].toInt())) {
      std::fprintf(stderr, "kavel_raster: cannot write %s\n", qPrintable(a[3]));
      return 1;
    }
    return 0;
  }
  if (a.size() >= 6 && a[1] == "bmp") {
    // Drawn without smoothing: the picture is shown with white as its see-through colour,
    // and smoothed edges would leave a pale fringe. Flat colours also fit a 256-colour table.
    QImage img;
    if (!renderFlat(a[2], a[4].toInt(), a[5].toInt(), img, false)) return 1;
    // Text stays smoothed inside the drawing; its few in-between shades go to the nearest of
    // the 256 most used colours.
    QHash<QRgb, int> count;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) ++count[img.pixel(x, y) | 0xFF000000u];
    QList<std::pair<int, QRgb>> byUse;
    for (auto it = count.cbegin(); it != count.cend(); ++it) byUse.append({it.value(), it.key()});
    // ties broken by colour so the file comes out the same on every run
    std::sort(byUse.begin(), byUse.end(), [](const auto& l, const auto& r) {
      return l.first != r.first ? l.first > r.first : l.second < r.second;
    });
    QList<QRgb> table;
    for (const auto& [n, c] : byUse) {
      if (table.size() == 256) break;
      table.append(c);
    }
    const QImage indexed = img.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    if (!indexed.save(a[3], "BMP")) {
      std::fprintf(stderr, "kavel_raster: cannot write %s\n", qPrintable(a[3]));
      return 1;
    }
    return 0;
  }
  if (a.size() >= 4 && a[1] == "sheet") return sheet(a[2], a.mid(3));
  std::fprintf(stderr,
               "usage: kavel_raster jpg IN.svg OUT.jpg W H QUALITY\n"
               "       kavel_raster bmp IN.svg OUT.bmp W H\n"
               "       kavel_raster sheet OUT.png IN.svg...\n");
  return 2;
}
