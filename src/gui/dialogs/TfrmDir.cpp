#include "gui/dialogs/TfrmDir.h"
#include "gui/dialogs/DialogButton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "core/model/RowText.h"
#include "core/modules/DirectionValues.h"

namespace kavel::gui {
namespace {

QPushButton* stepButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 44); }

}  // namespace

TfrmDir::TfrmDir(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmDir");
  FormCreate();
}

void TfrmDir::FormCreate() {
  pnlDir = new QGroupBox(pnlBase);
  pnlDir->setObjectName("pnlDir");
  auto* box = new QVBoxLayout(pnlDir);
  auto* axes = new QHBoxLayout;
  rbDir = new QRadioButton("Dir", pnlDir);
  rbDir->setObjectName("rbDir");
  rbPitch = new QRadioButton("Pitch", pnlDir);
  rbPitch->setObjectName("rbPitch");
  rbRoll = new QRadioButton("Roll", pnlDir);
  rbRoll->setObjectName("rbRoll");
  for (QRadioButton* rb : {rbDir, rbPitch, rbRoll}) {
    axes->addWidget(rb);
    connect(rb, &QRadioButton::clicked, this, [this] { rbAxisClick(); });
  }
  axes->addStretch(1);
  box->addLayout(axes);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(16);
  columns->addWidget(makeColumn(true));
  columns->addWidget(makeColumn(false));
  box->addLayout(columns);

  baseLayout()->addWidget(pnlDir);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  rbDir->setChecked(true);
  applyRanges();
  applyLanguage();
}

QWidget* TfrmDir::makeColumn(bool target) {
  auto* column = new QWidget(pnlDir);
  auto* grid = new QGridLayout(column);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(column);
  label->setObjectName(target ? "lblJudge" : "lblRange");
  auto* list = new QComboBox(column);
  list->setObjectName(target ? "cmbJudge" : "cmbRange");
  list->setMaxVisibleItems(14);
  auto* slider = new QSlider(Qt::Vertical, column);
  slider->setObjectName(target ? "tBarJudge" : "tBarRange");
  slider->setPageStep(10);
  slider->setTickPosition(QSlider::TicksBothSides);
  slider->setMinimumHeight(180);
  focusOkOnEnter(slider);
  auto* buttons = new QVBoxLayout;
  QPushButton* up10 = stepButton(target ? "btnUp10Deg" : "btnUp10Range", "+10", column);
  QPushButton* up1 = stepButton(target ? "btnUp01Deg" : "btnUp01Range", "+1", column);
  QPushButton* down1 = stepButton(target ? "btnDown01Deg" : "btnDown01Range", "-1", column);
  QPushButton* down10 = stepButton(target ? "btnDown10Deg" : "btnDown10Range", "-10", column);
  buttons->addStretch(1);
  for (QPushButton* b : {up10, up1, down1, down10}) buttons->addWidget(b);
  buttons->addStretch(1);
  grid->addWidget(label, 0, 0, 1, 2);
  grid->addWidget(list, 1, 0, 1, 2);
  grid->addWidget(slider, 2, 0, Qt::AlignHCenter);
  grid->addLayout(buttons, 2, 1);

  if (target) {
    lblJudge = label;
    cmbJudge = list;
    tBarJudge = slider;
    btnUp10Deg = up10;
    btnUp01Deg = up1;
    btnDown01Deg = down1;
    btnDown10Deg = down10;
    connect(slider, &QSlider::valueChanged, this, [this] { tBarJudgeChange(); });
    connect(list, &QComboBox::activated, this, [this] { cmbJudgeCloseUp(); });
    connect(up10, &QPushButton::clicked, this, [this] { btnUp10DegClick(); });
    connect(up1, &QPushButton::clicked, this, [this] { btnUp01DegClick(); });
    connect(down1, &QPushButton::clicked, this, [this] { btnDown01DegClick(); });
    connect(down10, &QPushButton::clicked, this, [this] { btnDown10DegClick(); });
  } else {
    lblRange = label;
    cmbRange = list;
    tBarRange = slider;
    btnUp10Range = up10;
    btnUp01Range = up1;
    btnDown01Range = down1;
    btnDown10Range = down10;
    connect(slider, &QSlider::valueChanged, this, [this] { tBarRangeChange(); });
    connect(list, &QComboBox::activated, this, [this] { cmbRangeCloseUp(); });
    connect(up10, &QPushButton::clicked, this, [this] { btnUp10RangeClick(); });
    connect(up1, &QPushButton::clicked, this, [this] { btnUp01RangeClick(); });
    connect(down1, &QPushButton::clicked, this, [this] { btnDown01RangeClick(); });
    connect(down10, &QPushButton::clicked, this, [this] { btnDown10RangeClick(); });
  }
  return column;
}

