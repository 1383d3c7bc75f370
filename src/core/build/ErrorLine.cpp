#include "core/build/ErrorLine.h"

#include "core/build/ErrorPosition.h"

namespace kavel {

ErrorLineTarget errorLineTarget(const std::string& outputLine, const std::vector<std::string>& paneLines,
                                const std::vector<LineOrigin>& origins) {
  ErrorLineTarget target;
  const ErrorPosition position = errorPosition(outputLine);
  if (!position.found || position.number < 1 || static_cast<std::size_t>(position.number) > paneLines.size()) {
    return target;
  }
  target.found = true;
  target.paneLine = position.number - 1;
  const std::string& line = paneLines[static_cast<std::size_t>(target.paneLine)];
  const std::string_view bare = withoutLinePrefix(line);
  if (bare.size() < line.size()) target.shownNumber = line.substr(0, line.size() - bare.size() - 1);
  if (origins.size() == paneLines.size()) {
    const LineOrigin& origin = origins[static_cast<std::size_t>(target.paneLine)];
    target.program = origin.program;
    target.row = origin.row;
  }
  return target;
}

}  // namespace kavel
