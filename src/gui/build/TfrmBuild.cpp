#include "gui/build/TfrmBuild.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <csignal>
#include <unistd.h>

#include "core/build/BuildFiles.h"
#include "core/build/BuildOutput.h"
#include "core/build/CSourceBuildPane.h"
#include "core/build/ErrorLine.h"
#include "core/build/ErrorPosition.h"
#include "core/build/SampleBuildFolder.h"
#include "core/settings/SettingsPaths.h"
#include "core/codegen/CodeBuffer.h"
#include "core/text/TextFile.h"
#include "gui/app/MessageText.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"

namespace kavel::gui {
namespace {

constexpr int kWidth = 640;
constexpr int kStatementClientHeight = 460;
constexpr int kErrorPaneHeight = 150;
constexpr int kTickMs = 10;
constexpr int kMessageNotFound = 57;
constexpr int kMessageComplete = 58;
constexpr int kMessageFailed = 59;
constexpr int kMessageBuild = 53;
constexpr int kMessageCancel = 54;
constexpr int kMessageClose = 55;
constexpr int kTitleWarning = 44;
constexpr const char* kDefaultBatFile = "Build/Build_V190617/BuildPath.Bat";
constexpr const char* kReadErrorText = "Can't perform one of the following file operations: Open, Seek, Read, Close.";
constexpr int kFolderPollMs = 250;

}  // namespace

TfrmBuild::TfrmBuild(Context& ctx, Prompts& prompts, BuildWindowServices services, QWidget* parent)
    : QDialog(parent), ctx_(ctx), prompts_(prompts), services_(std::move(services)) {
  setObjectName("frmBuild");
  setWindowTitle("Kavel Build");
  setModal(true);

  pnlTop = new QWidget(this);
  pnlTop->setObjectName("pnlTop");
  auto* top = new QHBoxLayout(pnlTop);
  top->setContentsMargins(8, 6, 8, 6);
  btnBuild = new QPushButton(pnlTop);
  btnBuild->setObjectName("btnBuild");
  btnBuild->setDefault(true);
  ckDownLoad = new QCheckBox("DownLoad", pnlTop);
  ckDownLoad->setObjectName("ckDownLoad");
  ckPwrOnRun = new QCheckBox("PwrOn Run", pnlTop);
  ckPwrOnRun->setObjectName("ckPwrOnRun");
  pnlFileName = new QLabel(pnlTop);
  pnlFileName->setObjectName("pnlFileName");
  pnlFileName->setFrameShape(QFrame::StyledPanel);
  pnlFileName->setMinimumWidth(140);
  pBar = new QProgressBar(pnlTop);
  pBar->setObjectName("pBar");
  pBar->setRange(0, 100);
  btnCancel = new QPushButton(pnlTop);
  btnCancel->setObjectName("btnCancel");
  top->addWidget(btnBuild);
  top->addWidget(ckDownLoad);
  top->addWidget(ckPwrOnRun);
  top->addWidget(pnlFileName, 1);
  top->addWidget(pBar, 1);
  top->addWidget(btnCancel);

  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setObjectName("Splitter1");
  memoBuild = new QPlainTextEdit(Splitter1);
  memoBuild->setObjectName("memoBuild");
  memoErr = new QPlainTextEdit(Splitter1);
  memoErr->setObjectName("memoErr");
  for (QPlainTextEdit* pane : {memoBuild, memoErr}) {
    pane->setReadOnly(true);
    pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setFont(QFont("Monospace"));
  }
  Splitter1->setCollapsible(0, false);
  Splitter1->setCollapsible(1, false);

  sBar = new QStatusBar(this);
  sBar->setObjectName("sBar");
  sBar->setSizeGripEnabled(false);
  sBarPanel1 = new QLabel(sBar);
  sBarPanel1->setMinimumWidth(120);
  sBarPanel2 = new QLabel(sBar);
  sBar->addWidget(sBarPanel1);
  sBar->addWidget(sBarPanel2, 1);
  for (QWidget* w : {static_cast<QWidget*>(sBar), static_cast<QWidget*>(sBarPanel1), static_cast<QWidget*>(sBarPanel2)}) {
    w->installEventFilter(this);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pnlTop);
  layout->addWidget(Splitter1, 1);
  layout->addWidget(sBar);

  progress_ = new QTimer(this);
  progress_->setInterval(kTickMs);
  connect(progress_, &QTimer::timeout, this, &TfrmBuild::progressTick);
  folderWait_ = new QTimer(this);
  folderWait_->setInterval(kFolderPollMs);
  connect(folderWait_, &QTimer::timeout, this, &TfrmBuild::holdFolderAndBuild);
  connect(btnBuild, &QPushButton::clicked, this, &TfrmBuild::btnBuildClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmBuild::btnCancelClick);
  connect(memoErr, &QPlainTextEdit::cursorPositionChanged, this, &TfrmBuild::ShowErrorPosition);
  resize(kWidth, kStatementClientHeight);
}

TfrmBuild::~TfrmBuild() {
  // A tool chain still running when the program ends is stopped with everything it started.
  if (process_ && process_->state() != QProcess::NotRunning) {
    ::kill(-static_cast<pid_t>(process_->processId()), SIGKILL);
    process_->waitForFinished(2000);
  }
}

void TfrmBuild::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!running()) FormShow();
}

