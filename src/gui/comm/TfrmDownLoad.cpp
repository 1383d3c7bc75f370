#include "gui/comm/TfrmDownLoad.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/comm/PortList.h"
#include "core/comm/SerialOpenError.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {

namespace {

// The tries of the command's search before it goes on without a board.
constexpr int kSearchTries = 3;

std::vector<std::string> serialPortNames() {
  std::vector<std::string> names;
  for (const PortInfo& p : listSerialPorts()) names.push_back(p.name);
  return names;
}

}  // namespace

TfrmDownLoad::TfrmDownLoad(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ctx_(ctx), link_(link), st_(link.state()), prompts_(prompts) {
  setObjectName("frmDownLoad");
  pnlTop_ = new QWidget(this);
  pnlTop_->setObjectName("pnlTop");
  // Wide enough that the longer Japanese notices wrap at most once.
  pnlTop_->setMinimumWidth(460);
  lblUser_ = new QLabel(pnlTop_);
  lblFile_ = new QLabel(pnlTop_);
  lblFile_->setObjectName("lblFile");
  lblFile_->setFrameShape(QFrame::StyledPanel);
  lblFile_->setMinimumWidth(200);
  lblFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  btnChange_ = new QPushButton(pnlTop_);
  btnChange_->setObjectName("btnChange");
  btnChange_->setAutoDefault(false);
  lblMsg1_ = new QLabel(pnlTop_);
  lblMsg1_->setObjectName("lblMsg1");
  lblMsg1_->setWordWrap(true);
  lblMsg2_ = new QLabel(pnlTop_);
  lblMsg2_->setObjectName("lblMsg2");
  lblMsg2_->setWordWrap(true);
  progress_ = new QProgressBar(pnlTop_);
  progress_->setObjectName("progress");
  btnStart_ = new QPushButton(pnlTop_);
  btnStart_->setObjectName("btnStart");
  btnStart_->setDefault(true);
  btnCancel_ = new QPushButton(pnlTop_);
  btnCancel_->setObjectName("btnCancel");
  btnCancel_->setAutoDefault(false);

  auto* top = new QGridLayout(pnlTop_);
  top->addWidget(lblUser_, 0, 0);
  top->addWidget(lblFile_, 0, 1);
  top->addWidget(btnChange_, 0, 2);
  top->addWidget(lblMsg1_, 1, 0, 1, 3);
  top->addWidget(lblMsg2_, 2, 0, 1, 3);
  top->addWidget(progress_, 3, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnStart_);
  buttons->addWidget(btnCancel_);
  top->addLayout(buttons, 4, 0, 1, 3);
  top->setColumnStretch(1, 1);

  pnlTerm_ = new QWidget(this);
  pnlTerm_->setObjectName("pnlTerm");
  buildTerminal(pnlTerm_);

  sBar_ = new QWidget(this);
  sBar_->setObjectName("sBar");
  auto* bar = new QHBoxLayout(sBar_);
  bar->setContentsMargins(2, 0, 2, 0);
  for (int i = 0; i < 2; ++i) {
    panels_[i] = new ClickLabel(sBar_);
    panels_[i]->setFrameShape(QFrame::StyledPanel);
    panels_[i]->setMinimumWidth(i == 0 ? 120 : 160);
    bar->addWidget(panels_[i], i);
    connect(panels_[i], &ClickLabel::doubleClicked, this, &TfrmDownLoad::sBarDblClick);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 2);
  layout->addWidget(pnlTop_);
  layout->addWidget(pnlTerm_, 1);
  layout->addWidget(sBar_);

  tmAutoStart_ = new QTimer(this);
  tmAutoStart_->setSingleShot(true);
  tmSend_ = new QTimer(this);
  tmSend_->setSingleShot(true);
  connect(tmAutoStart_, &QTimer::timeout, this, &TfrmDownLoad::tmAutoStartTimer);
  connect(tmSend_, &QTimer::timeout, this, &TfrmDownLoad::pump);
  connect(btnStart_, &QPushButton::clicked, this, &TfrmDownLoad::btnStartClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmDownLoad::btnCancelClick);
  connect(btnChange_, &QPushButton::clicked, this, &TfrmDownLoad::btnChangeClick);

  connect(&link_, &SerialLink::downloadLine, this, [this](const QString& text, bool clear) {
    addLog(text, clear);
    // An error line from the loader stops the transfer now, not at the acknowledgement's time-out.
    if (sender_ && (st_.AbortFlag || st_.downloadCancel)) pump();
  });
  connect(&link_, &SerialLink::loaderBanner, this, [this](const QString& text) { panels_[1]->setText(text); });
  connect(&link_, &SerialLink::bootLoaderReady, this, &TfrmDownLoad::BootLoaderReady);
  connect(&link_, &SerialLink::acknowledged, this, [this] {
    if (sender_) pump();
  });
  connect(&link_, &SerialLink::bannerRefused, this, [this](const QString& text) {
    if (!isVisible()) return;
    prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"), text, PromptButtons::Ok);
    QDialog::reject();
  });
  connect(&link_, &SerialLink::disconnected, this, [this](const QString&) {
    if (sender_) {
      st_.AbortFlag = true;
      pump();
    } else if (isVisible() && st_.downloadState == 1) {
      st_.downloadState = 0;
      QDialog::reject();
    }
  });
  connect(&link_, &SerialLink::probeFinished, this, [this](bool found, const QString&) {
    if (entrySearch_) {
      entrySearch_ = false;
      boardSearched(found);
      return;
    }
    if (!waitingForProbe_) return;
    waitingForProbe_ = false;
    if (!found) {
      startRequest_ = true;
      st_.ReportOpenErrors = false;
      link_.OpenPort(true);
      st_.ReportOpenErrors = true;
      tmAutoStartTimer();
      return;
    }
    const OpenResult opened = link_.OpenPort(true);
    if (!opened.ok) {
      prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"),
                   qs(openFailureText(opened, ctx_.settings.PortName, ctx_.settings.LANG_NO_, false)), PromptButtons::Ok);
      setStartEnabled(true);
      return;
    }
    st_.downloadState = 1;
    setStartEnabled(true);
    btnStartClick();
  });
  setSmallForm();
}

