#pragma once
// Answers for the questions and dialogs of the windows, given by a test in advance, so that
// GUI tests run the real handlers without a modal loop. Everything asked is recorded.

#include <QColor>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <QDialog>
#include <QPrinter>

#include "core/Context.h"
#include "gui/app/Prompts.h"
#include "gui/app/TfrmMsgBox.h"

namespace kavel::testing {

using gui::Answer;
using gui::EditOutcome;
using gui::PromptButtons;
using gui::PromptIcon;

struct Asked {
  PromptIcon icon;
  QString title;
  QString text;
  PromptButtons buttons;
};

class ScriptedPrompts : public gui::Prompts {
 public:
  /// Answers to the next questions, in order. With none left a question is answered No (or
  /// Ok for a message that only has Ok).
  std::deque<Answer> answers;
  std::vector<Asked> asked;

  std::deque<QString> openNames;
  std::deque<QString> saveNames;
  std::vector<QString> saveProposals;
  std::optional<QColor> colour;
  int language = 1;
  int languageQuestions = 0;

  /// What a statement dialog does: fills the edit buffer as the dialog would and says how it
  /// closed. Unset: Cancel.
  std::function<EditOutcome(DialogKind, gui::StatementDialog*)> edit;
  std::vector<DialogKind> dialogsOpened;
  std::vector<QPoint> dialogPositions;

  Answer ask(QWidget*, PromptIcon icon, const QString& title, const QString& text, PromptButtons buttons) override {
    asked.push_back({icon, title, text, buttons});
    if (!answers.empty()) {
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == PromptButtons::Ok ? Answer::Ok : Answer::No;
  }

  /// Answers to the next questions with buttons of their own: the index of the button. With
  /// none left the last button (cancel) is chosen.
  std::deque<int> choices;
  std::vector<QStringList> choiceButtons;
  int choose(QWidget*, PromptIcon icon, const QString& title, const QString& text, const QStringList& buttons) override {
    asked.push_back({icon, title, text, PromptButtons::Ok});
    choiceButtons.push_back(buttons);
    if (!choices.empty()) {
      const int c = choices.front();
      choices.pop_front();
      return c;
    }
    return static_cast<int>(buttons.size()) - 1;
  }

  QString openFileName(QWidget*, const QString&, const QString&, const QString& = {}) override {
    if (openNames.empty()) return {};
    const QString n = openNames.front();
    openNames.pop_front();
    return n;
  }

  QString saveFileName(QWidget*, const QString& proposed, const QString&, const QString&) override {
    saveProposals.push_back(proposed);
    if (saveNames.empty()) return {};
    const QString n = saveNames.front();
    saveNames.pop_front();
    return n;
  }

  std::optional<QColor> pickColor(QWidget*, const QColor&) override { return colour; }

  EditOutcome editStatement(QWidget*, DialogKind kind, gui::StatementDialog* dialog, const QPoint& pos) override {
    dialogsOpened.push_back(kind);
    dialogPositions.push_back(pos);
    return edit ? edit(kind, dialog) : EditOutcome::Cancel;
  }

  void chooseLanguage(QWidget*, Context& ctx) override {
    ++languageQuestions;
    ctx.settings.LANG_NO_ = language;
  }

  /// The mode question: the window is set up as when shown, then `mode` may work it (press
  /// Update ...) and the answer is returned.
  std::function<bool(gui::TfrmMsgBox&)> mode;
  std::vector<int> modeTags;
  bool askMode(gui::TfrmMsgBox& box, int tag) override {
    modeTags.push_back(tag);
    box.setTag(tag);
    box.FormShow();
    return mode ? mode(box) : false;
  }

  std::vector<QString> shown;  // object names of the windows shown modally
  std::function<void(QDialog&)> onShow;
  void showModal(QDialog& dialog) override {
    shown.push_back(dialog.objectName());
    if (onShow) onShow(dialog);
  }

  /// Printing goes into this PDF file; empty: the print dialog is cancelled.
  QString pdfPath;
  bool setUpPrinter(QWidget*, QPrinter& printer) override {
    if (pdfPath.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
  }

  /// The texts of everything asked since the last call, then forgets them.
  std::vector<QString> takeTexts() {
    std::vector<QString> out;
    for (const Asked& a : asked) out.push_back(a.text);
    asked.clear();
    return out;
  }
};

}  // namespace kavel::testing
