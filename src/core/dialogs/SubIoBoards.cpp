#include "core/dialogs/SubIoBoards.h"

#include "core/text/Format.h"

namespace kavel {

bool subIoMode(const IoSetup& io) { return io.subIoOn && io.subIoId == 0; }

int boardOf(int digit) { return digit >= 0 && digit <= kMaxSubIoBoard ? digit : 0; }

std::string boardCaption(int board) { return text::format("I/O[%d]", board); }

std::string boardMenuItem(int board) { return text::format("I/O [%d]", board); }

}  // namespace kavel
