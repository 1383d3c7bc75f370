#pragma once
// The program windows of the program set as children of the main window's MDI area: opening
// and closing them (with the save question of a modified Sub), the program items of the Window
// menu, the clipboard marks across windows and the hooks the program-file reader calls.

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

#include "core/Context.h"
#include "core/model/ProgramFile.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace kavel::gui {

class TfrmProg;
class Workbench;

class ProgramWindows : public QObject {
  Q_OBJECT

 public:
  ProgramWindows(Workbench& bench, Context& ctx);
  ~ProgramWindows() override;

  /// Where the windows live: the MDI area, and the menu whose end lists them.
  void attach(QMdiArea* area, QMenu* windowMenu);
  /// The Save command for the current program, run when the user answers Yes to the close
  /// question; false when it did not save.
  void setSaveCommand(std::function<bool()> save) { save_ = std::move(save); }

  /// The window of program `number`, or null while it is closed.
  TfrmProg* prog(int number) const;
  QMdiSubWindow* subWindow(int number) const;
  /// Captions of the program items of the Window menu, in order.
  QStringList menuItems() const;

  /// Opens (or shows) the window of program `number`; it becomes the current program.
  TfrmProg* open(int number);
  /// Closes a Sub window without asking: its rows are cleared and its menu item goes.
  void close(int number);
  /// Closes every Sub window above `number` without asking.
  void closeAbove(int number);
  /// Releases every window at the end of the run, without activation signals.
  void releaseAll();
  /// Marks every program closed (the start of the run).
  void markAllClosed();
  /// A program window became active: it is the current program now.
  void activate(int number);

  /// Asks whether a modified Sub window may close (message 41; Yes saves it first); true to
  /// close.
  bool mayClose(TfrmProg& prog);
  /// Before Sub windows above `number` are closed by a command: each modified one with rows is
  /// offered for saving as on closing; false when the user cancels or a save did not happen.
  bool offerToSaveSubsAbove(int number);

  /// Empties the row clipboard and clears the Cut and Copy marks of every window.
  void clearClipboard();
  void clearMarks();
  /// The MDI area's cursor: armed palette button, pending clipboard, or normal.
  void updateCursor();
  /// Repaints the rows of every window (grid, colour, armed button).
  void repaintAll();

  /// The program-file reader's hooks for reading into `prog`.
  ProgramFileHooks fileHooks(TfrmProg& prog);

 private:
  void rebuildMenu();
  QWidget* dialogParent() const;

  Workbench& bench_;
  Context& ctx_;
  QMdiArea* mdi_ = nullptr;
  QMenu* menu_ = nullptr;
  QList<QAction*> items_;
  std::array<TfrmProg*, 31> progs_{};
  std::array<QMdiSubWindow*, 31> subs_{};
  std::function<bool()> save_;
};

}  // namespace kavel::gui
