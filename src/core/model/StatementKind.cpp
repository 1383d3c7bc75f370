#include "core/model/StatementKind.h"

namespace kavel {

bool isKnownKind(int kind) {
  if (kind < 0 || kind > kCameraTest) return false;
  switch (kind) {
    case 11: case 12: case 16: case 17: case 18: case 42:
      return false;
    default:
      return true;
  }
}

}  // namespace kavel
