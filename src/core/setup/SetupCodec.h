#pragma once
// Conversion between the decoded I/O setup (IoSetup) and its encoded form, the three decimal
// setup values kept in the setup record and written into program files and C source headers.

#include "core/setup/IoSetup.h"

namespace kavel {

struct AppSettings;

/// Computes the three setup values from `io` into `record` (kind and comment untouched).
void EncodeSetup(const IoSetup& io, SetupRecord& record);

/// Sets `io` from a setup kind and three setup values. A kind other than 7 or 8 changes nothing
/// and gives false. Each digit is read from the value's magnitude, so every mode and flag field
/// stays a single digit whatever a file holds. `outputInUse` and `servoInUse` are only raised.
/// Without `advancedMode` the three add-on module flags are cleared.
bool DecodeSetup(IoSetup& io, int kind, int first, int second, int third);

/// Returns the setup to the defaults of `settings.variant` (when `full`) and always: USS names
/// "USS-1".."USS-4" into `settings`, `interruptInUse` cleared, then EncodeSetup. The caller
/// refreshes the palette and the Setup button. The microcontroller is a setting (MCU2620_) and is left alone.
void ResetSetup(IoSetup& io, SetupRecord& record, AppSettings& settings, bool full);

/// Recomputes `outputInUse` (some of CN1..CN8 is OutL or OutH) and `servoInUse` (some of
/// CN1..CN8 is Servo) from scratch.
void recomputeConnectorUse(IoSetup& io);

/// The identity the setup window's list shows: `subIoId` in advanced mode, else the master.
int shownSubIoId(const IoSetup& io);

}  // namespace kavel
