#include "core/modules/CameraValues.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {

CameraTest cameraTestOf(int val0, int val1) {
  CameraTest t;
  const int signature = val0 / 100000;
  t.signature = signature >= 0 && signature <= kCameraSignatures ? signature : 0;
  t.positionCode = std::max(0, val0 / 100 % 1000);
  const int size = val0 % 10;
  t.sizeMode = size == kSizeSmaller || size == kSizeLarger ? size : kSizeNone;
  t.width = std::clamp(val1 / 1000, kCameraWidthMin, kCameraWidthMax);
  t.height = std::clamp(val1 % 1000, kCameraHeightMin, kCameraHeightMax);
  return t;
}

CameraValues packCameraTest(const CameraTest& t) {
  if (t.signature == 0) return {};
  return {t.signature * 100000 + t.positionCode * 100 + t.sizeMode, t.width * 1000 + t.height};
}

int positionCodeOf(const CameraAreas& areas) {
  int code = 0;
  int digit = 1;
  for (int row = 0; row < 3; ++row, digit *= 10) {
    int bits = 0;
    for (int col = 0; col < 3; ++col) {
      if (areas[static_cast<std::size_t>(row * 3 + col)]) bits |= 1 << col;
    }
    code += bits * digit;
  }
  return code;
}

CameraAreas areasOf(int positionCode) {
  CameraAreas areas{};
  int code = std::max(0, positionCode);
  for (int row = 0; row < 3; ++row, code /= 10) {
    for (int col = 0; col < 3; ++col) areas[static_cast<std::size_t>(row * 3 + col)] = (code % 10) & (1 << col);
  }
  return areas;
}

CameraPreview cameraSizePreview(int width, int height) { return {width * 240 / 320, height * 150 / 200}; }

std::string cameraSizeCaption(int width, int height) { return text::format("w:%d x h:%d  ", width, height); }

std::string cameraSignatureCaption(int signature) {
  return signature == 0 ? std::string("Get Pixy") : text::format("Sig%d", signature);
}

int nextCameraSignature(int signature) {
  if (signature == 0) return 0;
  return signature >= kCameraSignatures ? 1 : signature + 1;
}

}  // namespace kavel
