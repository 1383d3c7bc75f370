// Renders an SVG icon into square PNG files of the sizes the icon theme wants, at build time,
// so the PNG sizes never drift from the drawing.
//
//   kavel_iconrender ICON.svg OUT.png SIZE

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kavel_iconrender ICON.svg OUT.png SIZE\n");
    return 2;
  }
  const int size = std::atoi(argv[3]);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid() || size <= 0 || size > 1024) {
    std::fprintf(stderr, "kavel_iconrender: %s is not a drawing that can be rendered at %s pixels\n", argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "kavel_iconrender: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
