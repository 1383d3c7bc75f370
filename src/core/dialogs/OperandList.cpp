#include "core/dialogs/OperandList.h"

#include "core/model/RowText.h"
#include "core/text/Format.h"

namespace kavel {

std::vector<std::string> operandList(const IoSetup& io) {
  std::vector<std::string> list{""};
  for (int n = 1; n <= 26; ++n) list.push_back(itemLetter(n));
  for (int t = 1; t <= 4; ++t) list.push_back(text::format("Timer%d", t));
  for (int c = 0; c < 10; ++c) {
    list.push_back(text::format("CN%d", c + 1) + (io.cnMode[static_cast<std::size_t>(c)] == PingIn ? ":PING" : ""));
  }
  if (io.useDir || io.useBno) {
    list.insert(list.end(), {"Dir", "Pitch", "Roll"});
  } else if (io.useHmc) {
    list.push_back("Dir(HMC)");
    if (io.useUss) list.insert(list.end(), {"---", "---"});
  } else if (io.useUss) {
    list.insert(list.end(), {"---", "---", "---"});
  }
  if (io.useUss) {
    for (int u = 1; u <= 4; ++u) list.push_back(text::format("Uss%d", u));
  }
  return list;
}

}  // namespace kavel