void TfrmBuild::FormShow() {
  const bool statementStyle = ctx_.settings.EdtStyle == 0;
  Splitter1->setVisible(statementStyle);
  memoBuild->setVisible(statementStyle);
  programPath_ = ctx_.programs.currentProgram().path;
  pnlFileName->setText(qs(text::fileNameOf(programPath_)));
  buildFolder_ = buildFolderOf(ctx_.settings.BatFile_);
  sBarPanel1->setText(ctx_.settings.MCU2620_ != 0 ? "18F2620" : "18F2520");
  sBarPanel2->setText(qs(buildFolder_));
  sBarPanel2->setToolTip({});
  statusTag_ = 0;
  btnBuild->setText(msgText(ctx_, kMessageBuild));
  btnCancel->setText(msgText(ctx_, kMessageCancel));
  ckDownLoad->setChecked(true);
  ckDownLoad->setEnabled(false);
  memoBuild->clear();
  paneLines_.clear();
  paneOrigins_.clear();
  markLine(-1);
  {
    // Only the user's caret moves show an error position.
    const QSignalBlocker quiet(memoErr);
    memoErr->clear();
  }
  memoErr->hide();
  pBar->hide();
  ckPwrOnRun->setVisible(ckPwrOnRun->isChecked());
  btnBuild->setEnabled(true);
  btnCancel->setEnabled(true);

  const int height = statementStyle ? kStatementClientHeight : pnlTop->sizeHint().height() + sBar->sizeHint().height();
  resize(width(), height);
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    move(x(), area.top() + (area.height() - height) / 2);
  }
  btnBuild->setFocus();
}

void TfrmBuild::btnBuildClick() {
  if (running()) return;
  // An installed copy builds in its own copy of the sample folder, made on the first build.
  if (std::string why; !prepareBuildFolder(ctx_.settings.BatFile_, paths_, &why)) {
    prompts_.ask(this, PromptIcon::Warning, msgText(ctx_, kTitleWarning), qs(why), PromptButtons::Ok);
    return;
  }
  if (!buildFolderExists(buildFolder_)) {
    prompts_.ask(this, PromptIcon::Warning, msgText(ctx_, kTitleWarning), msgText(ctx_, kMessageNotFound),
                 PromptButtons::Ok);
    if (!paths_.buildRoot.empty()) {
      ctx_.settings.BatFile_ = defaultBatFile(paths_);  // the user's copy of the sample folder
    } else {
      const std::string folder = services_.programFolder.empty()
                                     ? QCoreApplication::applicationDirPath().toStdString() + "/"
                                     : services_.programFolder;
      ctx_.settings.BatFile_ = folder + kDefaultBatFile;
    }
    buildFolder_ = buildFolderOf(ctx_.settings.BatFile_);
    sBarPanel2->setText(qs(buildFolder_));
    ChooseBuildPath();
    return;
  }
  if (services_.saveBeforeBuild && !services_.saveBeforeBuild()) return;
  // Saving may have given the program its first name.
  programPath_ = ctx_.programs.currentProgram().path;
  pnlFileName->setText(qs(text::fileNameOf(programPath_)));

  setBusy(true);
  waitStarted_ = QDateTime::currentMSecsSinceEpoch();
  holdFolderAndBuild();
}

