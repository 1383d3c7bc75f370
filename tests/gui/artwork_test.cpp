#include <QtTest>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <csetjmp>
#include <cstdio>
#include <iterator>

#include <jpeglib.h>

#include "gui/app/Glyphs.h"

using kavel::gui::Glyphs;

namespace {

const QString kBin = QStringLiteral(KAVEL_BIN_DIR);

struct RowGlyph {
  int sno;
  int cno;
  const char* file;
};

// Every row the program can show, with the glyph file it must come from.
const RowGlyph kRows[] = {
    {1, 0, "if"},           {2, 0, "elseif"},
    {3, 0, "else"},         {4, 0, "while"},
    {5, 5, "for"},          {6, 0, "continue"},
    {7, 0, "break"},        {8, 7, "setup"},
    {9, 9, "subcall"},      {10, 10, "return"},
    {19, 19, "motor_variable"}, {20, 20, "motor_stop"},
    {21, 21, "motor_forward"},  {22, 22, "motor_backward"},
    {23, 23, "spin_left"},      {24, 24, "spin_right"},
    {25, 25, "turn_forward_left"},  {26, 26, "turn_forward_right"},
    {27, 27, "turn_backward_left"}, {28, 28, "turn_backward_right"},
    {29, 29, "wait"},       {30, 30, "timer"},
    {31, 31, "variable"},   {32, 32, "variable"},
    {33, 33, "ccode"},      {34, 34, "led_green_off"},
    {35, 35, "led_green_on"}, {36, 36, "led_red_off"},
    {37, 37, "led_red_on"}, {38, 38, "pwm"},
    {39, 39, "servo"},      {40, 40, "output"},
    {41, 41, "lcd"},        {43, 43, "gamepad"},
    {44, 44, "ultrasonic"}, {45, 45, "camera"},
    {0, 2, "end_if"},       {0, 3, "end_while"},
    {0, 4, "end_for"},      {42, 42, "unknown"},
};

int opaquePixels(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(img.pixel(x, y)) > 128) ++n;
  return n;
}

bool columnIsClear(const QImage& img, int x) {
  for (int y = 0; y < img.height(); ++y)
    if (qAlpha(img.pixel(x, y)) != 0) return false;
  return true;
}

struct JpegInfo {
  bool ok = false;
  int width = 0;
  int height = 0;
  int components = 0;
  char error[JMSG_LENGTH_MAX] = {};
};

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char* message;
};

void onJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Decodes the whole picture with libjpeg, the decoder the program shows its pictures with.
JpegInfo decodeJpeg(const QByteArray& bytes) {
  JpegInfo info;
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = onJpegError;
  err.message = info.error;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return info;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  // the line buffer belongs to libjpeg, so an error jump leaks nothing
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * cinfo.output_components, 1);
  while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, row, 1);
  info.width = static_cast<int>(cinfo.output_width);
  info.height = static_cast<int>(cinfo.output_height);
  info.components = cinfo.output_components;
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  info.ok = true;
  return info;
}

}  // namespace

class Artwork : public QObject {
  Q_OBJECT
 private slots:
  void everyRowHasItsDrawnGlyph_data() {
    QTest::addColumn<int>("sno");
    QTest::addColumn<int>("cno");
    QTest::addColumn<QString>("file");
    for (const RowGlyph& r : kRows)
      QTest::addRow("%d/%d %s", r.sno, r.cno, r.file) << r.sno << r.cno << QString(r.file);
  }

  void everyRowHasItsDrawnGlyph() {
    QFETCH(int, sno);
    QFETCH(int, cno);
    QFETCH(QString, file);
    const QString path = kBin + "/glyphs/" + file + ".svg";
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(path));

    const Glyphs glyphs(kBin);
    const QIcon icon = glyphs.forRow(sno, cno);
    QVERIFY(!icon.isNull());
    const QImage drawn = glyphs.pixmap(sno, cno, QSize(56, 36)).toImage();
    QVERIFY2(opaquePixels(drawn) > 56 * 36 * 2 / 5, "glyph is (nearly) empty");

