#include "gui/dialogs/TfrmUss.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "core/modules/UltrasonicValues.h"
#include "gui/dialogs/DialogButton.h"
#include "gui/app/Glyphs.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);

QPushButton* smallButton(const char* name, const QString& caption, QWidget* parent) { return dialogButton(name, caption, parent); }

}  // namespace

TfrmUss::TfrmUss(Context& ctx, const Glyphs& glyphs, QWidget* parent) : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmUss");
  FormCreate();
}

void TfrmUss::FormCreate() {
  pnlUss = new QGroupBox(pnlBase);
  pnlUss->setObjectName("pnlUss");
  auto* box = new QVBoxLayout(pnlUss);

  auto* top = new QHBoxLayout;
  btnIcon = new QToolButton(pnlUss);
  btnIcon->setObjectName("btnIcon");
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  btnIcon->setIcon(glyphs_.forKind(kUltrasonic));
  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  lblUss = new QLabel(pnlUss);
  lblUss->setObjectName("lblUss");
  lblUss->setMinimumWidth(lblUss->fontMetrics().horizontalAdvance("USS-4") + 8);
  btnJudge = smallButton("btnJudge", "<", pnlUss);
  btnJudge->setMinimumWidth(btnJudge->fontMetrics().horizontalAdvance("START") + 24);
  connect(btnJudge, &QPushButton::clicked, this, [this] { btnJudgeClick(); });
  cmbVar = new QComboBox(pnlUss);
  cmbVar->setObjectName("cmbVar");
  cmbVar->setMaxVisibleItems(14);
  connect(cmbVar, &QComboBox::activated, this, [this] { cmbVarCloseUp(); });
  top->addWidget(btnIcon);
  top->addWidget(lblUss);
  top->addWidget(btnJudge);
  top->addWidget(cmbVar, 1);
  box->addLayout(top);

  pnlSlider = new QWidget(pnlUss);
  pnlSlider->setObjectName("pnlSlider");
  auto* sliderRow = new QHBoxLayout(pnlSlider);
  sliderRow->setContentsMargins(0, 0, 0, 0);
  btn10cmDown = smallButton("btn10cmDown", "-10", pnlSlider);
  btn1cmDown = smallButton("btn1cmDown", "-1", pnlSlider);
  tBarUss = new QSlider(Qt::Horizontal, pnlSlider);
  tBarUss->setObjectName("tBarUss");
  tBarUss->setRange(0, kUssMaxCm);
  tBarUss->setTickInterval(20);
  tBarUss->setTickPosition(QSlider::TicksBelow);
  tBarUss->setPageStep(10);
  tBarUss->setMinimumWidth(240);
  btn1cmUp = smallButton("btn1cmUp", "+1", pnlSlider);
  btn10cmUp = smallButton("btn10cmUp", "+10", pnlSlider);
  for (QPushButton* b : {btn10cmDown, btn1cmDown, btn1cmUp, btn10cmUp}) b->setFixedWidth(40);
  sliderRow->addWidget(btn10cmDown);
  sliderRow->addWidget(btn1cmDown);
  sliderRow->addWidget(tBarUss, 1);
  sliderRow->addWidget(btn1cmUp);
  sliderRow->addWidget(btn10cmUp);
  box->addWidget(pnlSlider);
  connect(tBarUss, &QSlider::valueChanged, this, [this] { tBarUssChange(); });
  connect(btn10cmDown, &QPushButton::clicked, this, [this] { btn10cmDownClick(); });
  connect(btn1cmDown, &QPushButton::clicked, this, [this] { btn1cmDownClick(); });
  connect(btn1cmUp, &QPushButton::clicked, this, [this] { btn1cmUpClick(); });
  connect(btn10cmUp, &QPushButton::clicked, this, [this] { btn10cmUpClick(); });
  focusOkOnEnter(tBarUss);

  baseLayout()->addWidget(pnlUss);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());

  // The value list is built once, in the language of this moment.
  cmbVar->addItem(QString::fromStdString(ussDistanceCaption(0)));
  for (int k = 1; k <= kUssVariableItems; ++k) {
    cmbVar->addItem(QString("%1 %2").arg(msg(130), QString::fromStdString(itemLetter(k))));
  }
  applyLanguage();
}

void TfrmUss::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlUss->setTitle(msg(isTest_ ? 156 : 155));
}

void TfrmUss::FormShow() {
  const Statement& e = ctx_.edit;
  isTest_ = e.sno != kUltrasonic;
  applyLanguage();
  cmbVar->setVisible(isTest_);
  lblUss->setVisible(isTest_);
  if (isTest_) {
    const UltrasonicTest t = ultrasonicTestOf(e.val0, e.val1);
    sensor_ = t.sensor;
    comparison_ = t.comparison;
    tBarUss->setValue(t.distanceCm);
    writeDistanceCaption();
    cmbVar->setCurrentIndex(t.source);
    layoutForSource();
  } else {
    start_ = ultrasonicStarts(e.val1);
    pnlSlider->setVisible(false);
  }
  showJudge();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmUss::showJudge() {
  lblUss->setText(QString::fromStdString(ussSensorCaption(sensor_)));
  btnJudge->setText(QString::fromStdString(isTest_ ? ussComparisonCaption(comparison_) : ussRunCaption(start_)));
}

void TfrmUss::layoutForSource() {
  pnlSlider->setVisible(isTest_ && cmbVar->currentIndex() <= 0);
  if (isVisible()) fitToContents();
}

void TfrmUss::writeDistanceCaption() {
  cmbVar->setItemText(0, QString::fromStdString(ussDistanceCaption(tBarUss->value())));
}

void TfrmUss::btnIconClick() {
  sensor_ = (sensor_ + 1) % kUssSensors;
  showJudge();
}

void TfrmUss::btnJudgeClick() {
  if (isTest_) {
    comparison_ = (comparison_ + 1) % 3;
  } else {
    start_ = !start_;
  }
  showJudge();
}

void TfrmUss::tBarUssChange() {
  writeDistanceCaption();
  cmbVar->setCurrentIndex(0);
}

void TfrmUss::step(int delta) {
  tBarUss->setValue(tBarUss->value() + delta);  // the slider clamps to 0..300
  writeDistanceCaption();
  cmbVar->setCurrentIndex(0);
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmUss::btn10cmDownClick() { step(-10); }
void TfrmUss::btn1cmDownClick() { step(-1); }
void TfrmUss::btn1cmUpClick() { step(1); }
void TfrmUss::btn10cmUpClick() { step(10); }

void TfrmUss::cmbVarCloseUp() {
  layoutForSource();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmUss::btnOkClick() {
  if (isTest_) {
    const UltrasonicValues v =
        packUltrasonicTest({sensor_, std::max(0, cmbVar->currentIndex()), comparison_, tBarUss->value()});
    ctx_.edit.val0 = v.val0;
    ctx_.edit.val1 = v.val1;
  } else {
    ctx_.edit.val0 = 0;
    ctx_.edit.val1 = start_ ? 1 : 0;
  }
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
