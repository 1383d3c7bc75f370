#pragma once
// The window of one program of the program set (Main or Sub-N): its rows painted in a RowView,
// the edit popup menu with the shared row clipboard, the statement dialogs opened for a row,
// the C-code editor of the C-code editing style and the read-only view of the generated code.

#include <QColor>
#include <QIcon>
#include <QWidget>

#include <string>
#include <vector>

#include "core/Context.h"
#include "core/editor/EditHistory.h"
#include "core/editor/Placement.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;

namespace kavel::gui {

class CodeEditor;
class Glyphs;
class RowView;
class StatementDialog;
class Workbench;

class TfrmProg : public QWidget {
  Q_OBJECT

 public:
  /// The window of program `number` (0 Main, 1..30 Sub-N), empty and not modified.
  TfrmProg(Workbench& bench, Context& ctx, int number, QWidget* parent = nullptr);
  ~TfrmProg() override;

  int number() const { return number_; }
  Program& program();
  const Program& program() const;

  RowView* rowView() const { return rowView_; }
  CodeEditor* memoCode() const { return memoCode_; }
  QPlainTextEdit* memoView() const { return memoView_; }
  QMenu* pmEdit() const { return pmEdit_; }
  QAction* pmChangeCondition() const { return pmChangeCondition_; }
  QAction* pmCut() const { return pmCut_; }
  QAction* pmCopy() const { return pmCopy_; }
  QAction* pmPaste() const { return pmPaste_; }
  QAction* pmDelete() const { return pmDelete_; }
  QAction* pmDiscard() const { return pmDiscard_; }
  QAction* pmCancel() const { return pmCancel_; }
  QAction* pmUndo() const { return pmUndo_; }
  QAction* pmRedo() const { return pmRedo_; }
  /// Text of status panel 0, 1 or 2.
  QString panelText(int panel) const;

  // --- what the row view shows ---------------------------------------------------------------
  QString rowText(int row) const;
  QIcon glyphFor(const Statement& row) const;
  /// The statement glyphs the rows are painted with.
  const Glyphs& glyphs() const;
  bool rowPressed(int row) const;
  bool gridOn() const;
  QColor workspaceColour() const;
  int armedKind() const;

  /// Rows in the statement style; text lines in the C-code style.
  int rowCount() const;

  // --- clicks and keys (the user's entry points) ---------------------------------------------
  void iconClick(int row);
  void valueClick(int row);
  /// A click on the layout area outside the buttons.
  void layoutClick();
  void keyDelete();
  void keyCut();
  void keyCopy();
  void keyPaste();
  void keyEscape();

  /// Opens the edit popup menu for `row` (the row count: the position after the last row).
  void openPopup(int row);
  int popupRow() const { return popupRow_; }
  /// Sets the enabling of the popup items for `row` without showing the menu.
  void preparePopup(int row);
  void pmChangeConditionClick();
  void pmCutClick();
  void pmCopyClick();
  void pmPasteClick();
  void pmDeleteClick();
  void pmDiscardClick();
  void pmCancelClick();
  void pmUndoClick();
  void pmRedoClick();

  // --- operations ------------------------------------------------------------------------------
  /// Inserts a statement of `kind` from the palette in front of `row` with its automatic rows
  /// and opens its dialog. The caller has checked that the insertion is allowed.
  void insertStatement(int row, int kind);
  /// Opens the dialog of the row's subject kind (the value button).
  void editRow(int row);
  /// Opens the condition chooser for an If, ElseIf or While row.
  void changeCondition(int row);
  void cutRows(int row);
  void copyRows(int row);
  /// Pastes the clipboard in front of `row`; false (after message 124) when not allowed.
  bool pasteRows(int row);
  void deleteRows(int row);
  void discardClipboard();
  void cancelCopy();

  /// Removes every row (Sub windows of removed SubCall rows close).
  void clearRows();
  /// Clears the Cut and Copy marks and unpresses the copied rows.
  void clearMarks();
  bool cutMark() const { return clipMark_ == ClipMark::Cut; }
  bool copyMark() const { return clipMark_ == ClipMark::Copy; }

  /// The program is saved (false) or changed besides its rows (true, e.g. its I/O setup): the
  /// undo history's saved state follows, so that undo never clears a mark it did not set.
  void setModified(bool modified);
  /// Reads a program file into the window (rows replaced); false when it was not read whole.
  /// A file that stopped at a damaged line keeps the rows before it, marked modified; the
  /// reason is shown unless `reportDamage` is false (the caller has said it already).
  bool readFile(const QString& path);
  /// The same for a path of file-system bytes, which need not be UTF-8.
  bool readFile(const std::string& path, bool reportDamage = true);
  /// Writes the window's rows to a program file; false when it failed.
  bool writeFile(const QString& path);
  /// The same for a path of file-system bytes, which need not be UTF-8.
  bool writeFile(const std::string& path);
  /// Rows changed elsewhere (a reader, the main window): repaint and renew the status. Rows
  /// changed past the undo history start a new one, since its steps no longer fit them.
  void rowsChanged();
  /// Main's SubCall rows were named after the file of a Sub just saved or opened: a step of the
  /// undo history, and Main is modified.
  void subCallNamesChanged();

