#pragma once
// How one statement row looks: its line number, its icon button with the statement's glyph and
// its value button with the row text, at the geometry of the program window (30-pixel rows, an
// 80-pixel icon button shifted 40 pixels per indent level, a value button of whole 40-pixel
// cells). The program window, the exported picture and the console's picture all paint rows
// through this one class, so they cannot drift apart. Needs QtGui only, no widgets.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <functional>

#include "core/model/Statement.h"

class QPainter;

namespace kavel::gui {

class Glyphs;

class RowPainter {
 public:
  static constexpr int kRowHeight = 30;
  static constexpr int kTop = 8;  // y of the first row's buttons
  static constexpr int kLineNumberX = 4;
  static constexpr int kValueTextMargin = 8;

  /// How a button is drawn and whether it shows pressed or under the mouse.
  struct ButtonState {
    bool sunken = false;
    bool hover = false;
  };
  /// Draws a button's face (frame and fill) into a rectangle; the window hands in its widget
  /// style, pictures use drawnFace.
  using FacePainter = std::function<void(QPainter& p, const QRect& rect, ButtonState state)>;

  /// `buttonFont` is the value buttons' font (bold); the line numbers use `lineFont`.
  RowPainter(const Glyphs& glyphs, QFont buttonFont, QFont lineFont);

  const QFont& buttonFont() const { return buttonFont_; }
  const QFont& lineFont() const { return lineFont_; }

  /// The row's icon button in layout coordinates (unscrolled).
  static QRect iconRect(int row, int level);
  /// The row's value button, null for rows without one (End, Else, Continue, Break).
  QRect valueRect(int row, const Statement& s, const QString& text) const;

  /// The workspace colour over `area`, and with the grid option the grid (pale green with white
  /// dotted lines every 40 pixels, on the left edges of the icon buttons) inside `gridArea`.
  static void paintBackground(QPainter& p, const QRect& area, const QRect& gridArea, const QColor& workspace,
                              bool grid);

  /// Paints row `row` with its layout origin at `origin` (the scroll offset).
  void paintRow(QPainter& p, const QPoint& origin, int row, const Statement& s, const QString& text,
                ButtonState icon, ButtonState value, bool marked, const FacePainter& face) const;

  /// A raised (or sunken) push-button face drawn with plain painter calls: exact in SVG.
  static void drawnFace(QPainter& p, const QRect& rect, ButtonState state);

 private:
  const Glyphs& glyphs_;
  QFont buttonFont_;
  QFont lineFont_;
};

}  // namespace kavel::gui