TfrmDownLoad::~TfrmDownLoad() = default;

QString TfrmDownLoad::message(int n) const { return qs(ctx_.messages(n)); }

int TfrmDownLoad::state() const { return st_.downloadState; }

QString TfrmDownLoad::statusText(int panel) const {
  return panel >= 0 && panel < 2 ? panels_[panel]->text() : QString();
}

void TfrmDownLoad::setHexPath(const QString& path) {
  hexPath_ = path;
  lblFile_->setText(QFileInfo(path).fileName());
}

void TfrmDownLoad::setStartEnabled(bool on) {
  btnStart_->setEnabled(on);
  st_.downloadStartEnabled = on;
}

void TfrmDownLoad::setMsg2(const QString& text, const char* colour) {
  lblMsg2_->setText(text);
  lblMsg2_->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
}

int TfrmDownLoad::toutBox(QLineEdit* box) const {
  bool ok = false;
  const int v = box->text().trimmed().toInt(&ok);
  return ok ? v : 100;
}

void TfrmDownLoad::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  btnStart_->setFocus();
}

void TfrmDownLoad::FormShow() {
  tmAutoStart_->stop();
  setWindowTitle(QStringLiteral("Download"));
  lblUser_->setText(QStringLiteral("User Program"));
  setSmallForm();
  progress_->hide();
  st_.downloadCancel = false;
  lblMsg1_->setVisible(ctx_.settings.variant != 0);
  setMsg2({}, "red");
  panels_[0]->clear();
  panels_[1]->clear();
  if (st_.downloadState == 1) {
    lblMsg1_->setText(message(68));
    lblMsg2_->clear();
  } else {
    lblMsg1_->setText(message(66));
    setMsg2(message(67), "red");
  }
  btnStart_->setText(message(61));
  btnCancel_->setText(message(62));
  btnChange_->setText(message(63));
  setStartEnabled(true);
  btnChange_->setEnabled(true);
  memoRecv_->clear();
  st_.downloadLogLines = 0;
  cmbSend_->setEditText({});
  pnlPort_->setText(qs(ctx_.settings.PortName) + QStringLiteral(":") + QString::number(ctx_.settings.BaudRate) +
                    QStringLiteral("bps"));
  pnlFont_->setText(QStringLiteral("FontSize:") + QString::number(memoRecv_->font().pointSize()));
  ckHexDisp_->setChecked(true);
  edtAckTout_->setText(QString::number(ctx_.settings.Ack_Tout));
  edtSendTout_->setText(QString::number(ctx_.settings.SendTout));
  startRequest_ = false;
  st_.downloadVisible = true;
  btnStart_->setFocus();
}

