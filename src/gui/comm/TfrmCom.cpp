#include "gui/comm/TfrmCom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/comm/SerialOpenError.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {

namespace {

const char* const kBauds[] = {"1200", "2400", "4800", "9600", "19200", "38400", "56000", "76800", "115200"};
const char* const kHeads[] = {"NONE", "STX", "SOH"};
const char* const kDelimiters[] = {"NONE", "ETX", "CR", "LF", "CRLF"};

struct Texts {
  const char* caption;
  const char* port;
  const char* baud;
  const char* sendGroup;
  const char* header;
  const char* delimiter;
  const char* recvGroup;
  const char* timeOut;
  const char* ok;
  const char* cancel;
};

const Texts kEnglish{"COMPORT SETUP", "COM Port", "Baud Rate", "Send Condition", "Header", "Delimiter",
                     "Recv. Condition", "Time Out", "OK", "Cancel"};
const Texts kJapanese{"通信設定", "接続ﾎﾟｰﾄ", "ﾎﾞｰﾚｰﾄ", "送信ﾃﾞｰﾀ付加情報", "ﾍｯﾀﾞｰ", "ﾃﾞﾘﾐﾀ",
                      "受信ﾃﾞｰﾀ付加情報", "ﾀｲﾑｱｳﾄ", "設定", "ｷｬﾝｾﾙ"};

template <std::size_t N>
QComboBox* fixedList(QWidget* parent, const char* name, const char* const (&items)[N]) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const char* item : items) box->addItem(QString::fromLatin1(item));
  return box;
}

void selectText(QComboBox* box, const std::string& text) {
  const int i = box->findText(qs(text));
  if (i >= 0) {
    box->setCurrentIndex(i);
  } else if (box->isEditable()) {
    box->setEditText(qs(text));
  } else {
    box->setCurrentIndex(0);
  }
}

// The serial fields the dialog may change, put back after a failed test or a search.
void restoreSerial(AppSettings& to, const AppSettings& from) {
  to.PortName = from.PortName;
  to.BaudRate = from.BaudRate;
  to.RTS_Cont = from.RTS_Cont;
  to.SendHead = from.SendHead;
  to.SendDlmt = from.SendDlmt;
  to.RecvDlmt = from.RecvDlmt;
  to.RecvTout = from.RecvTout;
}

}  // namespace

