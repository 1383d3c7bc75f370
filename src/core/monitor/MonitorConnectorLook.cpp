#include "core/monitor/MonitorConnectorLook.h"

#include "core/setup/ConnectorModes.h"

namespace kavel {
namespace {

struct Row {
  const char* suffix;
  CaptionColour colour;
  std::uint32_t name;
  MonitorValueKind shows;
};

// Indexed by mode. " Input  2-Wire" carries two spaces, as the caption has always read.
constexpr Row kRows[] = {
    {" Output", CaptionColour::Blue, kOutputColour, MonitorValueKind::HighLow},
    {"", CaptionColour::Normal, kInputColour, MonitorValueKind::Percent},
    {" Output", CaptionColour::Blue, kOutputColour, MonitorValueKind::HighLow},
    {" PING", CaptionColour::Green, kInputColour, MonitorValueKind::Distance},
    {" Servo", CaptionColour::Blue, kOutputColour, MonitorValueKind::ServoPercent},
    {" Input  2-Wire", CaptionColour::Red, kInputColour, MonitorValueKind::Percent},
    {" Thermistor", CaptionColour::Normal, kInputColour, MonitorValueKind::Temperature},
};

}  // namespace

MonitorConnectorLook monitorConnectorLook(int mode, int connector, ProductVariant variant) {
  MonitorConnectorLook look;
  if (mode >= 0 && mode <= 6) {
    const Row& row = kRows[mode];
    look.captionChanged = true;
    look.caption = "CN" + std::to_string(connector) + row.suffix;
    look.captionColour = row.colour;
    look.nameColour = row.name;
    look.shows = row.shows;
  }
  const bool output = isOutputMode(mode);
  look.barVisible = !output;
  look.buttonVisible = output;
  look.trackBarVisible = mode == 4 && (connector == 7 || connector == 8);
  const ProductVariant v = normalizedVariant(variant);
  look.redLedButton = v >= 1 && v <= 4 && (connector == 9 || connector == 10);
  return look;
}

}  // namespace kavel