  // --- undo and redo ---------------------------------------------------------------------------
  /// Takes back the last change of the rows (in the C-code style the text editor's own undo).
  /// False when there was nothing to undo, or a Sub window it would close was kept (Cancel).
  bool undo();
  /// Applies the last undone change again; false as for undo.
  bool redo();
  bool canUndo() const;
  bool canRedo() const;
  /// The captions of the Undo and Redo items, the step named: "&Undo Delete Row 12".
  QString undoCaption() const;
  QString redoCaption() const;
  const EditHistory& history() const { return history_; }
  void refreshTitle();
  void applyLanguage();
  /// Panel 0: the position of row `row` ("P:%d/%d").
  void showPosition(int row);
  /// Shows row `row` to the user: selected and scrolled into view, or in the C-code style the
  /// caret at the start of text line `row` (both from 0). Out of range: nothing.
  void selectRow(int row);
  void scrollToTopLeft();

  // --- C-code style and code view ------------------------------------------------------------
  void setCodeStyle(bool on);
  bool codeStyle() const { return codeStyle_; }
  /// Main's text in the C-code style, line by line.
  std::vector<std::string> codeLines() const;
  void setCodeLines(const std::vector<std::string>& lines);
  void setCodeViewVisible(bool visible);
  bool codeViewVisible() const;
  void regenerateCodeView();

  /// Where the layout area lies on the screen for the placement rules.
  LayoutOrigin layoutOrigin() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class ClipMark { None, Cut, Copy };

  void buildPopup();
  /// Records what the rows became since the last step as a step named `name`; the modified
  /// mark follows the history (an operation that changed nothing leaves it as it was).
  void recordStep(const StepName& name);
  /// The rows as they stand start a new history (a file read, the rows cleared).
  void resetHistory();
  /// Before an edit: rows changed past the history (the build reads Main again from its file)
  /// start a new one, so that no step is recorded or undone against rows it does not fit.
  void beginEdit();
  /// Undo (true) or redo (false) of one step with what it does to the Sub windows.
  bool moveInHistory(bool back);
  /// Sets the modified flag and what shows it, without touching the history.
  void showModified(bool modified);
  /// Repaints the rows and renews the status after an edit of this window.
  void refreshRows();
  /// The condition chooser for `row` and the dialog of the chosen condition.
  void conditionDialog(std::size_t row);
  void refuse(int message);
  /// Removes the block starting at `row`; Sub windows of removed SubCall rows close.
  void removeBlock(std::size_t row);
  /// Before a confirmed block goes: each modified Sub window its SubCall rows would close is
  /// offered for saving; false when the user cancels (the operation stops).
  bool mayCloseCalledSubs(std::size_t row);
  void insertMarks(std::size_t at, std::size_t count);
  void eraseMarks(std::size_t first, std::size_t count);
  void markBlock(std::size_t row, bool pressed);
  /// Runs the dialog for the edit buffer's subject kind on `row` and takes its result.
  void runEdit(std::size_t row);
  /// After the sub-program dialog closed with OK on `row` (a SubCall or Return row whose values
  /// before the dialog were `before`): assigns the Sub number, closes and opens Sub windows and
  /// reads the called file.
  void finishSubProgEdit(std::size_t row, const Statement& before);
  QPoint dialogPos(std::size_t row, const QSize& dialogSize) const;
  /// The size `dialog` will have once its show handler has laid it out for the edit buffer.
  static QSize shownSize(StatementDialog* dialog);
  void updateStatus();
  void onCodeChanged();

  Workbench& bench_;
  Context& ctx_;
  const int number_;

  RowView* rowView_ = nullptr;
  CodeEditor* memoCode_ = nullptr;
  QPlainTextEdit* memoView_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QStatusBar* sBar_ = nullptr;
  QLabel* panels_[3] = {};
  QMenu* pmEdit_ = nullptr;
  QAction* pmChangeCondition_ = nullptr;
  QAction* pmCut_ = nullptr;
  QAction* pmCopy_ = nullptr;
  QAction* pmPaste_ = nullptr;
  QAction* pmDelete_ = nullptr;
  QAction* pmDiscard_ = nullptr;
  QAction* pmCancel_ = nullptr;
  QAction* pmUndo_ = nullptr;
  QAction* pmRedo_ = nullptr;

  std::vector<char> pressed_;  // per row: drawn pressed (cut, copy or delete mark)
  ClipMark clipMark_ = ClipMark::None;
  int popupRow_ = 0;
  bool codeStyle_ = false;
  bool loadingCode_ = false;

  EditHistory history_;
  std::vector<Statement> recorded_;  // the rows as the history's last step left them
};

}  // namespace kavel::gui
