#pragma once
// Where everything goes on a printed page of a program, in printer pixels. The painter only
// measures texts and draws at the places this class names, so the page maths is testable
// without a printer.

#include <vector>

namespace kavel {

struct PrintRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PrintRect&) const = default;
};

class PrintLayout {
 public:
  enum class Style { Statements, Code };

  /// `pageWidth`/`pageHeight`: the printable area; `dpiX`: horizontal resolution;
  /// `textHeight`: the line height of the font on the printer (the height of "W").
  PrintLayout(Style style, int pageWidth, int pageHeight, int dpiX, int textHeight);

  Style style() const { return style_; }
  /// The unit of pens and gaps: a 150-dpi dot, at least one pixel.
  int unit() const { return u_; }
  int left() const { return left_; }
  int right() const { return right_; }
  int top() const { return top_; }
  int bottom() const { return bottom_; }

  /// Statements: "W" + 16 units; code lines: "W" + 8 units.
  int rowHeight() const { return h_; }
  /// Width of a glyph box (statements): 80/30 of the row height.
  int iconWidth() const { return h_ * 80 / 30; }

  /// Top of the k-th row of a page (k from 0).
  int rowTop(int k) const { return firstRowTop() + k * h_; }
  int firstRowTop() const { return top_ + 3 * u_ + 8; }
  /// Rows that fit between the first row's top and the bottom margin; at least one, so a font
  /// taller than the page still prints (one row per page) instead of never advancing.
  int rowsPerPage() const;
  /// Pages for a program of `rows` rows; an empty program prints one page with its header.
  int pageCount(int rows) const;

  /// y of a row's number label and text: 8 units (statements) or 4 units (code) below its top.
  int textY(int rowTop) const;

  /// The framed glyph box of a statement row whose number label is `labelWidth` wide.
  PrintRect iconBox(int rowTop, int labelWidth, int level) const;
  /// Where the glyph sits inside its box.
  PrintRect glyphRect(const PrintRect& iconBox) const;
  /// The framed box of a row's text, 2 units right of the glyph box, the text plus two "W" wide.
  PrintRect textBox(const PrintRect& iconBox, int textWidth, int wWidth) const;
  /// x of a row's text: one "W" inside its box.
  int textX(const PrintRect& textBox, int wWidth) const { return textBox.x + wWidth; }

  /// x of a code line's text: 24 pixels after its number label.
  int codeTextX(int labelWidth) const { return left_ + labelWidth + 24; }

  /// x of the grid's dotted lines: every half glyph box from the first glyph column (after a
  /// "000:" label `zeroLabelWidth` wide) up to the right margin.
  std::vector<int> gridLines(int zeroLabelWidth) const;

  /// y of the "File:"/"Date:" line (two text lines above the top margin) and of the "Page:"
  /// line (one text line below the bottom margin).
  int headerY() const { return top_ - 2 * textHeight_; }
  int footerY() const { return bottom_ + textHeight_; }
  /// Right edge the "Date:" and "Page:" texts are aligned to.
  int rightTextEdge() const { return right_ - 10; }

 private:
  Style style_;
  int textHeight_;
  int u_;
  int left_, right_, top_, bottom_;
  int h_;
};

}  // namespace kavel
