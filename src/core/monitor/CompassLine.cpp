#include "core/monitor/CompassLine.h"

#include "core/monitor/ModuleField.h"
#include "core/setup/IoSetup.h"

namespace kavel {

CompassModel compassModelOf(const IoSetup& io) {
  if (io.useHmc) return CompassModel::Hmc6352;
  if (io.useDir) return CompassModel::SixD;
  if (io.useBno) return CompassModel::NineD;
  return CompassModel::None;
}

std::string compassTitle(CompassModel model) {
  switch (model) {
    case CompassModel::Hmc6352: return "SNX4402(HMC6352)";
    case CompassModel::SixD: return "SNX5501(6D-Compass)";
    case CompassModel::NineD: return "SNX6603(9D-Compass)";
    case CompassModel::None: break;
  }
  return {};
}

std::string compassCaption(CompassModel model) { return "Compass Monitor : " + compassTitle(model); }

bool showsPitchRoll(CompassModel model) { return model == CompassModel::SixD || model == CompassModel::NineD; }

CompassCell compassCellOf(int index) {
  if ((index >= 0 && index <= 3) || (index >= 5 && index <= 8)) return {index + 1, true};
  return {5, false};
}

CompassReading readCompassLine(std::string_view line, CompassModel model) {
  CompassReading r;
  r.heading = moduleField(line, 3, 3, 999);
  r.drawsNeedle = r.heading < 360;
  const int pitchIndex = model == CompassModel::NineD ? moduleField(line, 7, 3, 360) / 40
                                                      : moduleField(line, 7, 3, 90) / 20;
  r.pitch = compassCellOf(pitchIndex);
  r.roll = compassCellOf(moduleField(line, 11, 3, 90) / 20);
  return r;
}

}  // namespace kavel
