#pragma once
// Texts the serial sessions hold themselves, in Japanese (language 0) and English (any other
// language): what answered instead of the board, a boot loader nobody knows, and which
// connectors a board's configuration line changed.

#include <string>

namespace kavel {

/// "another board answered: "<answer>"": a port answered "Ver", but not as one of the boards.
std::string anotherBoardAnswered(const std::string& answer, int language);

/// The windows' question after a search that found another board instead of this one: what
/// answered, what to check, and that Yes tries again and No stops.
std::string anotherBoardQuestion(const std::string& answer, int language);

/// "no board answered "Ver" on <port> within <ms> ms".
std::string noAnswerText(const std::string& portName, int ms, int language);

/// A boot loader asked for the image without a banner this program knows: `banner` is the
/// line it showed (empty when it showed none). Nothing was sent.
std::string unknownLoaderText(const std::string& banner, int language);

}  // namespace kavel