void TfrmBuild::holdFolderAndBuild() {
  // From writing User.c to copying User.Hex out, the folder is this build's alone: another
  // build there (a second window, kavel build) would swap the programs.
  switch (lock_.tryAcquire(buildFolder_, "kavelide")) {
    case BuildFolderLock::State::Held:
      folderWait_->stop();
      phase_ = Phase::Idle;
      sBarPanel2->setText(qs(buildFolder_));
      btnCancel->setEnabled(false);
      generate();
      startToolChain();
      return;
    case BuildFolderLock::State::Failed:
      stopWaiting();
      prompts_.ask(this, PromptIcon::Warning, msgText(ctx_, kTitleWarning), qs(lock_.error()), PromptButtons::Ok);
      return;
    case BuildFolderLock::State::Busy:
      break;
  }
  if (QDateTime::currentMSecsSinceEpoch() - waitStarted_ >= folderWaitMs_) {
    stopWaiting();
    prompts_.ask(this, PromptIcon::Warning, msgText(ctx_, kTitleWarning),
                 qs("The build folder " + buildFolder_ + " is still in use by another build (" + lock_.holder() +
                    "), so nothing was built. Build again when that build has ended."),
                 PromptButtons::Ok);
    return;
  }
  phase_ = Phase::Waiting;
  sBarPanel2->setText(qs("Waiting for another build in this folder to end (" + lock_.holder() + ")..."));
  btnCancel->setEnabled(true);  // Cancel stops waiting
  if (!folderWait_->isActive()) folderWait_->start();
}

void TfrmBuild::stopWaiting() {
  folderWait_->stop();
  phase_ = Phase::Idle;
  sBarPanel2->setText(qs(buildFolder_));
  setBusy(false);
}

bool TfrmBuild::generate() {
  CodeGenOptions options;
  options.pwrOnRun = ckPwrOnRun->isChecked();
  options.subFolder = ctx_.settings.DatPath_;
  CodeGenHooks hooks = services_.codeGenHooks;
  if (!hooks.fileError) {
    hooks.fileError = [this](const std::string& title, const std::string& text, const std::string& detail) {
      prompts_.ask(this, PromptIcon::Warning, qs(title), qs(text + "\n" + detail), PromptButtons::Ok);
    };
  }
  CodeGenerator generator(ctx_, options, hooks);
  CodeBuffer buffer(CodeTarget::BuildBuffer);
  memoBuild->clear();
  paneLines_.clear();
  paneOrigins_.clear();
  markLine(-1);
  if (ctx_.settings.EdtStyle == 0) {
    const bool written = generator.GenerateCode(buffer);
    paneLines_ = buffer.lines();
    paneOrigins_ = buffer.origins();
    QStringList lines;
    for (const std::string& line : buffer.lines()) lines << qs(line);
    memoBuild->setPlainText(lines.join('\n'));
    return written;
  }
  // A program kept as C source: the header and the user's file as User.c, both or neither.
  std::string source;
  std::string error;
  if (!text::readFileBytes(programPath_, source, &error)) {
    prompts_.ask(this, PromptIcon::Warning, kFileErrorTitle, qs(std::string(kReadErrorText) + "\n" + error),
                 PromptButtons::Ok);
    return false;
  }
  const bool written = generator.WriteBuildFiles(source);
  paneLines_ = cSourceBuildPaneLines(source, ctx_.settings.TAB_Spc_);
  // User.c is Main's text: pane line k is text line k of Main.
  for (std::size_t k = 0; k < paneLines_.size(); ++k) paneOrigins_.push_back(LineOrigin{0, static_cast<int>(k)});
  QStringList lines;
  for (const std::string& line : paneLines_) lines << qs(line);
  memoBuild->setPlainText(lines.join('\n'));
  return written;
}

