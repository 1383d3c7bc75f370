#include <QtTest>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "gui/app/JpegImage.h"

using kavel::gui::decodeJpeg;
using kavel::gui::loadJpeg;
using kavel::gui::loadPicture;

namespace {

// Left half red, right half blue: sharp enough to check orientation after lossy coding.
QImage twoColourPicture() {
  QImage image(64, 32, QImage::Format_RGB32);
  image.fill(Qt::red);
  for (int y = 0; y < 32; ++y) {
    for (int x = 32; x < 64; ++x) image.setPixelColor(x, y, Qt::blue);
  }
  return image;
}

// A one-colour picture written directly with libjpeg in a colour space Qt cannot write.
QByteArray writeWithLibjpeg(J_COLOR_SPACE space, int components, const std::vector<JSAMPLE>& pixel) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 16;
  cinfo.image_height = 16;
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < 16; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return out;
}

// Random noise: its picture data outweighs the headers, so cutting the file in half cuts
// into the picture itself.
QImage noisyPicture() {
  QImage image(160, 120, QImage::Format_RGB32);
  quint32 seed = 12345;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      image.setPixel(x, y, seed >> 8);
    }
  }
  return image;
}

bool near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
         std::abs(a.blue() - b.blue()) < 24;
}

}  // namespace

class JpegImageTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QByteArray validJpeg_;

  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath("valid.jpg");
    QVERIFY(twoColourPicture().save(path, "jpg", 95));
    const QString noisy = dir_.filePath("noisy.jpg");
    QVERIFY(noisyPicture().save(noisy, "jpg", 90));
    QFile f(noisy);
    QVERIFY(f.open(QIODevice::ReadOnly));
    validJpeg_ = f.readAll();
    QCOMPARE(loadJpeg(noisy).size(), QSize(160, 120));
  }

  void decodesAValidFileWithItsSizeAndColours() {
    const QImage image = loadJpeg(dir_.filePath("valid.jpg"));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(64, 32));
    QVERIFY(near(image.pixelColor(8, 16), Qt::red));
    QVERIFY(near(image.pixelColor(56, 16), Qt::blue));
  }

  void otherColourSpacesComeOutAsRgb_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("grey") << writeWithLibjpeg(JCS_GRAYSCALE, 1, {128}) << QColor(128, 128, 128);
    // libjpeg marks CMYK files as Adobe's, whose ink values are stored inverted.
    QTest::newRow("cmyk red") << writeWithLibjpeg(JCS_CMYK, 4, {255, 0, 0, 255}) << QColor(255, 0, 0);
    QTest::newRow("cmyk dark green") << writeWithLibjpeg(JCS_CMYK, 4, {0, 255, 0, 128}) << QColor(0, 128, 0);
  }
  void otherColourSpacesComeOutAsRgb() {
    QFETCH(QByteArray, bytes);
    QFETCH(QColor, expected);
    const QImage image = decodeJpeg(bytes);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY2(near(image.pixelColor(8, 8), expected), qPrintable(image.pixelColor(8, 8).name()));
  }

  // None of these may crash or print; each gives a null image.
  void brokenFilesGiveANullImage_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << dir_.filePath("nothing-here.jpg");
    QTest::newRow("folder") << dir_.path();
    QTest::newRow("empty") << write("empty.jpg", {});
    QTest::newRow("text") << write("text.jpg", "This is not a picture.\r\n");
    QTest::newRow("only the start marker") << write("soi.jpg", validJpeg_.left(2));
    QTest::newRow("cut inside the header") << write("header.jpg", validJpeg_.left(40));
    QTest::newRow("cut inside the picture") << write("half.jpg", validJpeg_.left(validJpeg_.size() / 2));
    QTest::newRow("end marker missing") << write("noeoi.jpg", validJpeg_.left(validJpeg_.size() - 2));
  }
  void brokenFilesGiveANullImage() {
    QFETCH(QString, path);
    QVERIFY(loadJpeg(path).isNull());
  }

  // Damaged picture data is the decoder's to survive; whatever it makes of it keeps the size.
  void garbledDataNeitherCrashesNorChangesTheSize() {
    QByteArray garbled = validJpeg_;
    for (qsizetype i = garbled.size() / 3; i < garbled.size() - 2; i += 7) garbled[i] = char(0xFF);
    const QImage image = decodeJpeg(garbled);
    QVERIFY(image.isNull() || image.size() == QSize(160, 120));
  }

  void picturesOfOtherFormatsLoadThroughQt() {
    const QString png = dir_.filePath("picture.png");
    QVERIFY(twoColourPicture().save(png, "png"));
    QCOMPARE(loadPicture(png).size(), QSize(64, 32));
    QVERIFY(loadJpeg(png).isNull());
    QCOMPARE(loadPicture(dir_.filePath("valid.jpg")).size(), QSize(64, 32));
    QVERIFY(loadPicture(dir_.filePath("half.jpg")).isNull());
    QVERIFY(loadPicture(dir_.filePath("missing.bmp")).isNull());
  }
};

QTEST_GUILESS_MAIN(JpegImageTest)
#include "jpeg_image_test.moc"