void TfrmDir::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlDir->setTitle(ctx_.io.useHmc ? QStringLiteral("HMC6352 Sensor") : msg(112));
  lblJudge->setText(msg(135));
  lblRange->setText(msg(136));
}

int TfrmDir::axis() const {
  if (rbPitch->isChecked()) return kAxisPitch;
  if (rbRoll->isChecked()) return kAxisRoll;
  return kAxisDir;
}

void TfrmDir::applyRanges() {
  const DirectionRanges r = directionRanges(axis(), ctx_.io.useBno);
  tBarJudge->setRange(0, r.targetMax);
  tBarJudge->setTickInterval(r.targetTick);
  tBarRange->setRange(0, r.toleranceMax);
  tBarRange->setTickInterval(r.toleranceTick);
}

void TfrmDir::writeCaptions() {
  if (cmbJudge->count() == 0) return;
  cmbJudge->setItemText(0, QString::fromStdString(degreeCaption(tBarJudge->value())));
  cmbRange->setItemText(0, QString::fromStdString(degreeCaption(tBarRange->value())));
}

void TfrmDir::rebuildLists() {
  for (QComboBox* list : {cmbJudge, cmbRange}) {
    list->clear();
    list->addItem(QString());
    for (int k = 1; k <= 26; ++k) list->addItem(QString("%1 %2").arg(msg(130), QString::fromStdString(itemLetter(k))));
  }
  writeCaptions();
}

void TfrmDir::FormShow() {
  loading_ = true;
  const DirectionTest t = directionTestOf(ctx_.edit.val0, ctx_.edit.val1, ctx_.io.useBno);
  (t.axis == kAxisPitch ? rbPitch : t.axis == kAxisRoll ? rbRoll : rbDir)->setChecked(true);
  applyRanges();
  applyLanguage();
  for (QRadioButton* rb : {rbDir, rbPitch, rbRoll}) rb->setVisible(!ctx_.io.useHmc);
  tBarJudge->setValue(t.target);
  tBarRange->setValue(t.tolerance);
  rebuildLists();
  cmbJudge->setCurrentIndex(t.targetSource);
  cmbRange->setCurrentIndex(t.toleranceSource);
  loadComment();
  loading_ = false;
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmDir::rbAxisClick() {
  // A value the narrower range cuts is not a choice of the user: the sources stay.
  loading_ = true;
  applyRanges();
  loading_ = false;
  writeCaptions();
}

void TfrmDir::tBarJudgeChange() {
  writeCaptions();
  if (!loading_) cmbJudge->setCurrentIndex(0);
}

void TfrmDir::tBarRangeChange() {
  writeCaptions();
  if (!loading_) cmbRange->setCurrentIndex(0);
}

void TfrmDir::step(QSlider* slider, int delta) {
  slider->setValue(slider->value() + delta);
  writeCaptions();
  (slider == tBarJudge ? cmbJudge : cmbRange)->setCurrentIndex(0);
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmDir::btnUp10DegClick() { step(tBarJudge, 10); }
void TfrmDir::btnUp01DegClick() { step(tBarJudge, 1); }
void TfrmDir::btnDown01DegClick() { step(tBarJudge, -1); }
void TfrmDir::btnDown10DegClick() { step(tBarJudge, -10); }
void TfrmDir::btnUp10RangeClick() { step(tBarRange, 10); }
void TfrmDir::btnUp01RangeClick() { step(tBarRange, 1); }
void TfrmDir::btnDown01RangeClick() { step(tBarRange, -1); }
void TfrmDir::btnDown10RangeClick() { step(tBarRange, -10); }

void TfrmDir::cmbJudgeCloseUp() { btnOk->setFocus(Qt::OtherFocusReason); }
void TfrmDir::cmbRangeCloseUp() { btnOk->setFocus(Qt::OtherFocusReason); }

void TfrmDir::btnOkClick() {
  const DirectionValues v = packDirectionTest({axis(), tBarJudge->value(), tBarRange->value(),
                                               std::max(0, cmbJudge->currentIndex()),
                                               std::max(0, cmbRange->currentIndex())});
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
