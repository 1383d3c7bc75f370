#pragma once
// How each connector mode looks in the setup window and what choosing it from the connector's
// popup menu does. Pure data and rules; the window only draws them.

#include <array>
#include <cstdint>
#include <string>

#include "core/settings/ProductVariant.h"
#include "core/setup/IoSetup.h"

namespace kavel {

inline constexpr std::uint32_t kOutputColour = 0xC0DCC0;  // 0x00BBGGRR, pale green
inline constexpr std::uint32_t kInputColour = 0xF0CAA6;   // 0x00BBGGRR, pale blue

struct ConnectorModeInfo {
  const char* caption;      // panel caption
  const char* frameSuffix;  // after "CNnn" in the connector's frame
  const char* popupItem;    // popup menu item, with its accelerator
};

/// The table entry of modes 0..6; nullptr for any other value.
const ConnectorModeInfo* connectorModeInfo(int mode);

/// Panel caption of a mode on connector `connector` (1..10): the mode's caption, or the
/// connector label "CN%02d" for a mode outside 0..6.
std::string connectorCaption(int mode, int connector);

/// Frame text: "CN%02d" followed by the mode's frame suffix (none for modes outside 0..6).
std::string connectorFrameText(int mode, int connector);

/// Edit box colour: the output colour for OutL, OutH and Servo, else the input colour.
std::uint32_t connectorEditColour(int mode);

/// The connector name after the user chooses `newMode` on `connector` (1..10) whose mode was
/// `oldMode` and whose name is `name`. Choosing the mode the connector already has keeps the
/// name the user typed; changing to Input, 2-wire Input, OutL or OutH clears it, except that
/// OutL or OutH give CN9 "RED3" and CN10 "RED2" (their red LEDs) on variants 1 to 4. PingIn,
/// Servo and Thermistor always name the connector after the mode.
std::string nameWhenChosen(int connector, int oldMode, int newMode, const std::string& name,
                           ProductVariant variant);

/// Sets mode and name of `connector` (1..10) as choosing `mode` from its popup does. Out of
/// range connectors are ignored. The in-use flags are left to the setup window's OK.
void chooseConnectorMode(IoSetup& io, int connector, int mode, ProductVariant variant);

struct PopupItemState {
  bool shown = true;
  bool enabled = true;
};

/// The connector popup's items, indexed by the ConnectorMode each chooses.
struct ConnectorPopup {
  std::array<PopupItemState, 7> item;
  const PopupItemState& operator[](int mode) const { return item[mode]; }
};

/// Which popup items connector `connector` (1..10) offers given its neighbours' modes. PING is
/// offered on CN7..CN10 only so that ping sensors form a block ending at CN10; Servo only on
/// CN7 and CN8. "Input &2-Wire" is shown only once unlocked in the window.
ConnectorPopup connectorPopup(const IoSetup& io, int connector, bool twoWireUnlocked);

}  // namespace kavel
