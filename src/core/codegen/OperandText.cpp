#include "core/codegen/OperandText.h"

#include "core/model/RowText.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

using text::format;

template <std::size_t N>
std::string pick(const char* const (&words)[N], int i) {
  return i >= 0 && static_cast<std::size_t>(i) < N ? words[i] : "";
}

}  // namespace

std::string comparisonOperator(int digit) {
  static const char* const ops[] = {"<", ">", "=="};
  return pick(ops, digit);
}

std::string firstOperator(int item) {
  static const char* const ops[] = {"=", "==", "!=", "<", "<=", ">", ">="};
  return pick(ops, item);
}

std::string secondOperator(int item) {
  static const char* const ops[] = {"", "+", "-", "*", "/", "%"};
  return pick(ops, item);
}

std::string ledWord(int value) {
  static const char* const words[] = {"LED_OFF", "LED_ON"};
  return pick(words, value);
}

std::string levelWord(int value) {
  static const char* const words[] = {"LOW", "HIGH"};
  return pick(words, value);
}

std::string letterFrom(int offset) {
  // Keeps 'A' + offset inside int for any offset a value can produce.
  if (offset < -'A' || offset > 0x7E) return "?";
  return letterForCode('A' + offset);
}

int connectorMode(const IoSetup& io, int index) {
  if (index < 0 || index >= static_cast<int>(io.cnMode.size())) return Input;
  return io.cnMode[static_cast<std::size_t>(index)];
}

std::string operandText(int n, const IoSetup& io) {
  if (n == 0) n = 1;
  if (n >= 1 && n <= 26) return format("gV[VAR_%s]", letterFrom(n - 1).c_str());
  if (n >= 27 && n <= 30) return format("get_timer(T%d)", n - 26);
  if (n >= 31 && n <= 40) {
    const int c = n - 30;
    switch (connectorMode(io, c - 1)) {
      case PingIn:
        return format("get_ping(CN%d)", c);
      case Thermistor:
        return format("get_temp(gAD[CN%d])", c);
      default:
        return format("gAD[CN%d]", c);
    }
  }
  if (n >= 41 && n <= 43) {
    const int axis = n - 41;
    if (io.useHmc) return "get_hmc()";
    if (io.useDir) return format("get_dir(%d)", axis);
    if (io.useBno) return format("get_bno(%d)", axis);
    return "";
  }
  if (n >= 44 && n <= 47) return format("get_Uss(USS%d)", n - 43);
  return "";
}

std::string subBoardOperandText(int n, int board) {
  if (n == 0) n = 1;
  if (n >= 1 && n <= 26) return format("sub_io_get_gV(%d, VAR_%s)", board, letterFrom(n - 1).c_str());
  if (n >= 27 && n <= 30) return format("sub_io_get_gT(%d, T%d)", board, n - 26);
  if (n >= 31 && n <= 40) return format("sub_io_get_sensor(%d, CN%d)", board, n - 30);
  return "";
}

}  // namespace kavel
