#pragma once
// The flat button that says which sub I/O board a variable or connector belongs to. A click
// opens a menu of the boards beside it; choosing one sets the button.

#include <QToolButton>

#include <functional>

class QMenu;

namespace kavel::gui {

class BoardSelector final : public QToolButton {
  Q_OBJECT

 public:
  explicit BoardSelector(QWidget* parent);

  int board() const { return board_; }
  /// Sets the board (0..8) and the caption "I/O[n]" without telling anyone.
  void setBoard(int board);

  /// Opens the board menu 16 pixels right of and below the button's lower left corner.
  void openMenu();
  /// What choosing the menu item of `board` does: sets the board and runs onChosen.
  void chooseBoard(int board);

  QMenu* menu() const { return menu_; }
  /// Runs after the user chose a board ("Cancel" chooses nothing).
  std::function<void(int)> onChosen;

 private:
  QMenu* menu_;
  int board_ = 0;
};

}  // namespace kavel::gui
