#pragma once
// The statement palette: its buttons with their places, kinds and hints, and when each button
// is shown and enabled.

#include <array>
#include <string_view>

namespace kavel {

struct IoSetup;

/// What decides whether a palette button is shown.
enum class PaletteShow {
  Always,
  OutputInUse,
  UseLcd,
  ServoInUse,
  UseMcb,    // and advancedMode
  UseUss,    // and advancedMode
  Advanced,  // advancedMode
  Never,
};

struct PaletteButton {
  std::string_view name;  // "btnMotor"
  int column;             // 1..3
  int row;                // 1..7
  int kind;               // statement kind inserted; -1 for none
  std::string_view hint;  // built-in hint, replaced by message `hintMessage` when there is one
  int hintMessage;        // 0: none
  PaletteShow show;
};

inline constexpr int kPaletteButtonWidth = 56;
inline constexpr int kPaletteButtonHeight = 36;

/// The 21 buttons in column order.
const std::array<PaletteButton, 21>& paletteButtons();

/// Top-left of a button inside the palette panel.
int paletteButtonX(int column);
int paletteButtonY(int row);

/// Whether a button is shown for the current I/O setup flags.
bool paletteButtonShown(const PaletteButton& button, const IoSetup& io);

/// Whether a button is enabled while program `current` (0 Main, 30 the interrupt routine) is
/// the current program: SubCall only in Main, Return only in Subs, and no motor, LCD, PWM,
/// ultrasonic, serial or servo statements in the interrupt routine.
bool paletteButtonEnabled(const PaletteButton& button, int current);

/// Width of the palette panel: to the right edge of the Timer button + 8 with two columns, of
/// the C-code button + 8 when the third column is shown. Height: to the Break button's bottom + 8.
int paletteWidth(bool thirdColumn);
int paletteHeight();

}  // namespace kavel
