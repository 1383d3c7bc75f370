#include "gui/dialogs/TfrmVar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/dialogs/OperandList.h"
#include "core/dialogs/SubIoBoards.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "gui/dialogs/BoardSelector.h"

namespace kavel::gui {
namespace {

QComboBox* list(const char* name, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setMaxVisibleItems(16);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return c;
}

QLabel* label(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  return l;
}

}  // namespace

TfrmVar::TfrmVar(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmVar");
  FormCreate();
}

void TfrmVar::FormCreate() {
  pnlVar = new QGroupBox(pnlBase);
  pnlVar->setObjectName("pnlVar");
  auto* grid = new QGridLayout(pnlVar);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  lblVar1 = label("lblVar1", pnlVar);
  lblVar2 = label("lblVar2", pnlVar);
  lblOpe2 = label("lblOpe2", pnlVar);
  lblValue = label("lblValue", pnlVar);
  // The scale of a sensor input is 0..1023, so a percentage is multiplied by 10.23.
  lblValue->setToolTip(QString::fromUtf8("センサーと比較する場合は１０．２３倍して下さい。"));
  cmbVar1 = list("cmbVar1", pnlVar);
  cmbOpe1 = list("cmbOpe1", pnlVar);
  cmbVar2 = list("cmbVar2", pnlVar);
  cmbOpe2 = list("cmbOpe2", pnlVar);
  cmbValue = list("cmbValue", pnlVar);
  cmbValue->setEditable(true);
  cmbValue->setInsertPolicy(QComboBox::NoInsert);
  cmbValue->setCompleter(nullptr);
  cmbValue->setMinimumContentsLength(8);
  cmbValue->lineEdit()->setAlignment(Qt::AlignRight);
  btnID1 = new BoardSelector(pnlVar);
  btnID1->setObjectName("btnID1");
  btnID2 = new BoardSelector(pnlVar);
  btnID2->setObjectName("btnID2");

  grid->addWidget(lblVar1, 0, 1);
  grid->addWidget(lblVar2, 0, 4);
  grid->addWidget(lblOpe2, 0, 5);
  grid->addWidget(lblValue, 0, 6);
  grid->addWidget(btnID1, 1, 0);
  grid->addWidget(cmbVar1, 1, 1);
  grid->addWidget(cmbOpe1, 1, 2);
  grid->addWidget(btnID2, 1, 3);
  grid->addWidget(cmbVar2, 1, 4);
  grid->addWidget(cmbOpe2, 1, 5);
  grid->addWidget(cmbValue, 1, 6);

  pnlExpression = label("pnlExpression", pnlVar);
  pnlExpression->setAutoFillBackground(true);
  QPalette black = pnlExpression->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, Qt::white);
  pnlExpression->setPalette(black);
  QFont big = pnlExpression->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  pnlExpression->setFont(big);
  pnlExpression->setMargin(6);
  pnlExpression->setMinimumHeight(pnlExpression->fontMetrics().height() + 16);
  grid->addWidget(pnlExpression, 2, 0, 1, 7);

  for (const char* op : {"=", "==", "!=", "<", "<=", ">", ">="}) cmbOpe1->addItem(op);
  for (const char* op : {"", "+", "-", "*", "/", "%"}) cmbOpe2->addItem(op);
  for (int n = 1; n <= 26; ++n) cmbVar1->addItem(QString::fromStdString(itemLetter(n)));

  for (QComboBox* c : {cmbVar1, cmbOpe1, cmbVar2, cmbOpe2}) {
    connect(c, &QComboBox::activated, this, [this] { cmbChange(); });
  }
  connect(cmbValue, &QComboBox::activated, this, [this](int index) { cmbValueSelect(index); });
  connect(cmbValue->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { cmbValueEdited(t); });
  focusOkOnEnter(cmbValue->lineEdit());
  focusOkOnEnter(cmbValue);
  btnID1->onChosen = [this](int board) {
    chooseVariableBoard(form_, true, board);
    refresh();
  };
  btnID2->onChosen = [this](int board) {
    chooseVariableBoard(form_, false, board);
    refresh();
  };