void TfrmDownLoad::btnStartClick() {
  if (waitingForProbe_ || sender_) return;
  switch (st_.downloadState) {
    case 0:
      link_.ClosePort();
      setStartEnabled(false);
      waitingForProbe_ = true;
      link_.startProbe(serialPortNames());
      return;
    case 1:
      startRequest_ = true;
      link_.SendText(QStringLiteral("Reset"));
      tmAutoStart_->start(1000);
      return;
    default:
      st_.downloadState = 2;
      sendImage();
      return;
  }
}

void TfrmDownLoad::BootLoaderReady() {
  if (!btnStart_->isEnabled()) return;
  playChimes();
  lblMsg1_->hide();
  setMsg2(message(69), "blue");
  btnStart_->setFocus();
  if (ckAutoStart_->isChecked()) {
    startRequest_ = false;
    tmAutoStart_->start(500);
  } else {
    st_.downloadState = 2;
  }
}

void TfrmDownLoad::playChimes() { chimes_.play(QString::fromStdString(ctx_.settings.programFolder)); }

void TfrmDownLoad::tmAutoStartTimer() {
  tmAutoStart_->stop();
  if (st_.downloadState == 1 && !startRequest_) {
    st_.downloadState = 2;
    sendImage();
    return;
  }
  setStartEnabled(false);
  const Answer a = prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"), message(76),
                                PromptButtons::YesNo);
  st_.downloadState = 0;
  startRequest_ = false;
  setStartEnabled(true);
  if (a == Answer::No) QDialog::reject();
}

void TfrmDownLoad::sendImage() {
  emit mainStatus(qs(ctx_.settings.PortName) + QStringLiteral(":OK"));
  lblMsg1_->hide();
  setMsg2(message(69), "blue");
  setStartEnabled(false);
  btnChange_->setEnabled(false);
  st_.downloadCancel = false;
  panels_[0]->clear();
  st_.AbortFlag = false;
  const int sendTout = toutBox(edtSendTout_);
  const int ackTout = toutBox(edtAckTout_);
  if (!QFileInfo::exists(hexPath_)) {
    st_.AbortFlag = true;
    finishSending();
    return;
  }
  HexReadResult read = readHexFile(hexPath_.toStdString());
  if (!read.ok) {
    // Unreadable, or not a HEX image at all: nothing of it goes to the loader.
    panels_[1]->setText(QStringLiteral("Can't open ... ") + hexPath_);
    panels_[1]->setToolTip(qs(read.error));
    st_.downloadCancel = true;
    st_.AbortFlag = true;
    finishSending();
    return;
  }
  image_ = std::move(read.image);
  progress_->setRange(0, static_cast<int>(image_.fileSize + 1));
  progress_->setValue(0);
  progress_->show();
  sender_ = std::make_unique<HexSender>(image_, sendTout, ackTout);
  sender_->start(steadyMillis(), st_);
  pump();
}

void TfrmDownLoad::pump() {
  if (!sender_) return;
  tmSend_->stop();
  for (;;) {
    const Millis now = steadyMillis();
    const HexSender::Step step = sender_->step(now, st_);
    progress_->setValue(static_cast<int>(sender_->position()));
    if (!sender_->highestAddressText().empty()) panels_[0]->setText(qs(sender_->highestAddressText()));
    if (step == HexSender::Step::Send) {
      if (ckHexDisp_->isChecked()) addLog(qs(sender_->line()));
      st_.AckFlag = false;
      const bool ok = link_.isOpen() && link_.SendText(qs(sender_->line())) == SendStatus::Sent;
      sender_->sent(steadyMillis(), st_, ok);
      continue;
    }
    if (step == HexSender::Step::Idle) {
      const Millis next = sender_->nextDeadline();
      if (next != kNoDeadline) tmSend_->start(static_cast<int>(std::max<Millis>(0, next - steadyMillis())));
      return;
    }
    if (sender_->ackTimedOut()) addLog(QStringLiteral("Ack Tout!"));
    if (step == HexSender::Step::Failed) {
      st_.AbortFlag = st_.AbortFlag || !st_.downloadCancel;
    }
    break;
  }
  finishSending();
}

