#include "gui/dialogs/TfrmSpeed.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialogs/DialogButton.h"
#include "gui/app/Glyphs.h"
#include "core/model/MotorPattern.h"
#include "core/model/RowText.h"

namespace kavel::gui {
namespace {

constexpr int kTickStep = 20;
constexpr QSize kGlyphSize(56, 36);

QPushButton* stepButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 44); }

}  // namespace

TfrmSpeed::TfrmSpeed(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmSpeed");
  FormCreate();
}

void TfrmSpeed::FormCreate() {
  pnlSpeed = new QGroupBox(pnlBase);
  pnlSpeed->setObjectName("pnlSpeed");
  auto* sides = new QHBoxLayout(pnlSpeed);
  sides->setSpacing(12);
  sides->addWidget(makeSide(true));

  btnIcon = new QToolButton(pnlSpeed);
  btnIcon->setObjectName("btnIcon");
  // Never takes the focus, so a click knows which side was worked on last.
  btnIcon->setFocusPolicy(Qt::NoFocus);
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  sides->addWidget(btnIcon, 0, Qt::AlignCenter);

  sides->addWidget(makeSide(false));
  baseLayout()->addWidget(pnlSpeed);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());

  for (QComboBox* list : {cmbLSpeed, cmbRSpeed}) {
    list->addItem(list == cmbLSpeed ? "L:100" : "R:100");
    for (int k = 1; k <= kMotorVariableItems; ++k) list->addItem(QString::fromStdString(itemLetter(k)));
    list->setCurrentIndex(0);
  }
  applyLanguage();
}

QWidget* TfrmSpeed::makeSide(bool left) {
  auto* side = new QWidget(pnlSpeed);
  auto* grid = new QGridLayout(side);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);

  auto* list = new QComboBox(side);
  list->setObjectName(left ? "cmbLSpeed" : "cmbRSpeed");
  list->setMaxVisibleItems(14);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list->setMinimumContentsLength(7);  // "L:-100%"

  auto* slider = new QSlider(Qt::Vertical, side);
  slider->setObjectName(left ? "tBarLSpeed" : "tBarRSpeed");
  slider->setRange(kMotorSpeedMin, kMotorSpeedMax);
  slider->setTickInterval(kTickStep);
  slider->setPageStep(kTickStep);
  slider->setSingleStep(1);
  slider->setTickPosition(QSlider::TicksBothSides);
  // Position -100 at the top: the speed is the negated position, so full forward is at the
  // top, and the Up key moves the handle up.
  slider->setInvertedAppearance(true);
  slider->setInvertedControls(true);
  slider->setFocusPolicy(Qt::StrongFocus);
  slider->setMinimumHeight(201);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  QPushButton* up10 = stepButton(left ? "btnLup10" : "btnRup10", "+10", side);
  QPushButton* up1 = stepButton(left ? "btnLup1" : "btnRup1", "+1", side);
  QPushButton* down1 = stepButton(left ? "btnLdown1" : "btnRdown1", "-1", side);
  QPushButton* down10 = stepButton(left ? "btnLdown10" : "btnRdown10", "-10", side);
  buttons->addStretch(1);
  for (QPushButton* b : {up10, up1, down1, down10}) buttons->addWidget(b);
  buttons->addStretch(1);

  // The step buttons sit on the outer side of each slider, the icon between the sliders.
  grid->addWidget(list, 0, 0, 1, 2, Qt::AlignHCenter);
  grid->addLayout(buttons, 1, left ? 0 : 1);
  grid->addWidget(slider, 1, left ? 1 : 0, Qt::AlignHCenter);

  if (left) {
    cmbLSpeed = list;
    tBarLSpeed = slider;
    btnLup10 = up10;
    btnLup1 = up1;
    btnLdown1 = down1;
    btnLdown10 = down10;
    connect(slider, &QSlider::valueChanged, this, [this] { tBarLSpeedChange(); });
    connect(list, &QComboBox::activated, this, [this] { cmbLSpeedCloseUp(); });
    connect(up10, &QPushButton::clicked, this, [this] { btnLup10Click(); });
    connect(up1, &QPushButton::clicked, this, [this] { btnLup1Click(); });
    connect(down1, &QPushButton::clicked, this, [this] { btnLdown1Click(); });
    connect(down10, &QPushButton::clicked, this, [this] { btnLdown10Click(); });
  } else {
    cmbRSpeed = list;
    tBarRSpeed = slider;
    btnRup10 = up10;
    btnRup1 = up1;
    btnRdown1 = down1;
    btnRdown10 = down10;
    connect(slider, &QSlider::valueChanged, this, [this] { tBarRSpeedChange(); });
    connect(list, &QComboBox::activated, this, [this] { cmbRSpeedCloseUp(); });
    connect(up10, &QPushButton::clicked, this, [this] { btnRup10Click(); });
    connect(up1, &QPushButton::clicked, this, [this] { btnRup1Click(); });
    connect(down1, &QPushButton::clicked, this, [this] { btnRdown1Click(); });
    connect(down10, &QPushButton::clicked, this, [this] { btnRdown10Click(); });
  }
  return side;
}

