#pragma once
// The small words the generated C is built from: comparison and variable operators, LED and
// level words, variable letters and the C text of an operand index (variables, timers,
// connectors, direction axes, ultrasonic sensors). Values outside the lists give empty text,
// letters outside A..Z printable ASCII give "?", so damaged values never read out of bounds.

#include <string>

#include "core/setup/IoSetup.h"

namespace kavel {

/// 0 "<", 1 ">", 2 "=="; anything else "".
std::string comparisonOperator(int digit);

/// The variable dialog's first operator list: 0 "=", 1 "==", 2 "!=", 3 "<", 4 "<=", 5 ">",
/// 6 ">="; anything else "".
std::string firstOperator(int item);

/// The second operator list: 1 "+", 2 "-", 3 "*", 4 "/", 5 "%"; anything else (0 none) "".
std::string secondOperator(int item);

/// 0 "LED_OFF", 1 "LED_ON"; anything else "".
std::string ledWord(int value);

/// 0 "LOW", 1 "HIGH"; anything else "".
std::string levelWord(int value);

/// The letter 'A' + offset ("A" for 0); "?" outside printable ASCII.
std::string letterFrom(int offset);

/// The C text of operand index n on this board: variables 1..26, timers 27..30, connectors
/// 31..40 (by their mode), direction axes 41..43 (by the fitted sensor), ultrasonic sensors
/// 44..47. 0 counts as 1; other indexes give "".
std::string operandText(int n, const IoSetup& io);

/// The C text of operand index n read from sub I/O board `board`: variables, timers and
/// connectors; "" for direction axes, ultrasonic sensors and unknown indexes.
std::string subBoardOperandText(int n, int board);

/// The mode of connector CN(index + 1); an index outside 0..9 reads as an analog input.
int connectorMode(const IoSetup& io, int index);

}  // namespace kavel
