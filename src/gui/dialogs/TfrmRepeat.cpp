#include "gui/dialogs/TfrmRepeat.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/UpDown.h"
#include "core/model/RepeatCount.h"

namespace kavel::gui {

TfrmRepeat::TfrmRepeat(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmRepeat");
  FormCreate();
}

void TfrmRepeat::FormCreate() {
  pnlRepeat = new QGroupBox(pnlBase);
  pnlRepeat->setObjectName("pnlRepeat");
  auto* row = new QHBoxLayout(pnlRepeat);
  row->setSpacing(4);
  edtRepeat = new QLineEdit(pnlRepeat);
  edtRepeat->setObjectName("edtRepeat");
  edtRepeat->setAlignment(Qt::AlignRight);
  edtRepeat->setMaxLength(12);
  edtRepeat->setFixedWidth(edtRepeat->fontMetrics().horizontalAdvance("0000000") + 12);
  udRepeat = new UpDown(edtRepeat, kRepeatCountMin, kRepeatCountMax, pnlRepeat);
  udRepeat->setObjectName("udRepeat");
  lblRepeat = new QLabel(pnlRepeat);
  lblRepeat->setObjectName("lblRepeat");
  row->addWidget(edtRepeat);
  row->addWidget(udRepeat);
  row->addSpacing(4);
  row->addWidget(lblRepeat);
  row->addStretch(1);
  focusOkOnEnter(edtRepeat);

  baseLayout()->addWidget(pnlRepeat);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmRepeat::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlRepeat->setTitle(msg(91));
  lblRepeat->setText(msg(127));
}

void TfrmRepeat::FormShow() {
  applyLanguage();
  udRepeat->setPosition(clampRepeatCount(ctx_.edit.val0));
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmRepeat::btnOkClick() {
  ctx_.edit.val0 = repeatCountFromText(edtRepeat->text().toStdString());
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