void TfrmDownLoad::finishSending() {
  tmSend_->stop();
  const bool failed = st_.downloadCancel || st_.AbortFlag;
  sender_.reset();
  progress_->hide();
  if (failed) {
    prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Information"), message(st_.AbortFlag ? 75 : 74),
                 PromptButtons::Ok);
    setStartEnabled(false);
    setMsg2(message(71), "red");
    panels_[0]->clear();
    if (st_.downloadState == 2) st_.downloadState = 1;
  } else {
    st_.downloadState = 3;
    if (!powerOnRun_) link_.SendBytes("R");
    prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Information"), message(73), PromptButtons::Ok);
    if (large_) {
      btnCancel_->setText(message(64));
      setMsg2(message(70), "blue");
    } else {
      btnChange_->setEnabled(true);
      st_.downloadCancel = false;
      accept();
      return;
    }
  }
  btnChange_->setEnabled(true);
  st_.downloadCancel = false;
}

void TfrmDownLoad::btnCancelClick() {
  if (sender_ || progress_->isVisible()) {
    st_.downloadCancel = true;
    pump();
    return;
  }
  QDialog::reject();
}

void TfrmDownLoad::reject() { btnCancelClick(); }

void TfrmDownLoad::done(int result) {
  tmAutoStart_->stop();
  tmSend_->stop();
  sender_.reset();
  ctx_.settings.SendTout = toutBox(edtSendTout_);
  ctx_.settings.Ack_Tout = toutBox(edtAckTout_);
  st_.downloadState = 0;
  st_.downloadVisible = false;
  st_.downloadStartEnabled = false;
  QDialog::done(result);
}

void TfrmDownLoad::btnChangeClick() {
  const QString path = prompts_.openFileName(this, QFileInfo(hexPath_).absolutePath(),
                                             QStringLiteral("Program (*.Hex);;All Files (*)"));
  if (path.isEmpty()) return;
  setHexPath(path);
  emit hexFolderChosen(QFileInfo(path).absolutePath() + QStringLiteral("/"));
}

// --- the command's entry -----------------------------------------------------------------------

void TfrmDownLoad::DownLoad(const QString& hexPath) {
  if (link_.probing() || entrySearch_) {
    // Repeating the command while the board is searched cancels the search.
    st_.ProbeMode = false;
    return;
  }
  setHexPath(hexPath);
  searchFailures_ = 0;
  searchBoard();
}

void TfrmDownLoad::searchBoard() {
  entrySearch_ = true;
  link_.startProbe(serialPortNames());
}

void TfrmDownLoad::boardSearched(bool found) {
  if (found) {
    st_.ReportOpenErrors = false;
    link_.OpenPort(true);
    st_.ReportOpenErrors = true;
    st_.downloadState = 1;
    showWindow();
    return;
  }
  st_.ReportOpenErrors = false;
  const bool opened = link_.OpenPort(true).ok;
  st_.ReportOpenErrors = true;
  if (!opened && ++searchFailures_ < kSearchTries) {
    const QString text = searchFailures_ == 1 ? message(66) + QStringLiteral("\r\n") + message(67) : message(76);
    const Answer a = prompts_.ask(parentWidget(), PromptIcon::Warning, QStringLiteral("Comport Search"), text,
                                  PromptButtons::YesNo);
    if (a != Answer::Yes) return;
    searchBoard();
    return;
  }
  st_.downloadState = 0;
  showWindow();
}

void TfrmDownLoad::showWindow() {
  hexKnown_ = true;
  FormShow();
  prompts_.showModal(*this);
  if (result() != QDialog::Accepted && !isVisible()) {
    hexKnown_ = false;
    hexPath_.clear();
  }
  if (!isVisible()) {
    st_.downloadVisible = false;
    st_.downloadState = 0;
    link_.ClosePort();
  }
}

}  // namespace kavel::gui
