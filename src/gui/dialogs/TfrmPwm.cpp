#include "gui/dialogs/TfrmPwm.h"
#include "gui/dialogs/DialogButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "core/model/RowText.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {
namespace {

QPushButton* stepButton(const QString& name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 40); }

}  // namespace

TfrmPwm::TfrmPwm(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmPwm");
  FormCreate();
}

QGroupBox* TfrmPwm::makeChannel(int n) {
  Channel& c = channels_[static_cast<std::size_t>(n - 1)];
  const QString s = QString::number(n);
  c.box = new QGroupBox(QStringLiteral("PWM%1").arg(n), pnlPwm);
  c.box->setObjectName("pnlCh" + s);
  auto* column = new QVBoxLayout(c.box);
  column->setSpacing(4);
  c.ckModify = new QCheckBox("Modify", c.box);
  c.ckModify->setObjectName("ckModify" + s);
  column->addWidget(c.ckModify);

  c.pnlCont = new QWidget(c.box);
  c.pnlCont->setObjectName("pnlCont" + s);
  auto* grid = new QGridLayout(c.pnlCont);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  c.cmbSpeed = new QComboBox(c.pnlCont);
  c.cmbSpeed->setObjectName("cmbSpeed" + s);
  c.cmbSpeed->setMaxVisibleItems(14);
  c.cmbSpeed->setMinimumContentsLength(5);
  c.cmbSpeed->addItem("50%");
  for (int k = 1; k <= 26; ++k) c.cmbSpeed->addItem(QString::fromStdString(itemLetter(k)));
  c.tBar = new QSlider(Qt::Vertical, c.pnlCont);
  c.tBar->setObjectName("tBar" + s);
  // Position 0 is the top, 100 percent.
  c.tBar->setRange(0, 100);
  c.tBar->setInvertedAppearance(true);
  c.tBar->setInvertedControls(true);
  c.tBar->setTickInterval(10);
  c.tBar->setPageStep(20);
  c.tBar->setTickPosition(QSlider::TicksBothSides);
  c.tBar->setMinimumHeight(150);
  auto* steps = new QVBoxLayout;
  steps->setSpacing(4);
  c.btnUp10 = stepButton("btnUp10" + s, "+10", c.pnlCont);
  c.btnUp1 = stepButton("btnUp1" + s, "+1", c.pnlCont);
  c.btnDown1 = stepButton("btnDown1" + s, "-1", c.pnlCont);
  c.btnDown10 = stepButton("btnDown10" + s, "-10", c.pnlCont);
  steps->addStretch(1);
  for (QPushButton* b : {c.btnUp10, c.btnUp1, c.btnDown1, c.btnDown10}) steps->addWidget(b);
  steps->addStretch(1);
  c.ckRev = new QCheckBox("Rev/Brk", c.pnlCont);
  c.ckRev->setObjectName("ckRev" + s);
  grid->addWidget(c.cmbSpeed, 0, 0, 1, 2);
  grid->addWidget(c.tBar, 1, 0, Qt::AlignHCenter);
  grid->addLayout(steps, 1, 1);
  grid->addWidget(c.ckRev, 2, 0, 1, 2);
  column->addWidget(c.pnlCont);
  column->addStretch(1);

  connect(c.ckModify, &QCheckBox::clicked, this, [this, n] { ckModifyClick(n); });
  connect(c.tBar, &QSlider::valueChanged, this, [this, n] { tBarChange(n); });
  connect(c.btnUp10, &QPushButton::clicked, this, [this, n] { btnUp10Click(n); });
  connect(c.btnUp1, &QPushButton::clicked, this, [this, n] { btnUp1Click(n); });
  connect(c.btnDown1, &QPushButton::clicked, this, [this, n] { btnDown1Click(n); });
  connect(c.btnDown10, &QPushButton::clicked, this, [this, n] { btnDown10Click(n); });
  connect(c.cmbSpeed, &QComboBox::activated, this, [this, n] { cmbSpeedCloseUp(n); });
  return c.box;
}

