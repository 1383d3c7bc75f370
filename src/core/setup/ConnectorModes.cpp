#include "core/setup/ConnectorModes.h"

#include "core/text/Format.h"

namespace kavel {
namespace {

const ConnectorModeInfo kModes[7] = {
    {"Out (L)", " Out (L)", "Output (&L)"},
    {"Input", "", "&Input"},
    {"Out (H)", " Out (H)", "Output (&H)"},
    {"PING-In", " PING-In", "&PING ( Parallax )"},
    {"Servo", "", "&Servo"},
    {"2Wire-In", "", "Input &2-Wire"},
    {"Thermis", "", "&Thermistor"},
};

}  // namespace

const ConnectorModeInfo* connectorModeInfo(int mode) {
  return mode >= 0 && mode <= 6 ? &kModes[mode] : nullptr;
}

std::string connectorCaption(int mode, int connector) {
  if (const auto* info = connectorModeInfo(mode)) return info->caption;
  return text::format("CN%02d", connector);
}

std::string connectorFrameText(int mode, int connector) {
  std::string frame = text::format("CN%02d", connector);
  if (const auto* info = connectorModeInfo(mode)) frame += info->frameSuffix;
  return frame;
}

std::uint32_t connectorEditColour(int mode) {
  return mode == OutL || mode == OutH || mode == Servo ? kOutputColour : kInputColour;
}

std::string nameWhenChosen(int connector, int oldMode, int newMode, const std::string& name,
                           ProductVariant variant) {
  switch (newMode) {
    case PingIn:
      return "PING";
    case Servo:
      return "Servo";
    case Thermistor:
      return "Thermistor";
    default:
      break;
  }
  if (oldMode == newMode) return name;
  if ((newMode == OutL || newMode == OutH) && variant >= 1 && variant <= 4) {
    if (connector == 9) return "RED3";
    if (connector == 10) return "RED2";
  }
  return "";
}

void chooseConnectorMode(IoSetup& io, int connector, int mode, ProductVariant variant) {
  if (connector < 1 || connector > 10) return;
  const int i = connector - 1;
  io.cnName[i] = nameWhenChosen(connector, io.cnMode[i], mode, io.cnName[i], variant);
  io.cnMode[i] = mode;
}

ConnectorPopup connectorPopup(const IoSetup& io, int connector, bool twoWireUnlocked) {
  ConnectorPopup popup;
  popup.item[Input2Wire].shown = twoWireUnlocked;
  popup.item[Servo].shown = false;
  popup.item[PingIn].shown = false;
  if (connector < 7 || connector > 10) return popup;

  const auto isPing = [&](int cn) { return io.cnMode[cn - 1] == PingIn; };
  popup.item[PingIn].shown = true;
  // The ping block grows from CN10 downwards: PING only next to a connector already in it.
  popup.item[PingIn].enabled = connector == 10 || isPing(connector + 1);
  if (connector <= 8) popup.item[Servo].shown = true;
  // A connector that follows a ping connector must stay PING: anything else splits the block.
  if (connector >= 8 && isPing(connector - 1)) {
    for (int mode : {Input, Input2Wire, OutL, OutH, Thermistor, Servo}) popup.item[mode].enabled = false;
  }
  return popup;
}

}  // namespace kavel
