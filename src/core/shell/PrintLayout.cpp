#include "core/shell/PrintLayout.h"

#include <algorithm>

namespace kavel {

PrintLayout::PrintLayout(Style style, int pageWidth, int pageHeight, int dpiX, int textHeight)
    : style_(style),
      textHeight_(std::max(textHeight, 1)),
      u_(std::max(dpiX / 150, 1)),
      left_(pageWidth * 5 / 100),
      right_(pageWidth - pageWidth * 5 / 100),
      top_(pageHeight * 5 / 100),
      bottom_(pageHeight - pageHeight * 5 / 100),
      h_(textHeight_ + (style == Style::Statements ? 16 : 8) * u_) {}

int PrintLayout::rowsPerPage() const { return std::max((bottom_ - firstRowTop()) / h_, 1); }

int PrintLayout::pageCount(int rows) const {
  if (rows <= 0) return 1;
  const int perPage = rowsPerPage();
  return (rows + perPage - 1) / perPage;
}

int PrintLayout::textY(int rowTop) const {
  return rowTop + (style_ == Style::Statements ? 8 : 4) * u_;
}

PrintRect PrintLayout::iconBox(int rowTop, int labelWidth, int level) const {
  const int i = iconWidth();
  return {left_ + labelWidth + level * i / 2 + 24, rowTop, i, h_ - 3 * u_};
}

PrintRect PrintLayout::glyphRect(const PrintRect& box) const {
  const int insetX = u_ + (iconWidth() - h_ * 52 / 28) / 2 + 1;
  const int insetY = u_ + 1;
  return {box.x + insetX, box.y + insetY, std::max(box.width - 2 * insetX, 1),
          std::max(box.height - 2 * insetY, 1)};
}

PrintRect PrintLayout::textBox(const PrintRect& box, int textWidth, int wWidth) const {
  return {box.x + box.width + 2 * u_, box.y, textWidth + 2 * wWidth, box.height};
}

std::vector<int> PrintLayout::gridLines(int zeroLabelWidth) const {
  std::vector<int> xs;
  const int step = std::max(iconWidth() / 2, 1);
  for (int x = left_ + zeroLabelWidth + 24; x <= right_; x += step) xs.push_back(x);
  return xs;
}

}  // namespace kavel