void TfrmSpeed::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlSpeed->setTitle(msg(80));
}

int TfrmSpeed::leftSpeed() const { return -tBarLSpeed->value(); }
int TfrmSpeed::rightSpeed() const { return -tBarRSpeed->value(); }

bool TfrmSpeed::leftSideFocused() const { return focusWidget() == tBarLSpeed; }

void TfrmSpeed::FormShow() {
  applyLanguage();
  iconMemory_ = 0;
  // A position that differs from the current one runs the slider's change handler.
  tBarLSpeed->setValue(-clampMotorSpeed(ctx_.edit.val0));
  tBarRSpeed->setValue(-clampMotorSpeed(ctx_.edit.val1));
  loadComment();
  const MotorSources sources = motorSourcesOf(ctx_.edit.val2);
  cmbLSpeed->setCurrentIndex(sources.left);
  cmbRSpeed->setCurrentIndex(sources.right);
  preview();
  tBarLSpeed->setFocus(Qt::OtherFocusReason);
}

void TfrmSpeed::preview() {
  if (cmbLSpeed->currentIndex() <= 0) {
    cmbLSpeed->setItemText(0, QString::fromStdString(motorFixedCaption('L', leftSpeed())));
    cmbLSpeed->setCurrentIndex(0);
  }
  if (cmbRSpeed->currentIndex() <= 0) {
    cmbRSpeed->setItemText(0, QString::fromStdString(motorFixedCaption('R', rightSpeed())));
    cmbRSpeed->setCurrentIndex(0);
  }
  shownPattern_ = motorPattern(leftSpeed(), rightSpeed(), cmbLSpeed->currentIndex() > 0,
                               cmbRSpeed->currentIndex() > 0);
  ctx_.edit.sno = shownPattern_;
  btnIcon->setIcon(glyphs_.forKind(shownPattern_));
}

void TfrmSpeed::tBarLSpeedChange() {
  cmbLSpeed->setCurrentIndex(0);
  preview();
}

void TfrmSpeed::tBarRSpeedChange() {
  cmbRSpeed->setCurrentIndex(0);
  preview();
}

void TfrmSpeed::stepSide(bool left, int delta) {
  QSlider* slider = left ? tBarLSpeed : tBarRSpeed;
  (left ? cmbLSpeed : cmbRSpeed)->setCurrentIndex(0);
  // The slider clamps; at its end the position stays and no change handler runs.
  slider->setValue(slider->value() - delta);
  preview();
  slider->setFocus(Qt::OtherFocusReason);
}

void TfrmSpeed::btnLup10Click() { stepSide(true, 10); }
void TfrmSpeed::btnLup1Click() { stepSide(true, 1); }
void TfrmSpeed::btnLdown1Click() { stepSide(true, -1); }
void TfrmSpeed::btnLdown10Click() { stepSide(true, -10); }
void TfrmSpeed::btnRup10Click() { stepSide(false, 10); }
void TfrmSpeed::btnRup1Click() { stepSide(false, 1); }
void TfrmSpeed::btnRdown1Click() { stepSide(false, -1); }
void TfrmSpeed::btnRdown10Click() { stepSide(false, -10); }

void TfrmSpeed::cmbLSpeedCloseUp() {
  preview();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSpeed::cmbRSpeedCloseUp() {
  preview();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSpeed::setSpeeds(int left, int right) {
  tBarLSpeed->setValue(-left);
  tBarRSpeed->setValue(-right);
}

void TfrmSpeed::btnIconClick() {
  const MotorIconStep next = motorIconStep(leftSpeed(), rightSpeed(), iconMemory_, leftSideFocused());
  iconMemory_ = next.memory;
  // A side whose slider moves goes back to its fixed speed through the slider's change
  // handler; a side whose speed the click kept keeps its variable.
  setSpeeds(next.left, next.right);
  preview();
}

void TfrmSpeed::btnOkClick() {
  const MotorValues v =
      packMotor(leftSpeed(), rightSpeed(), cmbLSpeed->currentIndex(), cmbRSpeed->currentIndex());
  ctx_.edit.sno = v.sno;
  ctx_.edit.cno = v.cno;
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  ctx_.edit.val2 = v.val2;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
