#include "core/monitor/PixyLine.h"

#include "core/monitor/ModuleField.h"
#include "core/text/Format.h"

namespace kavel {

PixyFrame readPixyLine(std::string_view line, const std::array<std::uint32_t, 7>& colours) {
  PixyFrame frame;
  for (int block = 0; block < kPixyMaxBlocks; ++block) {
    const int start = 7 + 20 * block;
    if (static_cast<std::size_t>(start) > line.size()) break;
    const int s = moduleField(line, start, 3, 0);
    if (s == 0) break;
    // Only seven signatures have a colour; a number beyond them would reach past the table.
    if (s < 1 || s > kPixyMaxBlocks) continue;
    const int x = moduleField(line, start + 4, 3, 0);
    const int y = moduleField(line, start + 8, 3, 0);
    const int w = moduleField(line, start + 12, 3, 0);
    const int h = moduleField(line, start + 16, 3, 0);
    PixyBox box;
    box.signature = s;
    box.left = 2 * x - w + kCameraOrigin;
    box.right = box.left + 2 * w;
    box.top = 2 * y - h + kCameraOrigin;
    box.bottom = box.top + 2 * h;
    box.colour = colours[static_cast<std::size_t>(s - 1)];
    frame.boxes.push_back(box);
    frame.status += text::format("[%d]x:%3d(w:%3d), y:%3d(h:%3d) ", s, x, w, y, h);
  }
  return frame;
}

}  // namespace kavel