    const Glyphs without(kBin + "/no-such-folder");
    QVERIFY2(drawn != without.pixmap(sno, cno, QSize(56, 36)).toImage(), "the stand-in is shown");
  }

  // Two kinds that share a picture by mistake (the ten drive patterns, the four LED states,
  // the three block ends) would leave the user unable to tell the rows apart.
  void glyphsAreDistinctExactlyWhereFilesDiffer() {
    const Glyphs glyphs(kBin);
    std::vector<std::pair<QString, QImage>> seen;
    for (const RowGlyph& r : kRows) seen.emplace_back(r.file, glyphs.pixmap(r.sno, r.cno, QSize(52, 28)).toImage());
    for (size_t i = 0; i < seen.size(); ++i)
      for (size_t j = i + 1; j < seen.size(); ++j) {
        const bool sameFile = seen[i].first == seen[j].first;
        QVERIFY2((seen[i].second == seen[j].second) == sameFile,
                 qPrintable(seen[i].first + " vs " + seen[j].first));
      }
  }

  void endKindOnThePaletteShowsTheEndOfAnIf() {
    const Glyphs glyphs(kBin);
    QCOMPARE(glyphs.forKind(0).pixmap(QSize(52, 28), 1.0).toImage(),
             glyphs.forRow(0, 2).pixmap(QSize(52, 28), 1.0).toImage());
  }

  // Palette button, row icon button and a printer box: the pixmap has exactly the size asked
  // for, the glyph centred in it with its shape kept.
  void pixmapFillsTheAskedSizeKeepingTheShape_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("sideMargins");
    QTest::newRow("palette 56x36") << QSize(56, 36) << false;
    QTest::newRow("row 80x30") << QSize(80, 30) << true;
    QTest::newRow("print 212x104") << QSize(212, 104) << true;
  }

  void pixmapFillsTheAskedSizeKeepingTheShape() {
    QFETCH(QSize, size);
    QFETCH(bool, sideMargins);
    const Glyphs glyphs(kBin);
    const QImage img = glyphs.pixmap(21, 21, size).toImage();
    QCOMPARE(img.size(), size);
    QCOMPARE(columnIsClear(img, 0), sideMargins);
    QCOMPARE(columnIsClear(img, size.width() - 1), sideMargins);
    QVERIFY(!columnIsClear(img, size.width() / 2));
    QVERIFY(glyphs.pixmap(21, 21, QSize(0, 30)).isNull());
  }

  void disabledGlyphIsGrey() {
    const Glyphs glyphs(kBin);
    const QImage img = glyphs.forKind(37).pixmap(QSize(52, 28), 1.0, QIcon::Disabled).toImage();
    QVERIFY(opaquePixels(img) > 52 * 28 / 3);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = QColor::fromRgba(img.pixel(x, y));
        if (c.alpha() == 0) continue;
        QVERIFY2(qAbs(c.red() - c.green()) <= 2 && qAbs(c.green() - c.blue()) <= 2,
                 qPrintable(QString("coloured pixel at %1,%2").arg(x).arg(y)));
      }
  }

  // SVG first, then PNG; a damaged file falls back like a missing one.
  void loadingOrderAndFallbacks() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("glyphs"));
    const QString g = dir.path() + "/glyphs/";
    auto write = [](const QString& path, const QByteArray& bytes) {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes);
    };
    write(g + "if.svg", "this is not a drawing");             // damaged, no PNG
    write(g + "while.svg", "<svg");                           // damaged, PNG beside it
    QImage red(40, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(g + "while.png"));
    write(g + "for.png", "no picture either");               // damaged PNG
    QVERIFY(QFile::copy(kBin + "/glyphs/break.svg", g + "break.svg"));
    QImage blue(40, 20, QImage::Format_ARGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(g + "break.png"));                     // the SVG wins

    const Glyphs glyphs(dir.path());
    const Glyphs empty(dir.path() + "/none");
    auto at = [](const Glyphs& gl, int kind) { return gl.pixmap(kind, kind, QSize(56, 36)).toImage(); };
    QCOMPARE(at(glyphs, 1), at(empty, 1));
    QCOMPARE(at(glyphs, 5), at(empty, 5));
    QCOMPARE(QColor(at(glyphs, 4).pixel(28, 18)), QColor(Qt::red));
    QCOMPARE(at(glyphs, 7), at(Glyphs(kBin), 7));
  }

  void variantPicturesAreJpegsOfASensibleSize_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("minSize");
    QTest::addColumn<QSize>("maxSize");
    const QSize productMin(120, 90), productMax(400, 300);
    const QSize wallMin(800, 500), wallMax(2560, 1600);
    const QSize logoMin(100, 30), logoMax(400, 120);
    for (const char* f : {"Glent.jpg", "QV7B-FW.jpg", "QV7B-RX.jpg", "WL-Core.jpg"})
      QTest::newRow(f) << QString(f) << productMin << productMax;
    for (const char* f : {"Glnt_Wallpaper.jpg", "QV7B_Wallpaper.jpg", "WLC_Wallpaper.jpg", "WLV_Wallpaper.jpg"})
      QTest::newRow(f) << QString(f) << wallMin << wallMax;
    for (const char* f : {"MORVANE_Logo.jpg", "RX_Logo.jpg", "WLV_Logo.jpg"})
      QTest::newRow(f) << QString(f) << logoMin << logoMax;
  }

  void variantPicturesAreJpegsOfASensibleSize() {
    QFETCH(QString, file);
    QFETCH(QSize, minSize);
    QFETCH(QSize, maxSize);
    QFile f(kBin + "/" + file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QByteArray bytes = f.readAll();
    QVERIFY2(bytes.size() < 150 * 1024, "picture file too big");
    const JpegInfo info = decodeJpeg(bytes);
    QVERIFY2(info.ok, info.error);
    QCOMPARE(info.components, 3);
    QVERIFY2(info.width >= minSize.width() && info.width <= maxSize.width() && info.height >= minSize.height() &&
                 info.height <= maxSize.height(),
             qPrintable(QString("%1 x %2").arg(info.width).arg(info.height)));
  }

  // The sensor monitor shows these with white as the see-through colour, taken from the
  // bottom-left pixel.
  void robotTopViewsAreBitmapsOnWhite_data() {
    QTest::addColumn<QString>("file");
    for (const char* f : {"TopView_Glent.bmp", "QV7B_TopView.bmp", "WL_TopView.bmp"}) QTest::newRow(f) << QString(f);
  }

  void robotTopViewsAreBitmapsOnWhite() {
    QFETCH(QString, file);
    QImage img;
    QVERIFY2(img.load(kBin + "/" + file, "BMP"), qPrintable(file));
    QVERIFY(img.height() >= 200 && img.width() >= 100 && img.width() < img.height());
    QCOMPARE(QColor(img.pixel(0, img.height() - 1)), QColor(Qt::white));
    QVERIFY(QColor(img.pixel(img.width() / 2, img.height() / 2)) != QColor(Qt::white));
  }

  void chimeIsAShortPcmSound() {
    QFile f(kBin + "/chimes.wav");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    QVERIFY(b.size() > 44);
    auto u16 = [&](int at) { return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8); };
    auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    QCOMPARE(b.left(4), QByteArray("RIFF"));
    QCOMPARE(b.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u16(20), quint16(1));   // PCM
    QCOMPARE(u16(22), quint16(1));   // mono
    QCOMPARE(u16(34), quint16(16));  // bits per sample
    QCOMPARE(b.mid(36, 4), QByteArray("data"));
    const quint32 rate = u32(24), bytes = u32(40);
    QVERIFY(bytes <= quint32(b.size() - 44));
    const double seconds = double(bytes) / 2 / rate;
    QVERIFY2(seconds > 0.3 && seconds < 1.5, qPrintable(QString::number(seconds)));
    int peak = 0;
    for (quint32 i = 0; i + 1 < bytes; i += 2) peak = qMax(peak, qAbs(int(qint16(u16(44 + int(i))))));
    QVERIFY2(peak > 8000 && peak < 32767, "silent or clipping");
  }

  // Review aid: KAVEL_GLYPH_SHEET=/tmp/sheet.png draws every glyph on button faces at the
  // palette size, the row size and disabled, through the same loading path as the program.
  void contactSheet() {
    const QByteArray out = qgetenv("KAVEL_GLYPH_SHEET");
    if (out.isEmpty()) QSKIP("set KAVEL_GLYPH_SHEET to draw the contact sheet");
    const Glyphs glyphs(kBin);
    const int cols = 4, cellW = 250, cellH = 56;
    const int count = int(std::size(kRows));
    QImage sheet(cols * cellW, (count + cols - 1) / cols * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(250, 250, 250));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    for (int i = 0; i < count; ++i) {
      const RowGlyph& r = kRows[i];
      const QPoint at((i % cols) * cellW + 4, (i / cols) * cellH + 4);
      p.setPen(Qt::black);
      p.drawText(at + QPoint(0, 10), r.file);
      const QRect pal(at + QPoint(0, 14), QSize(56, 36));
      const QRect row(at + QPoint(62, 17), QSize(80, 30));
      const QRect dis(at + QPoint(148, 14), QSize(56, 36));
      for (const QRect& b : {pal, row, dis}) {
        p.setPen(QColor(150, 150, 150));
        p.setBrush(QColor(236, 236, 236));
        p.drawRoundedRect(QRectF(b).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
      }
      p.drawPixmap(pal.adjusted(2, 2, -2, -2), glyphs.pixmap(r.sno, r.cno, pal.adjusted(2, 2, -2, -2).size()));
      p.drawPixmap(row.adjusted(2, 1, -2, -1), glyphs.pixmap(r.sno, r.cno, row.adjusted(2, 1, -2, -1).size()));
      glyphs.forRow(r.sno, r.cno).paint(&p, dis.adjusted(2, 2, -2, -2), Qt::AlignCenter, QIcon::Disabled);
    }
    p.end();
    QVERIFY(sheet.save(QString::fromLocal8Bit(out)));
  }
};

QTEST_MAIN(Artwork)
#include "artwork_test.moc"
