#include "gui/dialogs/TfrmServo.h"
#include "gui/dialogs/DialogButton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "core/dialogs/ServoChoice.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {
namespace {

QPushButton* stepButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 44); }

}  // namespace

TfrmServo::TfrmServo(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmServo");
  FormCreate();
}

void TfrmServo::FormCreate() {
  pnlServoBase = new QGroupBox(pnlBase);
  pnlServoBase->setObjectName("pnlServoBase");
  auto* grid = new QGridLayout(pnlServoBase);
  grid->setHorizontalSpacing(6);
  btnCN = new QPushButton("CN7", pnlServoBase);
  btnCN->setObjectName("btnCN");
  btnCN->setAutoDefault(false);
  btnCN->setFixedWidth(64);
  pnlServo = new QLabel(pnlServoBase);
  pnlServo->setObjectName("pnlServo");
  pnlServo->setAutoFillBackground(true);
  QPalette black = pnlServo->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, QColor(0, 230, 0));
  pnlServo->setPalette(black);
  QFont big = pnlServo->font();
  big.setFamily("monospace");
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  pnlServo->setFont(big);
  pnlServo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  pnlServo->setMargin(4);
  pnlServo->setMinimumWidth(pnlServo->fontMetrics().horizontalAdvance(" 100%") + 12);
  tBar = new QSlider(Qt::Horizontal, pnlServoBase);
  tBar->setObjectName("tBar");
  tBar->setRange(0, 100);
  tBar->setTickInterval(10);
  tBar->setPageStep(10);
  tBar->setTickPosition(QSlider::TicksBelow);
  tBar->setMinimumWidth(220);
  btnDown101 = stepButton("btnDown101", "-10", pnlServoBase);
  btnDown11 = stepButton("btnDown11", "-1", pnlServoBase);
  btnUp11 = stepButton("btnUp11", "+1", pnlServoBase);
  btnUp101 = stepButton("btnUp101", "+10", pnlServoBase);

  grid->addWidget(btnCN, 0, 0);
  grid->addWidget(pnlServo, 0, 1);
  auto* steps = new QHBoxLayout;
  steps->setSpacing(4);
  steps->addWidget(btnDown101);
  steps->addWidget(btnDown11);
  steps->addWidget(tBar, 1);
  steps->addWidget(btnUp11);
  steps->addWidget(btnUp101);
  grid->addLayout(steps, 1, 0, 1, 3);
  grid->setColumnStretch(2, 1);

  connect(btnCN, &QPushButton::clicked, this, [this] { btnCNClick(); });
  connect(tBar, &QSlider::valueChanged, this, [this] { tBarChange(); });
  connect(btnDown101, &QPushButton::clicked, this, [this] { btnDown101Click(); });
  connect(btnDown11, &QPushButton::clicked, this, [this] { btnDown11Click(); });
  connect(btnUp11, &QPushButton::clicked, this, [this] { btnUp11Click(); });
  connect(btnUp101, &QPushButton::clicked, this, [this] { btnUp101Click(); });

  baseLayout()->addWidget(pnlServoBase);
  baseLayout()->addWidget(makeCommentRow());
  edtCmt->removeEventFilter(this);  // this dialog has no Enter handler on its comment
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmServo::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlServoBase->setTitle(msg(102));
}

void TfrmServo::FormShow() {
  applyLanguage();
  connector_ = servoConnectorOf(ctx_.edit.val0, ctx_.io);
  btnCN->setText(QStringLiteral("CN%1").arg(connector_));
  tBar->setValue(servoPositionOf(ctx_.edit.val0));
  tBarChange();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmServo::btnCNClick() {
  connector_ = otherServoConnector(connector_, ctx_.io);
  btnCN->setText(QStringLiteral("CN%1").arg(connector_));
}

void TfrmServo::tBarChange() { pnlServo->setText(QString::fromStdString(servoPositionCaption(tBar->value()))); }

void TfrmServo::step(int delta) {
  tBar->setValue(tBar->value() + delta);
  tBar->setFocus(Qt::OtherFocusReason);
}

void TfrmServo::btnDown101Click() { step(-10); }
void TfrmServo::btnDown11Click() { step(-1); }
void TfrmServo::btnUp11Click() { step(1); }
void TfrmServo::btnUp101Click() { step(10); }

void TfrmServo::btnOkClick() {
  ctx_.edit.val0 = packServo(connector_, tBar->value());
  ctx_.edit.cno = kServo;
  ctx_.edit.sno = kServo;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