void TfrmBuild::startToolChain() {
  const ToolChainCommand command = makeToolChainCommand(ctx_.settings.BatFile_, ctx_.settings.MCU2620_ != 0,
                                                       currentEnvironment());
  batchName_ = command.arguments.front();
  started_ = false;
  stopped_ = false;
  // An old image that stays would pass for this build's.
  if (std::string why; !clearBuildResults(buildFolder_, &why)) {
    prompts_.ask(this, PromptIcon::Warning, windowTitle(), qs(why), PromptButtons::Ok);
    stopped_ = true;
    finishRun();
    return;
  }
  if (!text::fileExists(command.workingFolder + batchName_)) {
    prompts_.ask(this, PromptIcon::Warning, windowTitle(), "Prosess Error!", PromptButtons::Ok);
    finishRun();
    return;
  }

  delete process_;
  process_ = new QProcess(this);
  process_->setProgram(qs(command.program));
  QStringList arguments;
  for (const std::string& a : command.arguments) arguments << qs(a);
  process_->setArguments(arguments);
  process_->setWorkingDirectory(qs(command.workingFolder));
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->setStandardOutputFile(qs(command.outputFile), QIODevice::Truncate);
  process_->setStandardInputFile(QProcess::nullDevice());
  QProcessEnvironment environment;
  for (const std::string& entry : command.environment) {
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) environment.insert(qs(entry.substr(0, eq)), qs(entry.substr(eq + 1)));
  }
  process_->setProcessEnvironment(environment);
  // Its own process group, so that stopping the build also stops what the batch file started.
  process_->setChildProcessModifier([] { ::setpgid(0, 0); });
  connect(process_, &QProcess::finished, this, &TfrmBuild::toolChainEnded);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || phase_ != Phase::Running) return;
    progress_->stop();
    phase_ = Phase::Idle;
    prompts_.ask(this, PromptIcon::Warning, windowTitle(), "Prosess Error!", PromptButtons::Ok);
    finishRun();
  });

  pBar->setValue(0);
  pBar->show();
  phase_ = Phase::Running;
  progress_->start();
  process_->start();
}

void TfrmBuild::progressTick() {
  if (pBar->value() < 100) pBar->setValue(pBar->value() + 1);
  if (phase_ == Phase::Finishing && pBar->value() >= 100) finishRun();
}

void TfrmBuild::toolChainEnded() {
  if (phase_ == Phase::Running) phase_ = Phase::Finishing;
}

void TfrmBuild::finishRun() {
  progress_->stop();
  phase_ = Phase::Idle;
  const bool statementStyle = ctx_.settings.EdtStyle == 0;
  if (!stopped_ && buildSucceeded(buildFolder_)) {
    BuildResult = 1;
    prompts_.ask(this, PromptIcon::Information, "Complete!", msgText(ctx_, kMessageComplete), PromptButtons::Ok);
    std::string error;
    if (!programPath_.empty() && !copyBuildResults(buildFolder_, programPath_, statementStyle, error)) {
      prompts_.ask(this, PromptIcon::Warning, kFileErrorTitle, qs(std::string(kFileWriteErrorText) + "\n" + error),
                   PromptButtons::Ok);
    }
  } else {
    BuildResult = 0;
    ckDownLoad->setChecked(false);
    prompts_.ask(this, PromptIcon::Warning, "Warning!", msgText(ctx_, kMessageFailed), PromptButtons::Ok);
  }
  pBar->hide();
  showFile(buildFolder_ + kBuildOutputFile);
  lock_.release();
  statusTag_ = 0;
  setBusy(false);

  if (BuildResult == 1) {
    if (ckDownLoad->isChecked()) {
      accept();
      return;
    }
    btnCancel->setText(msgText(ctx_, kMessageClose));
  }
  growWindow();
}

void TfrmBuild::showFile(const std::string& path) {
  const BuildOutput output = readBuildOutput(path);
  const QSignalBlocker quiet(memoErr);
  memoErr->setPlainText(output.readable ? qs(output.text) : qs("Can't Open " + path));
}

void TfrmBuild::growWindow() {
  Splitter1->show();
  memoBuild->show();
  memoErr->show();
  int height = kStatementClientHeight + kErrorPaneHeight;
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    height = std::max(kStatementClientHeight, s->geometry().height() - 200);
    resize(width(), height);
    move(x(), area.top() + (area.height() - height) / 2);
  } else {
    resize(width(), height);
  }
  const int panes = std::max(Splitter1->height(), kErrorPaneHeight * 2);
  Splitter1->setSizes({panes - kErrorPaneHeight, kErrorPaneHeight});
}

