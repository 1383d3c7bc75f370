#include "gui/editor/CodeEditor.h"

#include <QKeyEvent>
#include <QTextBlock>

#include "core/editor/CodeEditing.h"

namespace kavel::gui {

CodeEditor::CodeEditor(std::function<int()> tabWidth, QWidget* parent)
    : QPlainTextEdit(parent), tabWidth_(std::move(tabWidth)) {
  setObjectName("memoCode");
  setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Monospace");
  mono.setStyleHint(QFont::TypeWriter);
  setFont(mono);
  setTabChangesFocus(false);
}

int CodeEditor::caretLine() const { return textCursor().blockNumber() + 1; }
int CodeEditor::caretColumn() const { return textCursor().positionInBlock() + 1; }

void CodeEditor::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
    const int n = tabSpaces(textCursor().positionInBlock(), tabWidth_());
    insertPlainText(QString(n, QLatin1Char(' ')));
    event->accept();
    emit caretMoved();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    const std::string above = textCursor().block().text().toStdString();
    QPlainTextEdit::keyPressEvent(event);
    insertPlainText(QString::fromStdString(leadingSpaces(above)));
    emit caretMoved();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void CodeEditor::keyReleaseEvent(QKeyEvent* event) {
  QPlainTextEdit::keyReleaseEvent(event);
  emit caretMoved();
}

void CodeEditor::mouseReleaseEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  emit caretMoved();
}

}  // namespace kavel::gui
