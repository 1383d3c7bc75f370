#pragma once
// The plain text editor of the C-code editing style: Tab inserts spaces up to the next stop and
// Enter repeats the indentation of the line above.

#include <QPlainTextEdit>

#include <functional>

namespace kavel::gui {

class CodeEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  /// `tabWidth` is asked at every Tab, so a changed setting applies at once.
  CodeEditor(std::function<int()> tabWidth, QWidget* parent);

  /// Line and column of the caret, both from 1.
  int caretLine() const;
  int caretColumn() const;

 signals:
  void caretMoved();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<int()> tabWidth_;
};

}  // namespace kavel::gui