TfrmCom::TfrmCom(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ctx_(ctx), link_(link), prompts_(prompts), portSource_(listSerialPorts) {
  setObjectName("frmCom");
  setWindowTitle(QStringLiteral("Download"));

  grpDownload_ = new QGroupBox(QStringLiteral("Download"), this);
  btnPort_ = new QPushButton(grpDownload_);
  btnPort_->setObjectName("btnPort");
  btnPort_->setToolTip(QStringLiteral("Comport Search"));
  btnPort_->setAutoDefault(false);
  cmbPort_ = new QComboBox(grpDownload_);
  cmbPort_->setObjectName("cmbPort");
  cmbPort_->setEditable(true);
  cmbPort_->setMinimumContentsLength(18);
  cmbPort_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lblBaud_ = new QLabel(grpDownload_);
  cmbBaud_ = fixedList(grpDownload_, "cmbBaud", kBauds);
  ckRts_ = new QCheckBox(QStringLiteral("RTS Control"), grpDownload_);
  ckRts_->setObjectName("ckRts");
  pnlProgress_ = new QProgressBar(grpDownload_);
  pnlProgress_->setObjectName("pnlProgress");
  pnlProgress_->setRange(0, 100);
  auto* g = new QGridLayout(grpDownload_);
  g->addWidget(btnPort_, 0, 0);
  g->addWidget(cmbPort_, 0, 1);
  g->addWidget(pnlProgress_, 1, 0, 1, 2);
  g->addWidget(lblBaud_, 2, 0);
  g->addWidget(cmbBaud_, 2, 1);
  g->addWidget(ckRts_, 3, 1);

  grpSend_ = new QGroupBox(this);
  lblSendHead_ = new QLabel(grpSend_);
  cmbSendHead_ = fixedList(grpSend_, "cmbSendHead", kHeads);
  lblSendDlmt_ = new QLabel(grpSend_);
  cmbSendDlmt_ = fixedList(grpSend_, "cmbSendDlmt", kDelimiters);
  auto* sg = new QGridLayout(grpSend_);
  sg->addWidget(lblSendHead_, 0, 0);
  sg->addWidget(cmbSendHead_, 0, 1);
  sg->addWidget(lblSendDlmt_, 1, 0);
  sg->addWidget(cmbSendDlmt_, 1, 1);

  grpRecv_ = new QGroupBox(this);
  lblRecvDlmt_ = new QLabel(grpRecv_);
  cmbRecvDlmt_ = fixedList(grpRecv_, "cmbRecvDlmt", kDelimiters);
  lblRecvTout_ = new QLabel(grpRecv_);
  edtRecvTout_ = new QLineEdit(grpRecv_);
  edtRecvTout_->setObjectName("edtRecvTout");
  auto* toutRow = new QHBoxLayout;
  toutRow->addWidget(edtRecvTout_);
  toutRow->addWidget(new QLabel(QStringLiteral("mS"), grpRecv_));
  auto* rg = new QGridLayout(grpRecv_);
  rg->addWidget(lblRecvDlmt_, 0, 0);
  rg->addWidget(cmbRecvDlmt_, 0, 1);
  rg->addWidget(lblRecvTout_, 1, 0);
  rg->addLayout(toutRow, 1, 1);

  btnOk_ = new QPushButton(this);
  btnOk_->setObjectName("btnOk");
  btnOk_->setDefault(true);
  btnCancel_ = new QPushButton(this);
  btnCancel_->setObjectName("btnCancel");
  btnCancel_->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOk_);
  buttons->addWidget(btnCancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grpDownload_);
  layout->addWidget(grpSend_);
  layout->addWidget(grpRecv_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  searchTimer_ = new QTimer(this);
  searchTimer_->setSingleShot(true);
  connect(searchTimer_, &QTimer::timeout, this, &TfrmCom::searchStep);
  connect(btnOk_, &QPushButton::clicked, this, &TfrmCom::btnOkClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmCom::btnCancelClick);
  connect(btnPort_, &QPushButton::clicked, this, &TfrmCom::btnPortClick);
}

void TfrmCom::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TfrmCom::FormShow() {
  const Texts& t = ctx_.settings.LANG_NO_ == 0 ? kJapanese : kEnglish;
  setWindowTitle(QString::fromUtf8(t.caption));
  btnPort_->setText(QString::fromUtf8(t.port));
  lblBaud_->setText(QString::fromUtf8(t.baud));
  grpSend_->setTitle(QString::fromUtf8(t.sendGroup));
  lblSendHead_->setText(QString::fromUtf8(t.header));
  lblSendDlmt_->setText(QString::fromUtf8(t.delimiter));
  grpRecv_->setTitle(QString::fromUtf8(t.recvGroup));
  lblRecvDlmt_->setText(QString::fromUtf8(t.delimiter));
  lblRecvTout_->setText(QString::fromUtf8(t.timeOut));
  btnOk_->setText(QString::fromUtf8(t.ok));
  btnCancel_->setText(QString::fromUtf8(t.cancel));
  // The ports of this machine, and the stored one even when it is not there now.
  cmbPort_->clear();
  const std::vector<PortInfo> found = portSource_ ? portSource_() : std::vector<PortInfo>{};
  for (const PortInfo& port : portChoices(found, ctx_.settings.PortName)) {
    cmbPort_->addItem(qs(portListText(port)), qs(port.name));
  }
  loadBoxes();
  lockLineSettings(true);
  pnlProgress_->hide();
  adjustSize();
}

void TfrmCom::loadBoxes() {
  const AppSettings& s = ctx_.settings;
  const int i = cmbPort_->findData(qs(s.PortName));
  if (i >= 0) {
    cmbPort_->setCurrentIndex(i);
  } else {
    cmbPort_->setEditText(qs(s.PortName));
  }
  // A speed the list does not offer (set by hand in the settings file) is kept and shown, so
  // that OK does not turn it into the first entry.
  const QString baud = QString::number(s.BaudRate);
  if (s.BaudRate > 0 && cmbBaud_->findText(baud) < 0) cmbBaud_->addItem(baud);
  selectText(cmbBaud_, std::to_string(s.BaudRate));
  ckRts_->setChecked(s.RTS_Cont);
  selectText(cmbSendHead_, s.SendHead);
  selectText(cmbSendDlmt_, s.SendDlmt);
  selectText(cmbRecvDlmt_, s.RecvDlmt);
  edtRecvTout_->setText(QString::number(s.RecvTout));
}

void TfrmCom::lockLineSettings(bool locked) {
  for (QWidget* w : std::initializer_list<QWidget*>{cmbBaud_, cmbSendHead_, cmbSendDlmt_, cmbRecvDlmt_, edtRecvTout_}) {
    w->setEnabled(!locked);
  }
  cmbPort_->setEnabled(true);
}

void TfrmCom::mouseDoubleClickEvent(QMouseEvent* event) {
  FormDblClick();
  QDialog::mouseDoubleClickEvent(event);
}

void TfrmCom::FormDblClick() {
  lockLineSettings(false);
  emit maintenanceRequested();
}

std::string TfrmCom::portFromBox() const {
  // A listed port carries its device name; the visible text may add its USB description.
  const QString text = cmbPort_->currentText().trimmed();
  const int i = cmbPort_->findText(text);
  if (i >= 0 && !cmbPort_->itemData(i).toString().isEmpty()) return cmbPort_->itemData(i).toString().toStdString();
  return text.toStdString();
}

void TfrmCom::btnOkClick() {
  if (searching_) return;
  AppSettings& s = ctx_.settings;
  saved_ = s;
  s.PortName = portFromBox();
  bool ok = false;
  const int baud = cmbBaud_->currentText().toInt(&ok);
  if (ok && baud > 0) s.BaudRate = baud;
  s.RTS_Cont = ckRts_->isChecked();
  s.SendHead = cmbSendHead_->currentText().toStdString();
  s.SendDlmt = cmbSendDlmt_->currentText().toStdString();
  s.RecvDlmt = cmbRecvDlmt_->currentText().toStdString();
  const int tout = edtRecvTout_->text().trimmed().toInt(&ok);
  s.RecvTout = ok ? tout : 100;

  const OpenResult result = link_.OpenPort(true);
  if (result.ok) {
    accept();
    return;
  }
  if (link_.state().ReportOpenErrors) {
    prompts_.ask(this, PromptIcon::Warning, windowTitle(),
                 qs(openFailureText(result, s.PortName, s.LANG_NO_, true)), PromptButtons::Ok);
  }
  restoreSerial(s, saved_);
  loadBoxes();
}

void TfrmCom::btnCancelClick() {
  if (searching_) {
    link_.state().ProbeMode = false;
    return;
  }
  QDialog::reject();
}

void TfrmCom::reject() {
  // Escape and the close box behave like the Cancel button.
  btnCancelClick();
}

void TfrmCom::btnPortClick() {
  if (searching_) return;
  // What the box holds now (perhaps a path the user typed) comes back after the search.
  typed_ = cmbPort_->currentText();
  cmbPort_->clear();
  pnlProgress_->setValue(0);
  pnlProgress_->show();
  LinkState& st = link_.state();
  st.ProbeMode = true;
  st.AckFlag = false;
  st.ReportOpenErrors = false;
  saved_ = ctx_.settings;
  link_.ClosePort();
  candidates_ = portSource_ ? portSource_() : std::vector<PortInfo>{};
  next_ = 0;
  found_.clear();
  searching_ = true;
  btnPort_->setEnabled(false);
  btnOk_->setEnabled(false);
  searchTimer_->start(0);
}

void TfrmCom::searchStep() {
  LinkState& st = link_.state();
  if (!st.ProbeMode || next_ >= candidates_.size()) {
    endSearch();
    return;
  }
  const PortInfo& port = candidates_[next_];
  pnlProgress_->setValue(static_cast<int>(next_ * 100 / candidates_.size()));
  cmbPort_->setEditText(qs(port.name));
  ctx_.settings.PortName = port.name;
  if (link_.OpenPort(false).ok) {
    found_.push_back(port);
    link_.ClosePort();
  }
  ++next_;
  searchTimer_->start(0);
}

void TfrmCom::endSearch() {
  searchTimer_->stop();
  searching_ = false;
  pnlProgress_->hide();
  for (const PortInfo& port : found_) cmbPort_->addItem(qs(portListText(port)), qs(port.name));
  restoreSerial(ctx_.settings, saved_);
  LinkState& st = link_.state();
  st.ReportOpenErrors = true;
  st.ProbeMode = false;
  btnPort_->setEnabled(true);
  btnOk_->setEnabled(true);
  loadBoxes();
  cmbPort_->setEditText(typed_);
  adjustSize();
}

}  // namespace kavel::gui