  baseLayout()->addWidget(pnlVar);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmVar::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlVar->setTitle(msg(85));
  lblVar1->setText(msg(130));
  lblVar2->setText(msg(130));
  lblOpe2->setText(msg(132));
  lblValue->setText(msg(133));
  cmbOpe2->setItemText(0, msg(131));
}

void TfrmVar::buildLists() {
  operands_ = operandList(ctx_.io);
  const QSignalBlocker b2(cmbVar2);
  const QSignalBlocker bv(cmbValue);
  cmbVar2->clear();
  cmbValue->clear();
  cmbVar2->addItem(msg(131));
  cmbValue->addItem(msg(134));
  for (std::size_t i = 1; i < operands_.size(); ++i) {
    const QString entry = QString::fromStdString(operands_[i]);
    cmbVar2->addItem(entry);
    cmbValue->addItem(entry);
  }
}

void TfrmVar::FormShow() {
  applyLanguage();
  subIo_ = subIoMode(ctx_.io);
  statement_ = ctx_.edit.sno == kVariable;
  buildLists();
  form_ = variableFormOf(ctx_.edit.val0, ctx_.edit.val1, ctx_.edit.val2, ctx_.edit.cno == kVariableItem, subIo_,
                         static_cast<int>(operands_.size()));
  if (subIo_) {
    btnID1->setBoard(form_.targetBoard);
    btnID2->setBoard(form_.operandBoard);
  }
  refresh();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmVar::cmbChange() {
  form_.target = std::max(cmbVar1->currentIndex(), 0);
  form_.operator1 = std::max(cmbOpe1->currentIndex(), 0);
  form_.operand = std::max(cmbVar2->currentIndex(), 0);
  form_.operator2 = std::max(cmbOpe2->currentIndex(), 0);
  refresh();
}

void TfrmVar::cmbValueSelect(int index) {
  form_.valueItem = index;
  form_.valueText = cmbValue->currentText().toStdString();
  refresh();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmVar::cmbValueEdited(const QString& text) {
  form_.valueItem = -1;
  form_.valueText = text.toStdString();
  refresh();
}

void TfrmVar::refresh() {
  const std::string preview = refreshVariableForm(form_, statement_, subIo_, operands_);
  showForm();
  pnlExpression->setText(QString::fromStdString(preview));
}

void TfrmVar::showForm() {
  const QSignalBlocker b1(cmbVar1), b2(cmbOpe1), b3(cmbVar2), b4(cmbOpe2), b5(cmbValue);
  cmbVar1->setCurrentIndex(form_.target);
  cmbOpe1->setCurrentIndex(form_.operator1);
  cmbVar2->setCurrentIndex(form_.operand);
  cmbOpe2->setCurrentIndex(form_.operator2);
  if (form_.valueItem > 0) {
    cmbValue->setCurrentIndex(form_.valueItem);
  } else {
    cmbValue->setCurrentIndex(form_.valueItem);
    const QString text = QString::fromStdString(form_.valueText);
    if (cmbValue->lineEdit()->text() != text) cmbValue->lineEdit()->setText(text);
  }
  btnID1->setVisible(subIo_);
  btnID1->setEnabled(form_.targetBoardEnabled);
  btnID1->setBoard(form_.targetBoard);
  btnID2->setVisible(subIo_ && form_.operandBoardShown);
  btnID2->setEnabled(form_.operandBoardEnabled);
  btnID2->setBoard(form_.operandBoard);
}

void TfrmVar::btnOkClick() {
  const VariableValues v = packVariable(form_, subIo_, ctx_.edit.val2);
  ctx_.edit.cno = v.cno;
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  ctx_.edit.val2 = v.val2;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
