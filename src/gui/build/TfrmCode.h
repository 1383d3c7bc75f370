#pragma once
// The C-code window ("C-Code Library"): edits the C text of a CCode row or condition with the
// firmware library beside it, or, in the C-code editing style, stays open beside the program as
// a library browser that inserts entries at the caret of the source it is given.

#include <QPointer>

#include <array>
#include <string>

#include "core/codegen/CCodeLibrary.h"
#include "gui/dialogs/StatementDialog.h"

class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

namespace kavel::gui {

class Prompts;

class TfrmCode final : public StatementDialog {
  Q_OBJECT

 public:
  /// The library is read from `libraryPath` (by default "C-CodeLib.Txt" in the program folder)
  /// when the window is first shown; `prompts` shows the message of a missing file.
  TfrmCode(Context& ctx, QWidget* parent, Prompts* prompts = nullptr);
  ~TfrmCode() override;

  void usePrompts(Prompts& prompts) { prompts_ = &prompts; }
  void setLibraryPath(const std::string& path);

  /// Statement style, modal: splits the edit buffer's comment into code and remark. OK writes
  /// cmt only.
  void FormShow() override;
  void btnOkClick() override;
  /// C-code style, non-modal: shows the browser below `topLeft`; entries go into `target` at
  /// its caret. Close hides it again.
  void openBrowser(QPlainTextEdit* target, const QPoint& topLeft);
  bool isBrowser() const { return browser_; }

  /// Reads the library (again); a file that does not open gives "Can't Open C-CodeLib.Txt"
  /// and empty tables.
  void loadLibrary();
  const CCodeLibrary& library() const { return library_; }

  /// Inserts the code of the selected row of the active tab (the code button, a double click
  /// or Enter in a table).
  void btnCodeClick();
  void btnClearClick();
  /// Re-applies the column widths (tab change, resize).
  void applyColumnWidths();

  QSize sizeHint() const override;

  QTabWidget* tabLib = nullptr;
  QTableWidget* sGridFunc = nullptr;
  QTableWidget* sGridDef = nullptr;
  QTableWidget* sGridVar = nullptr;
  QLineEdit* edtCode = nullptr;
  QPushButton* btnClear = nullptr;
  QPushButton* btnCode = nullptr;
  QLabel* lblRemark = nullptr;
  QLineEdit* edtRemark = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void fillTables();
  void selectMatchingRow();
  void showStyle(bool browser);
  QTableWidget* grid(CCodeTable t) const;

  Prompts* prompts_;
  Prompts* ownPrompts_ = nullptr;
  std::string libraryPath_;
  bool loaded_ = false;
  bool browser_ = false;
  CCodeLibrary library_;
  QPointer<QPlainTextEdit> target_;
};

}  // namespace kavel::gui
