#pragma once
// Texts the main window and the program windows compose from the message table.

#include <string>

namespace kavel {

/// The closing question for a modified program: its title followed by `message41`, with a line
/// break in front of the quoted Yes ("「はい」" in Japanese, "\"Yes\"" otherwise) when the
/// message holds it.
std::string closeQuestionText(const std::string& programTitle, const std::string& message41, int language);

/// Status panel 0 of a program window in statement mode: "P:%d/%d" with the selected row number
/// (from 1, clamped to the row count) and the row count.
std::string rowPositionText(int selectedRow, int rowCount);

}  // namespace kavel
