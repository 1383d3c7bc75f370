#pragma once
// The language editor: both message columns side by side in a grid, read from and written to
// the two message files. Whatever the grid holds goes back into the message table whenever
// the window closes, so edited texts take effect at once.

#include <QDialog>
#include <QString>

#include <functional>

#include "core/Context.h"

class QAction;
class QMenu;
class QMenuBar;
class QTableWidget;

namespace kavel::gui {

class TfrmLanguage : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRows = 160;  // row 0 titles, rows 1..159 messages
  static constexpr int kColumns = 3;
  static constexpr int kRowHeight = 18;

  /// A request for a file name; the answer is the chosen path, empty when cancelled.
  struct FileRequest {
    enum class Kind { Open, Save };
    Kind kind;
    QString filter;  // Qt filter string ("Name (*.Txt);;...")
    QString preset;  // the path the dialog starts at
  };
  using FileChooser = std::function<QString(const FileRequest&)>;

  explicit TfrmLanguage(Context& ctx, QWidget* parent = nullptr);

  /// Replaces the system file dialogs (tests answer without a modal dialog).
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

  /// Fills the grid from the message table; runs whenever the window is shown.
  void FormShow();
  /// Open: moves both message paths into the chosen file's folder and reloads both languages.
  /// A language whose file cannot be read there keeps its old path and texts, and the user is
  /// told which file was missing.
  void mmOpenClick();
  /// Save: moves both paths into the chosen folder and writes both files from the grid. A file
  /// that cannot be written keeps its old path, and the user is told.
  void mmSaveClick();
  void mmQuitClick();

  /// Copies rows 1..159 of the grid (an open cell editor included) into both table columns.
  void copyGridToTable();

  QMenuBar* mnuMain;
  QMenu* mmFile;
  QAction* mmOpen;
  QAction* mmSave;
  QAction* mmQuit;
  QTableWidget* gridMsg;

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString chooseFile(const FileRequest& request);
  void warn(const QString& text);

  Context& ctx_;
  FileChooser chooser_;
  class EditorTracker;
  EditorTracker* tracker_;
};

}  // namespace kavel::gui
