#pragma once
// Every question, file choice and modal dialog the main window and the program windows put to
// the user goes through here, so tests can answer them without a modal loop.

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

#include "core/editor/StatementEditing.h"

class QDialog;
class QPrinter;
class QWidget;

namespace kavel {
struct Context;
}

namespace kavel::gui {

class StatementDialog;
class TfrmMsgBox;

enum class Answer { Ok, Yes, No, Cancel };
enum class PromptIcon { Question, Warning, Information };
enum class PromptButtons { Ok, YesNo, YesNoCancel };

/// How a statement dialog ended. Unavailable: this version has no such dialog yet; the caller
/// keeps the row as it is.
enum class EditOutcome { Ok, Cancel, Unavailable };

class Prompts {
 public:
  virtual ~Prompts() = default;

  /// A message box.
  virtual Answer ask(QWidget* parent, PromptIcon icon, const QString& title, const QString& text,
                     PromptButtons buttons);

  /// A question with buttons of its own (`buttons`, the last one cancels): the index of the
  /// button chosen, -1 when the box was closed otherwise.
  virtual int choose(QWidget* parent, PromptIcon icon, const QString& title, const QString& text,
                     const QStringList& buttons);

  /// A file to open, chosen in `folder` with a Qt filter ("Kavel (*.Kvl);;All Files (*)");
  /// empty when cancelled.
  virtual QString openFileName(QWidget* parent, const QString& folder, const QString& filter,
                               const QString& preset = {});

  /// A file to save to, proposed as `proposed` (a path without extension), asking before
  /// overwriting; the default suffix is added when the user types none. Empty when cancelled.
  virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                               const QString& defaultSuffix);

  virtual std::optional<QColor> pickColor(QWidget* parent, const QColor& initial);

  /// The system print dialog; true when the user chose to print.
  virtual bool setUpPrinter(QWidget* parent, QPrinter& printer);

  /// Runs a statement dialog modally with its top-left at `pos`. `dialog` is null when this
  /// version has no dialog of that kind: the user is told so and the result is Unavailable.
  virtual EditOutcome editStatement(QWidget* parent, DialogKind kind, StatementDialog* dialog, const QPoint& pos);

  /// Asks for the language on the first run with the start-up window; the answer is in
  /// LANG_NO_ of the settings (0 Japanese, 1 English) afterwards.
  virtual void chooseLanguage(QWidget* parent, Context& ctx);

  /// The mode question window with tag `tag`; true when answered Yes. Update may change the
  /// stored mode on the way.
  virtual bool askMode(TfrmMsgBox& box, int tag);

  /// Shows one of the program's own windows modally (version window, language editor).
  virtual void showModal(QDialog& dialog);

  /// Tells the user that a command of a later version is not there yet.
  void notAvailable(QWidget* parent, const QString& what);
};

}  // namespace kavel::gui
