#include "gui/dialogs/TfrmTimer.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include "core/model/StatementKind.h"
#include "gui/dialogs/DialogButton.h"
#include "gui/app/Glyphs.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);

QPushButton* stepButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 44); }

}  // namespace

TfrmTimer::TfrmTimer(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmTimer");
  FormCreate();
}

void TfrmTimer::FormCreate() {
  pnlTimer = new QGroupBox(pnlBase);
  pnlTimer->setObjectName("pnlTimer");
  auto* row = new QHBoxLayout(pnlTimer);
  row->setSpacing(8);

  btnIcon = new QToolButton(pnlTimer);
  btnIcon->setObjectName("btnIcon");
  btnIcon->setFocusPolicy(Qt::NoFocus);
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  cmbTimer = new QComboBox(pnlTimer);
  cmbTimer->setObjectName("cmbTimer");
  for (int t = 1; t <= 4; ++t) cmbTimer->addItem(QStringLiteral("Timer%1").arg(t));
  btnIsUpper = new QPushButton("<", pnlTimer);
  btnIsUpper->setObjectName("btnIsUpper");
  btnIsUpper->setAutoDefault(false);
  btnIsUpper->setFixedWidth(40);
  cmbVar = new QComboBox(pnlTimer);
  cmbVar->setObjectName("cmbVar");
  cmbVar->setMaxVisibleItems(16);
  cmbVar->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  cmbVar->addItem(QString());
  for (int n = 1; n <= 26; ++n) cmbVar->addItem(QString());

  pnlSlider = new QWidget(pnlTimer);
  pnlSlider->setObjectName("pnlSlider");
  auto* sliderRow = new QHBoxLayout(pnlSlider);
  sliderRow->setContentsMargins(0, 0, 0, 0);
  sliderRow->setSpacing(4);
  btn1000mDown = stepButton("btn1000mDown", "<<-", pnlSlider);
  btn100mDown = stepButton("btn100mDown", "<-", pnlSlider);
  tBar = new QSlider(Qt::Horizontal, pnlSlider);
  tBar->setObjectName("tBar");
  tBar->setRange(0, kTimerTenthsMax);
  tBar->setTickInterval(50);
  tBar->setPageStep(50);
  tBar->setTickPosition(QSlider::TicksBelow);
  tBar->setMinimumWidth(240);
  btn100mUp = stepButton("btn100mUp", "->", pnlSlider);
  btn1000mUp = stepButton("btn1000mUp", "->>", pnlSlider);
  for (QWidget* w : std::initializer_list<QWidget*>{btn1000mDown, btn100mDown, tBar, btn100mUp, btn1000mUp}) {
    sliderRow->addWidget(w);
  }

  for (QWidget* w : std::initializer_list<QWidget*>{btnIcon, cmbTimer, btnIsUpper, cmbVar, pnlSlider}) row->addWidget(w);
  row->addStretch(1);

  connect(tBar, &QSlider::valueChanged, this, [this] { tBarChange(); });
  connect(btn1000mDown, &QPushButton::clicked, this, [this] { btn1000mDownClick(); });
  connect(btn100mDown, &QPushButton::clicked, this, [this] { btn100mDownClick(); });
  connect(btn100mUp, &QPushButton::clicked, this, [this] { btn100mUpClick(); });
  connect(btn1000mUp, &QPushButton::clicked, this, [this] { btn1000mUpClick(); });
  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  connect(btnIsUpper, &QPushButton::clicked, this, [this] { btnIsUpperClick(); });
  connect(cmbVar, &QComboBox::activated, this, [this] { cmbVarCloseUp(); });
  connect(cmbTimer, &QComboBox::activated, this, [this] { cmbTimerCloseUp(); });
  focusOkOnEnter(tBar);

  baseLayout()->addWidget(pnlTimer);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmTimer::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlTimer->setTitle(msg(timerCaptionMessage(use_)));
  for (int n = 1; n <= 26; ++n) cmbVar->setItemText(n, QStringLiteral("%1 %2").arg(msg(130), QChar('A' + n - 1)));
  setTimeCaption();
}

void TfrmTimer::setTimeCaption() {
  cmbVar->setItemText(0, QString::fromStdString(timerSetTimeCaption(tBar->value(), ctx_.messages(126))));
  cmbVar->setCurrentIndex(0);
}

void TfrmTimer::layoutForSource() {
  if (cmbVar->currentIndex() <= 0) setTimeCaption();
  pnlSlider->setVisible(use_ != TimerUse::Statement && cmbVar->currentIndex() <= 0);
  if (isVisible()) fitToContents();
}

void TfrmTimer::FormShow() {
  use_ = timerUseOf(ctx_.edit.sno);
  applyLanguage();
  const TimerForm f = timerFormOf(ctx_.edit.val0, ctx_.edit.val1);
  btnIcon->setIcon(glyphs_.forKind(use_ == TimerUse::Wait ? kWait : kTimer));
  cmbTimer->setVisible(use_ != TimerUse::Wait);
  btnIsUpper->setVisible(use_ == TimerUse::Condition);
  cmbVar->setVisible(use_ != TimerUse::Statement);
  cmbTimer->setCurrentIndex(f.timer);
  comparison_ = f.comparison;
  btnIsUpper->setText(comparison_ == 0 ? "<" : ">");
  if (use_ != TimerUse::Statement) {
    {
      const QSignalBlocker block(tBar);
      tBar->setValue(f.tenths);
    }
    setTimeCaption();
    cmbVar->setCurrentIndex(f.source);
  }
  layoutForSource();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmTimer::tBarChange() { setTimeCaption(); }

void TfrmTimer::step(int delta) {
  tBar->setValue(tBar->value() + delta);
  setTimeCaption();
  layoutForSource();
}

void TfrmTimer::btn1000mDownClick() {
  step(-10);
  btnOk->setFocus(Qt::OtherFocusReason);
}
void TfrmTimer::btn100mDownClick() {
  step(-1);
  btnOk->setFocus(Qt::OtherFocusReason);
}
void TfrmTimer::btn100mUpClick() {
  step(1);
  btnOk->setFocus(Qt::OtherFocusReason);
}
void TfrmTimer::btn1000mUpClick() {
  step(10);
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmTimer::btnIconClick() {
  if (use_ == TimerUse::Statement) return;
  step(kTimerIconStep);
}

void TfrmTimer::btnIsUpperClick() {
  comparison_ = comparison_ == 0 ? 1 : 0;
  btnIsUpper->setText(comparison_ == 0 ? "<" : ">");
}

void TfrmTimer::cmbVarCloseUp() {
  layoutForSource();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmTimer::cmbTimerCloseUp() { btnOk->setFocus(Qt::OtherFocusReason); }

void TfrmTimer::btnOkClick() {
  TimerForm f;
  f.tenths = tBar->value();
  f.source = std::max(cmbVar->currentIndex(), 0);
  f.timer = std::max(cmbTimer->currentIndex(), 0);
  f.comparison = comparison_;
  const TimerValues v = packTimer(use_, f);
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
