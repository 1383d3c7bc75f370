#pragma once
// The motor balance the board keeps: how much the left or the right motor is reduced, and a
// third setting 1..20. Travels as "B:%03d,%03d,%03d" both ways; "B:?" asks for it.

#include <string>
#include <string_view>

namespace kavel {

inline constexpr const char* kAskBalance = "B:?";
inline constexpr int kBalanceReplyTime = 500;  // ms the board has to answer "B:?" or a save
inline constexpr int kBalanceLimit = 240;      // the track bar runs from -240 to 240
inline constexpr int kThirdMin = 1;
inline constexpr int kThirdMax = 20;

/// What a "B:" reply shows.
struct BalanceReply {
  int left = 0;      // L as sent: the left motor's reduction
  int right = 0;     // R as sent
  int third = 1;     // U, at least 1
  int position = 0;  // where the track bar goes: -L when L > 0, else R when R > 0, else 0
};

/// Reads characters 3..5, 7..9 and 11..13 of `line` as L, R and U; L and R that are not numbers
/// read 0, U 1; U below 1 becomes 1. The position stays within the track bar's range.
BalanceReply parseBalanceReply(std::string_view line);

/// The left panel for track bar position `p`: p when p < 0, else 0.
inline int leftPanelValue(int p) { return p < 0 ? p : 0; }
/// The right panel for track bar position `p`: -p when p > 0, else 0.
inline int rightPanelValue(int p) { return p > 0 ? -p : 0; }

/// "B:%03d,%03d,%03d" with -p when p < 0 (else 0), p when p > 0 (else 0), and `third`.
std::string balanceSaveCommand(int position, int third);

/// The track bar moved by `delta` ("<<" -10, "<" -1, ">" +1, ">>" +10), kept within its range.
int stepBalance(int position, int delta);

/// The up and down buttons of the third setting: one step while inside 1..20.
inline int thirdUp(int third) { return third < kThirdMax ? third + 1 : third; }
inline int thirdDown(int third) { return third > kThirdMin ? third - 1 : third; }

}  // namespace kavel
