#include "core/setup/SetupCodec.h"

#include <cstdint>
#include <cstdlib>

#include "core/settings/AppSettings.h"

namespace kavel {
namespace {

/// Decimal digit `place` (0 = units) of |value|.
int digit(int value, int place) {
  std::int64_t v = std::llabs(static_cast<std::int64_t>(value));
  for (int i = 0; i < place; ++i) v /= 10;
  return static_cast<int>(v % 10);
}

bool bit(int value, int n) { return ((value >> n) & 1) != 0; }

// Outputs and servos on CN1..CN8 raise their in-use flags; nothing here clears them.
void raiseConnectorUse(IoSetup& io) {
  for (int i = 0; i < 8; ++i) {
    if (io.cnMode[i] == OutL || io.cnMode[i] == OutH) io.outputInUse = true;
    if (io.cnMode[i] == Servo) io.servoInUse = true;
  }
}

}  // namespace

void EncodeSetup(const IoSetup& io, SetupRecord& record) {
  const auto& m = io.cnMode;
  record.setupValue[0] = m[0] * 100000 + m[1] * 10000 + m[2] * 1000 + m[3] * 100 + m[4] * 10 + m[5];
  record.setupValue[1] = m[6] * 100000 + m[7] * 10000 + m[8] * 1000 + m[9] * 100 +
                         io.subIoOn * 20 + io.advancedMode * 10 + io.subIoId;
  record.setupValue[2] = io.useDir * 1 + io.useMcb * 2 + io.useLcd * 4 + io.useSnx4410 * 10 +
                         io.useHmc * 20 + io.useClf * 40 + io.useWl102 * 100 + io.useWl103 * 200 +
                         io.useWl109 * 400 + io.useUss * 1000 + io.useBno * 2000 +
                         io.useCls * 4000 + io.usePixy * 10000 + io.useZbtm * 20000;
}

bool DecodeSetup(IoSetup& io, int kind, int first, int second, int third) {
  if (kind != 7 && kind != 8) return false;
  io.subIoOn = kind == 8;

  for (int i = 0; i < 6; ++i) io.cnMode[i] = digit(first, 5 - i);
  for (int i = 0; i < 4; ++i) io.cnMode[6 + i] = digit(second, 5 - i);

  const int t = digit(second, 1);
  io.advancedMode = bit(t, 0);
  io.subIoOn = bit(t, 1);
  io.subIoId = digit(second, 0);

  const int c = digit(third, 0);
  io.useDir = bit(c, 0);
  io.useMcb = bit(c, 1);
  io.useLcd = bit(c, 2) && io.subIoId == 0;  // a slave board drives no LCD
  const int d = digit(third, 1);
  io.useSnx4410 = bit(d, 0);
  io.useHmc = bit(d, 1);
  io.useClf = bit(d, 2);
  const int e = digit(third, 2);
  io.useWl102 = bit(e, 0);
  io.useWl103 = bit(e, 1);
  io.useWl109 = bit(e, 2);
  const int f = digit(third, 3);
  io.useUss = bit(f, 0);
  io.useBno = bit(f, 1);
  io.useCls = bit(f, 2);
  const int g = digit(third, 4);
  io.usePixy = bit(g, 0);
  io.useZbtm = bit(g, 1);

  raiseConnectorUse(io);
  if (!io.advancedMode) {
    io.useWl102 = false;
    io.useWl103 = false;
    io.useWl109 = false;
  }
  return true;
}

void ResetSetup(IoSetup& io, SetupRecord& record, AppSettings& settings, bool full) {
  if (full) {
    io.subIoOn = false;
    io.subIoId = 0;
    io.advancedMode = false;
    io.useDir = io.useHmc = io.useBno = io.useLcd = io.useMcb = false;
    io.useClf = io.useCls = io.useUss = io.usePixy = io.useZbtm = false;
    io.useSnx4410 = io.useWl102 = io.useWl103 = io.useWl109 = false;
    io.outputInUse = false;
    io.servoInUse = false;
    record.setupKind = 7;
    record.setupComment.clear();

    const ProductVariant v = normalizedVariant(settings.variant);
    const VariantInfo& info = variantInfo(v);
    for (int i = 0; i < 10; ++i) {
      io.cnMode[i] = info.connectorModes[i];
      io.cnName[i] = info.connectorNames[i];
    }
    if (v == 0) io.outputInUse = true;
    if (v >= 3) io.useLcd = true;
  }
  settings.ussName = {"USS-1", "USS-2", "USS-3", "USS-4"};
  io.interruptInUse = false;
  EncodeSetup(io, record);
}

void recomputeConnectorUse(IoSetup& io) {
  io.outputInUse = false;
  io.servoInUse = false;
  raiseConnectorUse(io);
}

int shownSubIoId(const IoSetup& io) { return io.advancedMode ? io.subIoId : 0; }

}  // namespace kavel
