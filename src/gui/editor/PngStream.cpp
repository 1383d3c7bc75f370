#include "gui/editor/PngStream.h"

#include <png.h>

#include <QtGlobal>
#include <new>

namespace kavel::gui {
namespace {

// Program pictures are flat colours with long runs that deflate finds without help: choosing
// a row filter per scanline took most of the time and made the file larger, and levels above
// 3 shrink it by a few percent for twice the time.
constexpr int kCompressionLevel = 3;

// libpng reports errors by jumping back to the last setjmp; these helpers keep the jumped-over
// frames free of anything with a destructor.
void writeRowsOf(png_structp png, const std::uint8_t* first, std::ptrdiff_t stride, int count) {
  for (int i = 0; i < count; ++i) png_write_row(png, first + i * stride);
}

void startPicture(png_structp png, png_infop info, int width, int height) {
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, kCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  // Format_RGB32 keeps each pixel as the word 0xffRRGGBB: the filler byte is dropped.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
  png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
}

}  // namespace

PngStream::PngStream(std::string& out) : out_(out) {}

PngStream::~PngStream() {
  if (png_) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
}

void PngStream::onError(png_structp png, png_const_charp message) {
  auto* self = static_cast<PngStream*>(png_get_error_ptr(png));
  if (self->what_.empty()) self->what_ = message ? message : "PNG error";
  png_longjmp(png, 1);
}

void PngStream::onWarning(png_structp, png_const_charp) {}

void PngStream::onWrite(png_structp png, png_bytep data, std::size_t length) {
  auto* self = static_cast<PngStream*>(png_get_io_ptr(png));
  bool stored = true;
  try {
    self->out_.append(reinterpret_cast<const char*>(data), length);
  } catch (const std::bad_alloc&) {
    stored = false;
  }
  if (!stored) png_error(png, "not enough memory for the picture");
}

void PngStream::onFlush(png_structp) {}

bool PngStream::begin(int width, int height) {
  if (png_ || width <= 0 || height <= 0) return false;
  png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, &PngStream::onError, &PngStream::onWarning);
  if (!png_) return false;
  info_ = png_create_info_struct(png_);
  if (!info_) return failed_ = true, false;
  if (setjmp(png_jmpbuf(png_))) return failed_ = true, false;
  png_set_write_fn(png_, this, &PngStream::onWrite, &PngStream::onFlush);
  startPicture(png_, info_, width, height);
  return true;
}

bool PngStream::writeRows(const std::uint8_t* first, std::ptrdiff_t stride, int count) {
  if (!png_ || failed_) return false;
  if (setjmp(png_jmpbuf(png_))) return failed_ = true, false;
  writeRowsOf(png_, first, stride, count);
  return true;
}

bool PngStream::finish() {
  if (!png_ || failed_) return false;
  if (setjmp(png_jmpbuf(png_))) return failed_ = true, false;
  png_write_end(png_, nullptr);
  return true;
}

}  // namespace kavel::gui
