#include "gui/monitor/TfrmMotBal.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/monitor/MotorBalance.h"
#include "core/monitor/MotorBalanceSession.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {
namespace {

QLabel* valuePanel(QWidget* parent) {
  auto* panel = new QLabel(parent);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setMinimumWidth(56);
  return panel;
}

QPushButton* smallButton(const QString& caption, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setAutoDefault(false);
  b->setFixedWidth(40);
  return b;
}

}  // namespace

TfrmMotBal::TfrmMotBal(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ctx_(ctx), link_(link), st_(link.state()), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Motor Balance"));
  setObjectName(QStringLiteral("frmMotBal"));

  pnlLeft_ = valuePanel(this);
  pnlRight_ = valuePanel(this);
  pnlThird_ = valuePanel(this);
  auto* lblLeft = new QLabel(QStringLiteral("L"), this);
  auto* lblRight = new QLabel(QStringLiteral("R"), this);
  lblLeft->setAlignment(Qt::AlignCenter);
  lblRight->setAlignment(Qt::AlignCenter);

  tBar_ = new QSlider(Qt::Horizontal, this);
  tBar_->setRange(-kBalanceLimit, kBalanceLimit);
  tBar_->setSingleStep(1);
  tBar_->setPageStep(1);
  tBar_->setTickInterval(20);
  tBar_->setTickPosition(QSlider::TicksBelow);
  tBar_->setMinimumWidth(360);

  auto* btnLL = smallButton(QStringLiteral("<<"), this);
  auto* btnL = smallButton(QStringLiteral("<"), this);
  auto* btnR = smallButton(QStringLiteral(">"), this);
  auto* btnRR = smallButton(QStringLiteral(">>"), this);
  btnMotor_ = new QPushButton(this);
  btnMotor_->setAutoDefault(false);
  btnMotor_->setToolTip(QStringLiteral("モーター制御"));
  btnMotor_->setFixedSize(48, 36);
  btnMotor_->setIconSize(QSize(40, 28));
  btnUp_ = smallButton(QStringLiteral("▲"), this);
  btnDown_ = smallButton(QStringLiteral("▼"), this);
  btnRead_ = new QPushButton(this);
  btnSave_ = new QPushButton(this);
  btnClose_ = new QPushButton(this);
  for (QPushButton* b : {btnRead_, btnSave_, btnClose_}) b->setAutoDefault(false);

  auto* panels = new QGridLayout;
  panels->addWidget(lblLeft, 0, 0);
  panels->addWidget(pnlLeft_, 1, 0);
  panels->addWidget(btnMotor_, 1, 1, Qt::AlignCenter);
  panels->addWidget(lblRight, 0, 2);
  panels->addWidget(pnlRight_, 1, 2);
  panels->setColumnStretch(1, 1);

  auto* steps = new QHBoxLayout;
  steps->addWidget(btnLL);
  steps->addWidget(btnL);
  steps->addStretch(1);
  steps->addWidget(btnR);
  steps->addWidget(btnRR);

  auto* thirdRow = new QHBoxLayout;
  thirdRow->addWidget(btnDown_);
  thirdRow->addWidget(pnlThird_);
  thirdRow->addWidget(btnUp_);
  thirdRow->addStretch(1);
  thirdRow->addWidget(btnRead_);
  thirdRow->addWidget(btnSave_);
  thirdRow->addWidget(btnClose_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panels);
  layout->addWidget(tBar_);
  layout->addLayout(steps);
  layout->addLayout(thirdRow);

  session_ = std::make_unique<MotorBalanceSession>(link_.board());
  connect(tBar_, &QSlider::valueChanged, this, &TfrmMotBal::tBarChange);
  connect(btnLL, &QPushButton::clicked, this, [this] { btnStepClick(-10); });
  connect(btnL, &QPushButton::clicked, this, [this] { btnStepClick(-1); });
  connect(btnR, &QPushButton::clicked, this, [this] { btnStepClick(1); });
  connect(btnRR, &QPushButton::clicked, this, [this] { btnStepClick(10); });
  connect(btnMotor_, &QPushButton::clicked, this, &TfrmMotBal::btnMotorClick);
  connect(btnUp_, &QPushButton::clicked, this, &TfrmMotBal::btnUpClick);
  connect(btnDown_, &QPushButton::clicked, this, &TfrmMotBal::btnDownClick);
  connect(btnRead_, &QPushButton::clicked, this, &TfrmMotBal::btnReadClick);
  connect(btnSave_, &QPushButton::clicked, this, &TfrmMotBal::btnSaveClick);
  connect(btnClose_, &QPushButton::clicked, this, &TfrmMotBal::btnCloseClick);
  connect(&link_, &SerialLink::polled, this, &TfrmMotBal::collectEvents);
  connect(&link_, &SerialLink::disconnected, this, [this](const QString&) {
    if (isVisible()) reject();
  });
}

