#pragma once
// Where the shell's small windows open and how their texts are sized.

class QLabel;
class QWidget;

namespace kavel::gui {

/// Centres a top-level window on the screen it is on (the primary screen when it has none).
void centreOnScreen(QWidget* window);

/// Centres a top-level window over another window; on the screen when `over` is null.
void centreOver(QWidget* window, const QWidget* over);

/// Sets a widget's font to a pixel height, optionally bold.
void setPixelFont(QWidget* widget, int pixels, bool bold);

/// Gives a word-wrapping label the largest font from `maxPixels` down to `minPixels` at which
/// its whole text fits the label; messages differ in length between languages and files.
void fitLabelFont(QLabel* label, int maxPixels, int minPixels);

}  // namespace kavel::gui
