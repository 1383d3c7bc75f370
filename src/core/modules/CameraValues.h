#pragma once
// The camera test: a colour signature, the picture areas (a 3 x 3 grid) where it must be seen
// and a size limit, packed into val0 and val1.

#include <array>
#include <string>

namespace kavel {

inline constexpr int kCameraSignatures = 7;
inline constexpr int kCameraWidthMin = 10;
inline constexpr int kCameraWidthMax = 310;
inline constexpr int kCameraHeightMin = 10;
inline constexpr int kCameraHeightMax = 190;
inline constexpr int kCameraLimitStep = 10;

enum CameraSizeMode : int { kSizeNone = 0, kSizeSmaller = 1, kSizeLarger = 2 };

/// Area marks 1..9 (index 0..8), row by row from the top left.
using CameraAreas = std::array<bool, 9>;

struct CameraTest {
  int signature = 1;    // 0 "Get Pixy", 1..7 Sig1..Sig7
  int positionCode = 0; // three digits, one per grid row; 0 no position test
  int sizeMode = kSizeNone;
  int width = 50;       // 10..310
  int height = 50;      // 10..190
  bool operator==(const CameraTest&) const = default;
};

/// The test a row holds: a signature outside 0..7 becomes 0; a size mode other than 1 or 2 is
/// none; the limits are clamped to their ranges.
CameraTest cameraTestOf(int val0, int val1);

struct CameraValues {
  int val0 = 0;
  int val1 = 0;
  bool operator==(const CameraValues&) const = default;
};

/// val0 = signature * 100000 + position code * 100 + size mode, val1 = width * 1000 + height;
/// both 0 for "Get Pixy".
CameraValues packCameraTest(const CameraTest& test);

/// The position code of the marked areas: the units digit is row 1, the tens row 2, the
/// hundreds row 3; in each digit bit 0 is the row's first area.
int positionCodeOf(const CameraAreas& areas);
/// The marks a position code names (the bits 0..2 of each digit).
CameraAreas areasOf(int positionCode);

struct CameraPreview {
  int width = 0;
  int height = 0;
  bool operator==(const CameraPreview&) const = default;
};

/// The size preview drawn over the 240 x 150 area grid for a 320 x 200 camera picture.
CameraPreview cameraSizePreview(int width, int height);

/// The label beside the limit button: "w:%d x h:%d  ".
std::string cameraSizeCaption(int width, int height);

/// "Get Pixy" for 0, else "Sig%d".
std::string cameraSignatureCaption(int signature);

/// The signature the icon button steps to: 1..7 round, "Get Pixy" stays.
int nextCameraSignature(int signature);

}  // namespace kavel