TfrmMotBal::~TfrmMotBal() = default;

void TfrmMotBal::collectEvents() {
  while (std::optional<MotorBalanceSession::Event> e = session_->takeEvent()) {
    if (e->kind == MotorBalanceSession::EventKind::Reply) {
      showReply(e->reply);
    } else {
      answerMissing();
    }
  }
}

void TfrmMotBal::setMotorIcon(const QIcon& icon) { btnMotor_->setIcon(icon); }

void TfrmMotBal::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfrmMotBal::FormShow() {
  if (shown_) return;
  shown_ = true;
  session_->open();
  tBar_->setValue(0);
  tBarChange(0);
  btnClose_->setText(qs(ctx_.messages(64)));
  btnRead_->setText(qs(ctx_.messages(56)));
  btnSave_->setText(qs(ctx_.messages(51)));
  btnClose_->setFocus();
  btnReadClick();
}

void TfrmMotBal::done(int result) {
  session_->close();
  shown_ = false;
  QDialog::done(result);
}

void TfrmMotBal::btnCloseClick() { accept(); }

bool TfrmMotBal::waiting() const { return session_->waiting(); }

void TfrmMotBal::emptyPanels() {
  pnlLeft_->clear();
  pnlRight_->clear();
  pnlThird_->clear();
}

void TfrmMotBal::answerMissing() {
  prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Information"),
               qs(ctx_.messages(66)) + QStringLiteral("\r\n") + qs(ctx_.messages(67)), PromptButtons::Ok);
}

int TfrmMotBal::third() const { return third_; }

void TfrmMotBal::btnReadClick() {
  emptyPanels();
  session_->read();
  link_.wake();
}

void TfrmMotBal::btnSaveClick() {
  // The third panel is empty until the board has answered once; then the last shown value.
  const int position = tBar_->value();
  emptyPanels();
  session_->save(position, third());
  link_.wake();
}

void TfrmMotBal::BalanceReply(const QString& line) { showReply(parseBalanceReply(line.toStdString())); }

void TfrmMotBal::showReply(const kavel::BalanceReply& r) {
  third_ = r.third;
  pnlLeft_->setText(QString::number(-r.left));
  pnlRight_->setText(QString::number(-r.right));
  pnlThird_->setText(QString::number(r.third));
  // When the bar moves, its change handler shows the panels as the bar would save them.
  tBar_->setValue(r.position);
}

void TfrmMotBal::tBarChange(int position) {
  pnlLeft_->setText(QString::number(leftPanelValue(position)));
  pnlRight_->setText(QString::number(rightPanelValue(position)));
}

void TfrmMotBal::btnStepClick(int delta) { tBar_->setValue(stepBalance(tBar_->value(), delta)); }

void TfrmMotBal::btnMotorClick() { tBar_->setValue(0); }

void TfrmMotBal::btnUpClick() {
  third_ = thirdUp(third_);
  pnlThird_->setText(QString::number(third_));
}

void TfrmMotBal::btnDownClick() {
  third_ = thirdDown(third_);
  pnlThird_->setText(QString::number(third_));
}

}  // namespace kavel::gui
