#pragma once
// The check boxes of the setup window and the rules that tie them together: which boxes exclude
// each other, which send the board back to master, what a slave identity clears, and what OK
// stores. The window keeps one QCheckBox per entry and runs these rules on their states.

#include <array>
#include <cstddef>
#include <string>

#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"

namespace kavel {

enum class SetupBox : int {
  ckAdv, ckDir, ckHmc, ckBno, ckMcb, ckLcd, ckCLF, ckCLS, ckUss, ckPixy, ckZBTM,
  ckWL102, ckWL103, ckWL109, ckSNX4410, ckID, ckMCU2620,
  count
};

inline constexpr std::size_t kSetupBoxCount = static_cast<std::size_t>(SetupBox::count);

struct SetupBoxes {
  std::array<bool, kSetupBoxCount> ticked{};
  int idItem = 0;  // cmbID: 0 "I/O[0]:Master", 1..8 "I/O[n]"
  bool& operator[](SetupBox b) { return ticked[static_cast<std::size_t>(b)]; }
  bool operator[](SetupBox b) const { return ticked[static_cast<std::size_t>(b)]; }
  bool operator==(const SetupBoxes&) const = default;
};

/// The boxes as the window loads them from `io` and the microcontroller setting.
SetupBoxes boxesOf(const IoSetup& io, bool mcu2620);

/// The user ticked or unticked `box` (its new state is already in `boxes`). Direction sensors
/// exclude each other; ticking an option module returns the identity to master (the colour
/// sensor does not); Advanced Mode clears every option either way; unticking the sub I/O box
/// returns the identity to master.
void boxClicked(SetupBoxes& boxes, SetupBox box);

/// The user chose identity `item` in the list: a slave (above 0) carries no option modules.
void identityChosen(SetupBoxes& boxes, int item);

/// Whether the identity list can be used: only while the sub I/O box is ticked.
inline bool identityEnabled(const SetupBoxes& boxes) { return boxes[SetupBox::ckID]; }

/// OK: stores the boxes into `io`, the record (kind, comment) and the microcontroller setting,
/// then encodes. Variants 3 and 4 always carry the LCD, except on a slave. The connector names
/// and in-use flags are left to the caller, which takes them from the edit boxes.
void storeSetupBoxes(SetupBoxes boxes, IoSetup& io, SetupRecord& record, AppSettings& settings,
                     const std::string& comment);

}  // namespace kavel
