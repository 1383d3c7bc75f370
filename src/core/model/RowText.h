#pragma once
// The one-line summary each program row shows (and that printing repeats), and the geometry of
// a row's buttons. Pure functions of the statement and a few settings.

#include <array>
#include <functional>
#include <string>

#include "core/model/Statement.h"

namespace kavel {

struct RowTextContext {
  int language = 1;        // 0 Japanese, otherwise English
  int currentProgram = 0;  // 0 Main, 30 the interrupt routine
  std::array<int, 10> cnMode{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  bool useHmc = false;
  std::string timeUnit;  // message 126
};

/// The text of a row, trailer (file name or "  //" comment) included.
std::string composeRowText(const Statement& row, const RowTextContext& context);

/// The letter shown for list item n (1 -> "A" ... 26 -> "Z"); see letterForCode.
std::string itemLetter(int n);

/// The character with code `code` as UTF-8 text; codes outside printable ASCII, which only
/// damaged values produce, show as "?".
std::string letterForCode(int code);

/// Width of a value button for its text: 8 + text width + 4, at least 240, else whole 40-pixel
/// cells beyond 240 plus one.
int valueButtonWidth(const std::string& text, const std::function<int(const std::string&)>& measure);
int valueButtonWidthForTextWidth(int textWidth);

inline constexpr int kIconButtonWidth = 80;
inline constexpr int kIndentStep = 40;
/// x of a row's icon button and value button for its indent level.
inline int iconButtonX(int level) { return level * kIndentStep + 24; }
inline int valueButtonX(int level) { return level * kIndentStep + 104; }

}  // namespace kavel
