#include "gui/app/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jerror.h>
#include <jpeglib.h>

namespace kavel::gui {
namespace {

// Larger files or pictures are refused before any memory is taken for them; the biggest
// picture the program shows is a full-screen wallpaper.
constexpr qint64 kMaxFileBytes = 64ll << 20;
constexpr unsigned long long kMaxPixels = 64ull << 20;

// libjpeg's own handler ends the process on a damaged file; this one jumps back to decode().
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  bool truncated;
};

void onError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings are counted, not printed. A file that ends early still "decodes" in libjpeg (the
// missing part comes out grey), but a half picture is not what the user chose.
void onMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  ++err->pub.num_warnings;
  if (err->pub.msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

void onOutput(j_common_ptr) {}

// Adobe writes CMYK inverted; other writers store plain CMYK.
void cmykToRgb(const JSAMPLE* in, uchar* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    int c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[0] = static_cast<uchar>(c * k / 255);
    out[1] = static_cast<uchar>(m * k / 255);
    out[2] = static_cast<uchar>(y * k / 255);
  }
}

// No C++ object with a destructor may live in this frame between setjmp and the last libjpeg
// call: a longjmp would skip its destructor. `out` belongs to the caller.
bool decode(const unsigned char* data, unsigned long size, QImage& out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  err.pub.emit_message = onMessage;
  err.pub.output_message = onOutput;
  err.truncated = false;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);

  const JDIMENSION width = cinfo.output_width;
  const JDIMENSION height = cinfo.output_height;
  if (width == 0 || height == 0 ||
      static_cast<unsigned long long>(width) * height > kMaxPixels) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  out = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB888);
  if (out.isNull()) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }

  JSAMPARRAY cmykRow = nullptr;
  if (cmyk) {
    cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                         width * 4, 1);
  }
  while (cinfo.output_scanline < height) {
    uchar* line = out.scanLine(static_cast<int>(cinfo.output_scanline));
    if (cmyk) {
      jpeg_read_scanlines(&cinfo, cmykRow, 1);
      cmykToRgb(cmykRow[0], line, width, cinfo.saw_Adobe_marker);
    } else {
      JSAMPROW row = line;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    if (err.truncated) break;
  }
  if (!err.truncated) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return !err.truncated;
}

}  // namespace

QImage decodeJpeg(const QByteArray& bytes) {
  // The JPEG start-of-image marker; anything else is not worth handing to the decoder.
  if (bytes.size() < 2 || static_cast<uchar>(bytes[0]) != 0xFF ||
      static_cast<uchar>(bytes[1]) != 0xD8) {
    return {};
  }
  QImage image;
  if (!decode(reinterpret_cast<const unsigned char*>(bytes.constData()),
              static_cast<unsigned long>(bytes.size()), image)) {
    return {};
  }
  return image;
}

QImage loadJpeg(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return {};
  return decodeJpeg(file.readAll());
}

QImage loadPicture(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = file.peek(2);
  if (head.size() == 2 && static_cast<uchar>(head[0]) == 0xFF && static_cast<uchar>(head[1]) == 0xD8) {
    file.close();
    return loadJpeg(path);
  }
  file.close();
  return QImage(path);
}

}  // namespace kavel::gui
