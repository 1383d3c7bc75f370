#include "core/setup/SetupBoxes.h"

#include <array>

#include "core/setup/SetupCodec.h"

namespace kavel {

using enum SetupBox;

namespace {

// The modules a slave board cannot carry.
constexpr std::array kSlaveClears{ckDir, ckHmc, ckBno, ckMcb, ckLcd, ckCLF, ckCLS,
                                  ckUss, ckPixy, ckZBTM, ckWL102, ckWL103, ckWL109, ckSNX4410};

bool sendsBackToMaster(SetupBox b) {
  switch (b) {
    case ckDir: case ckHmc: case ckBno: case ckMcb: case ckLcd: case ckCLF: case ckUss: case ckPixy:
    case ckZBTM: case ckWL102: case ckWL103: case ckWL109: case ckSNX4410:
      return true;
    default:
      return false;
  }
}

bool variantCarriesLcd(ProductVariant v) { return v > 2; }

}  // namespace

SetupBoxes boxesOf(const IoSetup& io, bool mcu2620) {
  SetupBoxes b;
  b[ckAdv] = io.advancedMode;
  b[ckDir] = io.useDir;
  b[ckHmc] = io.useHmc;
  b[ckBno] = io.useBno;
  b[ckMcb] = io.useMcb;
  b[ckLcd] = io.useLcd;
  b[ckCLF] = io.useClf;
  b[ckCLS] = io.useCls;
  b[ckUss] = io.useUss;
  b[ckPixy] = io.usePixy;
  b[ckZBTM] = io.useZbtm;
  b[ckWL102] = io.useWl102;
  b[ckWL103] = io.useWl103;
  b[ckWL109] = io.useWl109;
  b[ckSNX4410] = io.useSnx4410;
  b[ckID] = io.subIoOn;
  b[ckMCU2620] = mcu2620;
  b.idItem = shownSubIoId(io);
  return b;
}

void boxClicked(SetupBoxes& b, SetupBox box) {
  if (box == ckAdv) {
    for (SetupBox c : {ckDir, ckHmc, ckBno, ckMcb, ckLcd, ckUss, ckCLF, ckCLS, ckPixy, ckZBTM, ckID,
                       ckWL102, ckWL103, ckWL109, ckSNX4410}) {
      b[c] = false;
    }
    b.idItem = 0;
    return;
  }
  if (box == ckID) {
    if (!b[ckID]) b.idItem = 0;
    return;
  }
  if (!b[box]) return;
  if (box == ckDir || box == ckHmc || box == ckBno) {
    for (SetupBox c : {ckDir, ckHmc, ckBno}) {
      if (c != box) b[c] = false;
    }
  }
  if (sendsBackToMaster(box)) b.idItem = 0;
}

void identityChosen(SetupBoxes& b, int item) {
  b.idItem = item >= 0 && item <= 8 ? item : 0;
  if (b.idItem > 0) {
    for (SetupBox c : kSlaveClears) b[c] = false;
  }
}

void storeSetupBoxes(SetupBoxes b, IoSetup& io, SetupRecord& record, AppSettings& settings,
                     const std::string& comment) {
  if (b[ckID]) {
    io.subIoOn = true;
    if (b.idItem > 0) identityChosen(b, b.idItem);
  } else {
    io.subIoOn = false;
    b.idItem = 0;
  }
  io.advancedMode = b[ckAdv];
  io.useMcb = b[ckMcb];
  io.useDir = b[ckDir];
  io.useHmc = b[ckHmc];
  io.useClf = b[ckCLF];
  io.useCls = b[ckCLS];
  io.useUss = b[ckUss];
  io.useBno = b[ckBno];
  io.usePixy = b[ckPixy];
  io.useZbtm = b[ckZBTM];
  io.subIoId = b.idItem;
  if (io.subIoId > 0) {
    io.useLcd = false;
  } else {
    io.useLcd = variantCarriesLcd(settings.variant) || b[ckLcd];
  }
  io.useWl102 = b[ckWL102];
  io.useWl103 = b[ckWL103];
  io.useWl109 = b[ckWL109];
  io.useSnx4410 = b[ckSNX4410];
  settings.MCU2620_ = b[ckMCU2620] ? 1 : 0;
  record.setupComment = comment;
  record.setupKind = io.subIoOn ? 8 : 7;
  EncodeSetup(io, record);
}

}  // namespace kavel
