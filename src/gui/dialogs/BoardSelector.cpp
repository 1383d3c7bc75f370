#include "gui/dialogs/BoardSelector.h"

#include <QMenu>

#include "core/dialogs/SubIoBoards.h"

namespace kavel::gui {

BoardSelector::BoardSelector(QWidget* parent) : QToolButton(parent), menu_(new QMenu(this)) {
  setAutoRaise(true);
  setFocusPolicy(Qt::StrongFocus);
  for (int b = 0; b <= kMaxSubIoBoard; ++b) {
    menu_->addAction(QString::fromStdString(boardMenuItem(b)), this, [this, b] { chooseBoard(b); });
  }
  menu_->addSeparator();
  menu_->addAction(QStringLiteral("Cancel"));
  connect(this, &QToolButton::clicked, this, [this] { openMenu(); });
  setBoard(0);
}

void BoardSelector::setBoard(int board) {
  board_ = boardOf(board);
  setText(QString::fromStdString(boardCaption(board_)));
}

void BoardSelector::openMenu() { menu_->popup(mapToGlobal(rect().bottomLeft() + QPoint(16, 16))); }

void BoardSelector::chooseBoard(int board) {
  setBoard(board);
  if (onChosen) onChosen(board_);
}

}  // namespace kavel::gui
