// The download window's terminal: the large form, the send box with its history, the receive
// log with its view and font, and the port panel.

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Context.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmDownLoad.h"

namespace kavel::gui {

namespace {

constexpr int kLargeHeight = 400;

bool isEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

void TfrmDownLoad::buildTerminal(QWidget* host) {
  ckAutoStart_ = new QCheckBox(QStringLiteral("AutoStart"), host);
  ckAutoStart_->setObjectName("ckAutoStart");
  ckHexDisp_ = new QCheckBox(QStringLiteral("Hex Disp"), host);
  ckHexDisp_->setObjectName("ckHexDisp");
  edtSendTout_ = new QLineEdit(host);
  edtSendTout_->setObjectName("edtSendTout");
  edtAckTout_ = new QLineEdit(host);
  edtAckTout_->setObjectName("edtAckTout");
  for (QLineEdit* e : {edtSendTout_, edtAckTout_}) e->setMaximumWidth(60);
  lblView_ = new ClickLabel(QStringLiteral("Text"), host);
  lblView_->setObjectName("lblView");
  lblView_->setToolTip(QStringLiteral("Double-click: Text / Binary"));
  btnMonitorClear_ = new QPushButton(QStringLiteral("Monitor Clear"), host);
  pnlPort_ = new ClickLabel(host);
  pnlPort_->setObjectName("pnlPort");
  pnlPort_->setFrameShape(QFrame::StyledPanel);
  pnlPort_->setToolTip(QStringLiteral("Double-click: COMPORT SETUP"));
  pnlFont_ = new ClickLabel(host);
  pnlFont_->setObjectName("pnlFont");
  pnlFont_->setFrameShape(QFrame::StyledPanel);
  memoRecv_ = new QPlainTextEdit(host);
  memoRecv_->setObjectName("memoRecv");
  memoRecv_->setReadOnly(true);
  memoRecv_->setFont(QFont(QStringLiteral("Monospace"), 10));
  cmbSend_ = new QComboBox(host);
  cmbSend_->setObjectName("cmbSend");
  cmbSend_->setEditable(true);
  cmbSend_->setInsertPolicy(QComboBox::NoInsert);
  btnSend_ = new QPushButton(host);
  btnSend_->setObjectName("btnSend");

  auto* row1 = new QHBoxLayout;
  row1->addWidget(ckAutoStart_);
  row1->addWidget(ckHexDisp_);
  row1->addWidget(new QLabel(QStringLiteral("SendTout"), host));
  row1->addWidget(edtSendTout_);
  row1->addWidget(new QLabel(QStringLiteral("AckTout"), host));
  row1->addWidget(edtAckTout_);
  row1->addStretch(1);
  auto* row2 = new QHBoxLayout;
  row2->addWidget(pnlPort_);
  row2->addWidget(pnlFont_);
  row2->addWidget(lblView_);
  row2->addStretch(1);
  row2->addWidget(btnMonitorClear_);
  auto* row3 = new QHBoxLayout;
  row3->addWidget(cmbSend_, 1);
  row3->addWidget(btnSend_);
  auto* v = new QVBoxLayout(host);
  v->setContentsMargins(0, 0, 0, 0);
  v->addLayout(row1);
  v->addLayout(row2);
  v->addWidget(memoRecv_, 1);
  v->addLayout(row3);

  // Enter inside the terminal never reaches the dialog, whose default button (Start) would
  // flash the board again: in the send box it files the text and moves on to Send, on a
  // terminal button it presses that button, anywhere else it does nothing.
  for (QPushButton* b : {btnSend_, btnMonitorClear_}) b->setAutoDefault(true);
  for (QWidget* w : host->findChildren<QWidget*>()) {
    if (!qobject_cast<QPushButton*>(w)) w->installEventFilter(this);
  }

  connect(btnSend_, &QPushButton::clicked, this, &TfrmDownLoad::btnSendClick);
  connect(btnMonitorClear_, &QPushButton::clicked, this, &TfrmDownLoad::btnMonitorClearClick);
  connect(lblView_, &ClickLabel::doubleClicked, this, &TfrmDownLoad::lblViewDblClick);
  connect(pnlFont_, &ClickLabel::doubleClicked, this, &TfrmDownLoad::pnlFontDblClick);
  connect(pnlPort_, &ClickLabel::doubleClicked, this, &TfrmDownLoad::pnlPortDblClick);
}

void TfrmDownLoad::applyTerminalTexts() {
  btnSend_->setText(ctx_.settings.LANG_NO_ == 0 ? QString::fromUtf8("送信") : QStringLiteral("Send"));
}

bool TfrmDownLoad::eventFilter(QObject* watched, QEvent* event) {
  if (isEnter(event)) {
    if (watched == cmbSend_ || watched == cmbSend_->lineEdit()) cmbSendReturn();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmDownLoad::setSmallForm() {
  large_ = false;
  pnlTerm_->hide();
  ckAutoStart_->setChecked(true);
  ckAutoStart_->setEnabled(false);
  setSizeGripEnabled(false);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
}

void TfrmDownLoad::setLargeForm() {
  large_ = true;
  pnlTerm_->show();
  ckAutoStart_->setEnabled(true);
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setSizeGripEnabled(true);
  resize(std::max(width(), 560), kLargeHeight);
}

void TfrmDownLoad::sBarDblClick() {
  if (large_) {
    setSmallForm();
  } else {
    setLargeForm();
  }
}

void TfrmDownLoad::addLog(const QString& line, bool clear) {
  if (clear) {
    memoRecv_->clear();
    st_.downloadLogLines = 0;
  }
  memoRecv_->appendPlainText(line);
}

void TfrmDownLoad::btnSendClick() {
  const QString text = cmbSend_->currentText();
  if (link_.isOpen()) link_.SendText(text);
  if (cmbSend_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) cmbSend_->addItem(text);
}

void TfrmDownLoad::cmbSendReturn() {
  const QString text = cmbSend_->currentText();
  if (!text.isEmpty() && cmbSend_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
    cmbSend_->addItem(text);
    cmbSend_->setEditText(text);
  }
  btnSend_->setFocus();
}

void TfrmDownLoad::btnMonitorClearClick() {
  memoRecv_->clear();
  st_.downloadLogLines = 0;
}

void TfrmDownLoad::lblViewDblClick() {
  st_.binaryView = !st_.binaryView;
  lblView_->setText(st_.binaryView ? QStringLiteral("Binary") : QStringLiteral("Text"));
  lblView_->setStyleSheet(st_.binaryView ? QStringLiteral("color: red;") : QString());
}

void TfrmDownLoad::pnlFontDblClick() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, memoRecv_->font(), this);
  if (!ok) return;
  memoRecv_->setFont(font);
  pnlFont_->setText(QStringLiteral("FontSize:") + QString::number(font.pointSize()));
}

void TfrmDownLoad::pnlPortDblClick() {
  link_.ClosePort();
  bool accepted = false;
  emit comSettingsRequested(&accepted);
  if (!accepted) return;
  pnlPort_->setText(qs(ctx_.settings.PortName) + QStringLiteral(":") + QString::number(ctx_.settings.BaudRate) +
                    QStringLiteral("bps"));
}

}  // namespace kavel::gui
