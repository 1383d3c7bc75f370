#pragma once
// A PNG written a band of scanlines at a time, so a picture of a thousand rows never needs the
// whole image in memory at once. Takes scanlines as QImage::Format_RGB32 keeps them and writes
// 8-bit RGB.

#include <cstddef>
#include <cstdint>
#include <string>

struct png_struct_def;
struct png_info_def;

namespace kavel::gui {

class PngStream {
 public:
  /// The encoded bytes are appended to `out`.
  explicit PngStream(std::string& out);
  ~PngStream();
  PngStream(const PngStream&) = delete;
  PngStream& operator=(const PngStream&) = delete;

  /// Starts a picture of `width` x `height` pixels; false when it cannot be started.
  bool begin(int width, int height);
  /// Appends `count` scanlines, `stride` bytes apart, starting at `first`.
  bool writeRows(const std::uint8_t* first, std::ptrdiff_t stride, int count);
  /// Ends the picture; false when any step failed, with what() saying why.
  bool finish();

  const std::string& what() const { return what_; }

 private:
  static void onError(png_struct_def* png, const char* message);
  static void onWarning(png_struct_def* png, const char* message);
  static void onWrite(png_struct_def* png, unsigned char* data, std::size_t length);
  static void onFlush(png_struct_def* png);

  std::string& out_;
  png_struct_def* png_ = nullptr;
  png_info_def* info_ = nullptr;
  bool failed_ = false;
  std::string what_;
};

}  // namespace kavel::gui
