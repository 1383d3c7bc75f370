#include "gui/dialogs/StatementDialog.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kavel::gui {
namespace {

constexpr int kFrame = 2;  // the frame around pnlBase
constexpr int kCommentGap = 4;
constexpr int kCommentRightMargin = 8;

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

StatementDialog::StatementDialog(Context& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ctx_(ctx) {
  setModal(true);
  // The frame is the dialog's own background around the panel.
  QPalette framePalette = palette();
  framePalette.setColor(QPalette::Window, framePalette.color(QPalette::Dark));
  setPalette(framePalette);
  setAutoFillBackground(true);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(kFrame, kFrame, kFrame, kFrame);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  pnlBase = new QFrame(this);
  pnlBase->setObjectName("pnlBase");
  pnlBase->setFrameShape(QFrame::NoFrame);
  pnlBase->setPalette(QGuiApplication::palette());
  pnlBase->setAutoFillBackground(true);
  outer->addWidget(pnlBase);
  baseLayout_ = new QVBoxLayout(pnlBase);
  baseLayout_->setContentsMargins(8, 8, 8, 8);
  baseLayout_->setSpacing(8);
}

void StatementDialog::btnOkClick() { accept(); }

void StatementDialog::btnCancelClick() { reject(); }

void StatementDialog::applyLanguage() {
  if (lblCmt) lblCmt->setText(msg(125));
}

bool StatementDialog::execAt(const QPoint& pos) {
  FormShow();
  placeAt(pos);
  return exec() == QDialog::Accepted;
}

void StatementDialog::fitToContents() {
  // Controls shown or hidden while the dialog was closed leave stale size caches behind;
  // closed windows get no layout pass of their own.
  for (QLayout* l : findChildren<QLayout*>()) l->invalidate();
  for (QWidget* w : findChildren<QWidget*>()) w->updateGeometry();
  layout()->activate();
  adjustSize();
}

void StatementDialog::placeAt(const QPoint& pos) {
  fitToContents();
  QPoint p = pos;
  const QScreen* screen = QGuiApplication::screenAt(pos);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    // The dialog is borderless, so its size is its frame's size.
    p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.left() + area.width() - width())));
    p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.top() + area.height() - height())));
  }
  move(p);
}

bool StatementDialog::edtCmtKeyPress(int key) {
  if (!isEnter(key) || !btnOk) return false;
  btnOk->setFocus(Qt::OtherFocusReason);
  return true;
}

QString StatementDialog::msg(int n) const { return QString::fromStdString(ctx_.messages(n)); }

QVBoxLayout* StatementDialog::baseLayout() const { return baseLayout_; }

QWidget* StatementDialog::makeCommentRow() {
  auto* row = new QWidget(pnlBase);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, kCommentRightMargin - baseLayout_->contentsMargins().right(), 0);
  layout->setSpacing(kCommentGap);
  lblCmt = new QLabel(row);
  lblCmt->setObjectName("lblCmt");
  edtCmt = new QLineEdit(row);
  edtCmt->setObjectName("edtCmt");
  // Comments may be typed in Japanese.
  edtCmt->setAttribute(Qt::WA_InputMethodEnabled, true);
  edtCmt->setMinimumWidth(200);
  layout->addWidget(lblCmt);
  layout->addWidget(edtCmt, 1);
  focusOkOnEnter(edtCmt);
  return row;
}

QWidget* StatementDialog::makeButtonRow(bool withOk) {
  auto* row = new QWidget(pnlBase);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  if (withOk) {
    btnOk = new QPushButton("OK", row);
    btnOk->setObjectName("btnOk");
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    layout->addWidget(btnOk);
  }
  btnCancel = new QPushButton("Cancel", row);
  btnCancel->setObjectName("btnCancel");
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  layout->addWidget(btnCancel);
  return row;
}

void StatementDialog::focusOkOnEnter(QWidget* field) { field->installEventFilter(this); }

void StatementDialog::loadComment() {
  if (edtCmt) edtCmt->setText(QString::fromStdString(ctx_.edit.cmt));
}

void StatementDialog::storeComment() {
  if (edtCmt) ctx_.edit.cmt = edtCmt->text().toStdString();
}

bool StatementDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (edtCmtKeyPress(key->key())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void StatementDialog::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event->key())) {
    if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()); button && button->isEnabled()) {
      button->click();
    }
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    btnCancelClick();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kavel::gui