void TfrmBuild::setBusy(bool busy) {
  btnBuild->setEnabled(!busy);
  btnCancel->setEnabled(!busy);
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (QApplication::overrideCursor()) {
    QApplication::restoreOverrideCursor();
  }
}

void TfrmBuild::btnCancelClick() {
  if (running()) {
    reject();
    return;
  }
  if (btnCancel->text() == msgText(ctx_, kMessageClose)) {
    accept();
  } else {
    QDialog::reject();
  }
}

void TfrmBuild::reject() {
  if (phase_ == Phase::Waiting) {
    stopWaiting();
    return;
  }
  // Closing while the tool chain runs stops it; the window stays to show what it wrote.
  if (phase_ == Phase::Running && process_) {
    stopped_ = true;
    ::kill(-static_cast<pid_t>(process_->processId()), SIGKILL);
    return;
  }
  if (running()) return;
  QDialog::reject();
}

void TfrmBuild::ShowErrorPosition() {
  const QTextCursor cursor = memoErr->textCursor();
  sBarPanel1->setText(qs(caretPositionText(cursor.blockNumber() + 1, cursor.positionInBlock() + 1)));
  sBarPanel2->clear();
  sBarPanel2->setToolTip({});
  const std::string line = cursor.block().text().toStdString();
  const ErrorPosition position = errorPosition(line);
  if (!position.found) return;
  // The compiler's own words stay at hand in the tool tip; the panel shows the line to look for.
  sBarPanel2->setToolTip(qs(position.rest));
  const ErrorLineTarget target = errorLineTarget(line, paneLines_, paneOrigins_);
  if (!target.found) {
    // A line the pane does not hold: the number as the compiler wrote it.
    sBarPanel2->setText(QString::number(position.number));
    return;
  }
  sBarPanel2->setText(qs(target.shownNumber.empty() ? std::to_string(target.paneLine + 1) : target.shownNumber));
  markLine(target.paneLine);
  if (target.program >= 0 && services_.showProgramRow) services_.showProgramRow(target.program, target.row);
}

void TfrmBuild::markLine(int paneLine) {
  markedLine_ = paneLine;
  if (paneLine < 0) {
    memoBuild->setExtraSelections({});
    return;
  }
  const QTextBlock block = memoBuild->document()->findBlockByNumber(paneLine);
  if (!block.isValid()) {
    markedLine_ = -1;
    memoBuild->setExtraSelections({});
    return;
  }
  QTextEdit::ExtraSelection mark;
  mark.cursor = QTextCursor(block);
  mark.format.setBackground(QColor(0xFF, 0xE0, 0x80));
  mark.format.setProperty(QTextFormat::FullWidthSelection, true);
  memoBuild->setExtraSelections({mark});
  memoBuild->setTextCursor(QTextCursor(block));
  memoBuild->centerCursor();
}

void TfrmBuild::sBarDblClick() {
  if (!ckDownLoad->isEnabled()) {
    ckDownLoad->setEnabled(true);
    ckPwrOnRun->show();
    return;
  }
  if (!memoErr->isVisible() || running()) return;
  if (statusTag_ == 0) {
    showFile(buildFolder_ + kConfigHeaderFile);
    statusTag_ = 1;
  } else {
    showFile(buildFolder_ + kBuildOutputFile);
    statusTag_ = 0;
  }
}

bool TfrmBuild::ChooseBuildPath() {
  const QString chosen = prompts_.openFileName(this, qs(text::folderOf(ctx_.settings.BatFile_)),
                                               "Batch Files (B*.Bat);;All Files (*)", qs(ctx_.settings.BatFile_));
  if (chosen.isEmpty()) return false;
  ctx_.settings.BatFile_ = chosen.toStdString();
  buildFolder_ = buildFolderOf(ctx_.settings.BatFile_);
  sBarPanel2->setText(qs(buildFolder_));
  if (services_.buildPathChanged) services_.buildPathChanged();
  return true;
}

bool TfrmBuild::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    sBarDblClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kavel::gui