void TfrmPwm::FormCreate() {
  pnlPwm = new QGroupBox(pnlBase);
  pnlPwm->setObjectName("pnlPwm");
  auto* row = new QHBoxLayout(pnlPwm);
  row->setSpacing(6);
  for (int n = 1; n <= kPwmChannels; ++n) row->addWidget(makeChannel(n));
  baseLayout()->addWidget(pnlPwm);

  // The comment shares its line with OK and Cancel.
  auto* bottom = new QWidget(pnlBase);
  auto* line = new QHBoxLayout(bottom);
  line->setContentsMargins(0, 0, 0, 0);
  line->setSpacing(4);
  QWidget* comment = makeCommentRow();
  comment->layout()->setContentsMargins(0, 0, 0, 0);
  edtCmt->removeEventFilter(this);  // this dialog has no Enter handler on its comment
  line->addWidget(comment, 1);
  line->addWidget(makeButtonRow());
  baseLayout()->addWidget(bottom);
  applyLanguage();
}

void TfrmPwm::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlPwm->setTitle(msg(94));
}

void TfrmPwm::setFixedSpeed(int n, int speed) {
  const Channel& c = ch(n);
  const int s = std::clamp(speed, 0, 100);
  {
    const QSignalBlocker block(c.tBar);
    c.tBar->setValue(100 - s);
  }
  c.cmbSpeed->setItemText(0, QString::fromStdString(pwmFixedCaption(s)));
  c.cmbSpeed->setCurrentIndex(0);
}

void TfrmPwm::FormShow() {
  applyLanguage();
  const std::array<int, kPwmChannels> codes = pwmCodesOf(ctx_.edit.val0, ctx_.edit.val1, ctx_.edit.val2);
  for (int n = 1; n <= kPwmChannels; ++n) {
    const Channel& c = ch(n);
    const PwmChannel p = pwmChannelOf(codes[static_cast<std::size_t>(n - 1)]);
    c.ckModify->setChecked(p.modify);
    c.ckRev->setChecked(p.reverse);
    if (p.item > 0) {
      c.cmbSpeed->setCurrentIndex(p.item);
    } else {
      setFixedSpeed(n, p.speed);
    }
    c.pnlCont->setVisible(p.modify);
  }
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

PwmChannel TfrmPwm::channel(int n) const {
  const Channel& c = ch(n);
  PwmChannel p;
  p.modify = c.ckModify->isChecked();
  p.item = std::max(c.cmbSpeed->currentIndex(), 0);
  p.reverse = c.ckRev->isChecked();
  p.speed = 100 - c.tBar->value();
  return p;
}

void TfrmPwm::ckModifyClick(int n) {
  ch(n).pnlCont->setVisible(ch(n).ckModify->isChecked());
  if (isVisible()) fitToContents();
}

void TfrmPwm::tBarChange(int n) { setFixedSpeed(n, 100 - ch(n).tBar->value()); }

void TfrmPwm::stepSpeed(int n, int delta) {
  setFixedSpeed(n, 100 - ch(n).tBar->value() + delta);
  ch(n).tBar->setFocus(Qt::OtherFocusReason);
}

void TfrmPwm::btnUp10Click(int n) { stepSpeed(n, 10); }
void TfrmPwm::btnUp1Click(int n) { stepSpeed(n, 1); }
void TfrmPwm::btnDown1Click(int n) { stepSpeed(n, -1); }
void TfrmPwm::btnDown10Click(int n) { stepSpeed(n, -10); }

void TfrmPwm::cmbSpeedCloseUp(int n) {
  if (ch(n).cmbSpeed->currentIndex() == 0) setFixedSpeed(n, 100 - ch(n).tBar->value());
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmPwm::btnOkClick() {
  std::array<int, kPwmChannels> codes{};
  for (int n = 1; n <= kPwmChannels; ++n) codes[static_cast<std::size_t>(n - 1)] = pwmCode(channel(n));
  const PwmValues v = packPwm(codes);
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  ctx_.edit.val2 = v.val2;
  ctx_.edit.cno = kPwm;
  ctx_.edit.sno = kPwm;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
