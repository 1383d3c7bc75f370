#pragma once
// The names of send headers and delimiters stored in the settings, and the bytes they stand for.

#include <string>
#include <string_view>

namespace kavel {

struct AppSettings;

/// Bytes put in front of a sent text: "SOH" 0x01, "STX" 0x02, any other name nothing.
std::string sendHeaderBytes(std::string_view name);

/// Bytes put after a sent text: "ETX" 0x03, "CR" 0x0D, "LF" 0x0A, "CRLF" 0x0D 0x0A, any other
/// name nothing.
std::string sendDelimiterBytes(std::string_view name);

/// Code of a receive delimiter name: "ETX" 1, "CR" 2, "LF" 3, "CRLF" 4, any other name 0.
int RecvDelimiterCode(std::string_view name);

/// The bytes one SendText writes: header, text, delimiter.
std::string framedText(const AppSettings& settings, std::string_view text);

/// The speed a port is opened at: `baudRate` when it is one the boards use, else 9600.
int effectiveBaudRate(int baudRate);

}  // namespace kavel
