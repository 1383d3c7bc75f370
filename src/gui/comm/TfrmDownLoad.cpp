#include "gui/comm/TfrmDownLoad.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/comm/BoardTexts.h"
#include "core/comm/DownloadSession.h"
#include "core/comm/PortList.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {

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

  connect(btnStart_, &QPushButton::clicked, this, &TfrmDownLoad::btnStartClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmDownLoad::btnCancelClick);
  connect(btnChange_, &QPushButton::clicked, this, &TfrmDownLoad::btnChangeClick);
  connect(&link_, &SerialLink::downloadLine, this, &TfrmDownLoad::addLog);
  connect(&link_, &SerialLink::polled, this, &TfrmDownLoad::collectEvents);
  setSmallForm();
}


TfrmDownLoad::~TfrmDownLoad() = default;

QString TfrmDownLoad::message(int n) const { return qs(ctx_.messages(n)); }

int TfrmDownLoad::state() const { return st_.downloadState; }

bool TfrmDownLoad::startRequest() const { return session_ && session_->startRequest(); }

bool TfrmDownLoad::sending() const { return session_ && session_->sending(); }

QString TfrmDownLoad::statusText(int panel) const {
  return panel >= 0 && panel < 2 ? panels_[panel]->text() : QString();
}

void TfrmDownLoad::setHexPath(const QString& path) {
  hexPath_ = path;
  lblFile_->setText(QFileInfo(path).fileName());
  if (session_) session_->setHexPath(path.toStdString());
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

void TfrmDownLoad::makeSession(const std::string& hexPath) {
  DownloadSession::Options o;
  o.askWhileSearching = true;
  o.startAtOnce = false;
  o.endOnFailure = false;
  o.acceptUnknownLoader = true;
  o.autoStart = ckAutoStart_->isChecked();
  o.run = !powerOnRun_;
  o.language = ctx_.settings.LANG_NO_;
  o.candidates = listSerialPortNames();
  session_ = std::make_unique<DownloadSession>(link_.board(), hexPath, o);
  session_->readTimeouts = [this](int& sendTout, int& ackTout) {
    sendTout = toutBox(edtSendTout_);
    ackTout = toutBox(edtAckTout_);
  };
}

void TfrmDownLoad::FormShow() {
  setWindowTitle(QStringLiteral("Download"));
  lblUser_->setText(QStringLiteral("User Program"));
  setSmallForm();
  progress_->hide();
  if (!session_) {
    // Shown without the command's search: the window takes the link as it is.
    makeSession(hexPath_.toStdString());
    session_->startConnected(st_.downloadState);
    while (session_->takeEvent()) {
    }
  }
  lblMsg1_->setVisible(ctx_.settings.variant != 0);
  setMsg2({}, "red");
  panels_[0]->clear();
  panels_[1]->clear();
  panels_[1]->setToolTip({});
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
  applyTerminalTexts();
  btnStart_->setEnabled(st_.downloadStartEnabled);
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
  btnStart_->setFocus();
}

void TfrmDownLoad::btnStartClick() {
  if (!session_) {
    makeSession(hexPath_.toStdString());
    session_->startConnected(st_.downloadState);
  }
  session_->setAutoStart(ckAutoStart_->isChecked());
  session_->setRun(!powerOnRun_);
  session_->pressStart();
  collectEvents();
  link_.wake();
}

void TfrmDownLoad::btnCancelClick() {
  if (session_ && session_->cancelTransfer()) {
    collectEvents();
    link_.wake();
    return;
  }
  QDialog::reject();
}

void TfrmDownLoad::reject() { btnCancelClick(); }

void TfrmDownLoad::done(int result) {
  ctx_.settings.SendTout = toutBox(edtSendTout_);
  ctx_.settings.Ack_Tout = toutBox(edtAckTout_);
  // Whatever the session was doing stops here, and the port closes with the window.
  if (session_) session_->finish(result != QDialog::Accepted);
  session_.reset();
  progress_->hide();
  QDialog::done(result);
}

void TfrmDownLoad::btnChangeClick() {
  const QString path = prompts_.openFileName(this, QFileInfo(hexPath_).absolutePath(),
                                             QStringLiteral("Program (*.Hex);;All Files (*)"));
  if (path.isEmpty()) return;
  setHexPath(path);
  hexForgotten_ = false;
  emit hexFolderChosen(QFileInfo(path).absolutePath() + QStringLiteral("/"));
}

void TfrmDownLoad::playChimes() { chimes_.play(QString::fromStdString(ctx_.settings.programFolder)); }

QString TfrmDownLoad::noBoardQuestion(const std::string& answer, const QString& fallback) const {
  // A board of another product answered: say what answered rather than that nothing did.
  return answer.empty() ? fallback : qs(anotherBoardQuestion(answer, ctx_.settings.LANG_NO_));
}

void TfrmDownLoad::showProgress() {
  const HexSender* sender = session_ ? session_->sender() : nullptr;
  if (!sender || !session_->sending()) return;
  if (progress_->isHidden()) {
    progress_->setRange(0, static_cast<int>(sender->fileSize() + 1));
    progress_->show();
  }
  progress_->setValue(static_cast<int>(sender->position()));
  if (!sender->highestAddressText().empty()) panels_[0]->setText(qs(sender->highestAddressText()));
}

void TfrmDownLoad::collectEvents() {
  using Kind = DownloadSession::EventKind;
  while (session_) {
    std::optional<DownloadSession::Event> e = session_->takeEvent();
    if (!e) break;
    switch (e->kind) {
      case Kind::SearchAgain: {
        const QString text = noBoardQuestion(
            e->text, e->count == 1 ? message(66) + QStringLiteral("\r\n") + message(67) : message(76));
        const Answer a = prompts_.ask(parentWidget(), PromptIcon::Warning, QStringLiteral("Comport Search"), text,
                                      PromptButtons::YesNo);
        if (session_) session_->answerSearch(a == Answer::Yes);
        link_.wake();
        break;
      }
      case Kind::Connected:
        if (!isVisible()) showWindow();
        break;
      case Kind::OpenFailed:
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"), qs(e->text), PromptButtons::Ok);
        break;
      case Kind::LoaderBanner:
        panels_[1]->setText(qs(e->text));
        break;
      case Kind::LoaderReady:
        playChimes();
        lblMsg1_->hide();
        setMsg2(message(69), "blue");
        btnStart_->setFocus();
        break;
      case Kind::NoPrompt: {
        btnStart_->setEnabled(false);
        const Answer a = prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"),
                                      noBoardQuestion(e->text, message(76)), PromptButtons::YesNo);
        if (session_) session_->answerNoPrompt();
        btnStart_->setEnabled(st_.downloadStartEnabled);
        if (a == Answer::No) QDialog::reject();
        break;
      }
      case Kind::Refused:
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Can't Download"), qs(e->text), PromptButtons::Ok);
        if (isVisible()) QDialog::reject();
        break;
      case Kind::SendingStarted:
        emit mainStatus(qs(ctx_.settings.PortName) + QStringLiteral(":OK"));
        lblMsg1_->hide();
        setMsg2(message(69), "blue");
        btnChange_->setEnabled(false);
        panels_[0]->clear();
        break;
      case Kind::ImageUnreadable:
        panels_[1]->setText(qs(e->text));
        panels_[1]->setToolTip(qs(e->detail));
        break;
      case Kind::LineSent:
        if (ckHexDisp_->isChecked()) addLog(qs(e->text));
        showProgress();
        break;
      case Kind::AckTimeout:
        addLog(qs(e->text));
        break;
      case Kind::TransferDone:
        progress_->hide();
        btnChange_->setEnabled(true);
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Information"), message(73), PromptButtons::Ok);
        if (!large_) {
          accept();
          break;
        }
        btnCancel_->setText(message(64));
        setMsg2(message(70), "blue");
        break;
      case Kind::TransferFailed:
        progress_->hide();
        btnChange_->setEnabled(true);
        btnStart_->setEnabled(false);
        // Why it failed stays in the status bar; a file that could not be read is named there already.
        if (!panels_[1]->text().startsWith(QStringLiteral("Can't open ... "))) panels_[1]->setText(qs(e->text));
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Information"), message(e->cancelled ? 74 : 75),
                     PromptButtons::Ok);
        setMsg2(message(71), "red");
        panels_[0]->clear();
        break;
      case Kind::Disconnected:
        if (isVisible()) QDialog::reject();
        break;
    }
  }
  if (!session_) return;
  if (session_->ended() && !isVisible()) {
    // The command's search ended without a window (the user said No).
    session_.reset();
    return;
  }
  btnStart_->setEnabled(st_.downloadStartEnabled);
  showProgress();
}

// --- the command's entry -----------------------------------------------------------------------

void TfrmDownLoad::DownLoad(const QString& hexPath) {
  if (link_.probing()) {
    // Repeating the command while the board is searched cancels the search.
    st_.ProbeMode = false;
    link_.wake();
    return;
  }
  if (isVisible()) return;
  setHexPath(hexPath);
  hexForgotten_ = false;
  makeSession(hexPath.toStdString());
  session_->start();
  link_.wake();
}

void TfrmDownLoad::showWindow() {
  hexKnown_ = true;
  FormShow();
  prompts_.showModal(*this);
  const bool cancelled = result() != QDialog::Accepted;
  if (!isVisible()) {
    if (cancelled) {
      hexKnown_ = false;
      hexForgotten_ = true;
      hexPath_.clear();
    }
    // In every case the port closes with the window.
    if (session_) session_->finish(cancelled);
    session_.reset();
  }
}

}  // namespace kavel::gui
