#include "core/comm/LinkFraming.h"

#include <algorithm>
#include <array>

#include "core/settings/AppSettings.h"

namespace kavel {

std::string sendHeaderBytes(std::string_view name) {
  if (name == "SOH") return "\x01";
  if (name == "STX") return "\x02";
  return {};
}

std::string sendDelimiterBytes(std::string_view name) {
  if (name == "ETX") return "\x03";
  if (name == "CR") return "\r";
  if (name == "LF") return "\n";
  if (name == "CRLF") return "\r\n";
  return {};
}

int RecvDelimiterCode(std::string_view name) {
  if (name == "ETX") return 1;
  if (name == "CR") return 2;
  if (name == "LF") return 3;
  if (name == "CRLF") return 4;
  return 0;
}

std::string framedText(const AppSettings& settings, std::string_view text) {
  std::string bytes = sendHeaderBytes(settings.SendHead);
  bytes.append(text);
  bytes += sendDelimiterBytes(settings.SendDlmt);
  return bytes;
}

int effectiveBaudRate(int baudRate) {
  static constexpr std::array<int, 10> kRates{1200, 2400, 4800, 9600, 19200, 38400, 56000, 57600, 76800, 115200};
  return std::find(kRates.begin(), kRates.end(), baudRate) != kRates.end() ? baudRate : 9600;
}

}  // namespace kavel
