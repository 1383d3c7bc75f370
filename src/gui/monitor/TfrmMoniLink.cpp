// The sensor monitor's talk with the board: connecting, the start button, the module buttons,
// the three line handlers, the output, LED, servo and ID controls, and the closing sequence.

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

#include "core/Context.h"
#include "core/comm/LinkState.h"
#include "core/comm/PortList.h"
#include "core/comm/SerialOpenError.h"
#include "core/monitor/ChartHistory.h"
#include "core/monitor/MonitorCommands.h"
#include "core/monitor/MonitorConfig.h"
#include "core/monitor/MonitorReport.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/ConnectorGroup.h"
#include "gui/monitor/TfrmMoni.h"

namespace kavel::gui {

namespace {

std::vector<std::string> serialPortNames() {
  std::vector<std::string> names;
  for (const PortInfo& p : listSerialPorts()) names.push_back(p.name);
  return names;
}

const char* const kModuleStop[kMonitorModules] = {kCompassStreamOff, kUltrasonicStreamOff, kGamePadStreamOff,
                                                  kCameraStreamOff};

}  // namespace

// --- the command's entry ------------------------------------------------------------------------

void TfrmMoni::Monitor() {
  if (link_.probing() || entrySearch_) {
    // Repeating the command while the board is searched cancels the search.
    st_.ProbeMode = false;
    entryCancelled_ = entrySearch_;
    return;
  }
  entrySearch_ = true;
  entryCancelled_ = false;
  link_.startProbe(serialPortNames());
}

// --- connecting ---------------------------------------------------------------------------------

void TfrmMoni::connectBoard(std::function<void(bool)> then) {
  if (link_.isOpen()) {
    send(kAskVersion);
    then(true);
    return;
  }
  if (ctx_.settings.variant == 0) {
    st_.ReportOpenErrors = false;
    const bool opened = link_.OpenPort(true).ok;
    st_.ReportOpenErrors = true;
    if (opened) {
      send(kRestartBoard);
      then(true);
      return;
    }
  }
  if (link_.probing()) {
    then(false);
    return;
  }
  afterProbe_ = std::move(then);
  link_.startProbe(serialPortNames());
}

void TfrmMoni::probeFinished(bool found) {
  if (entrySearch_) {
    // The command's search only finds the port; the window's buttons connect.
    entrySearch_ = false;
    if (entryCancelled_) return;
    prompts_.showModal(*this);
    if (!isVisible() && link_.isOpen()) link_.ClosePort();
    return;
  }
  if (!afterProbe_) return;
  std::function<void(bool)> then = std::move(afterProbe_);
  afterProbe_ = nullptr;
  if (!found) {
    prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Comport Search"),
                 message(66) + QStringLiteral("\r\n") + message(67), PromptButtons::Ok);
    then(false);
    return;
  }
  const OpenResult opened = link_.OpenPort(true);
  if (!opened.ok) {
    prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Warning!"),
                 qs(openFailureText(opened, ctx_.settings.PortName, ctx_.settings.LANG_NO_, false)),
                 PromptButtons::Ok);
    then(false);
    return;
  }
  send(kAskVersion);
  then(true);
}

// --- start and module buttons -------------------------------------------------------------------

void TfrmMoni::stopStream() {
  send(kSensorStreamOff);
  btnStart_->setText(message(146));
  startRequest_ = false;
}

void TfrmMoni::btnStartClick() {
  if (closing_) return;
  if (afterProbe_) {
    // Pressed again while the board is searched: the search stops.
    st_.ProbeMode = false;
    return;
  }
  if (startRequest_) {
    stopStream();
    return;
  }
  startRequest_ = true;
  connectBoard([this](bool ok) {
    // Without a board the next press starts again instead of stopping nothing.
    if (!ok) startRequest_ = false;
  });
}

void TfrmMoni::btnModuleClick(MonitorModule module) {
  if (closing_ || afterProbe_) return;
  if (startRequest_) stopStream();
  connectBoard([this, module](bool ok) {
    if (!ok) return;
    const int m = static_cast<int>(module);
    marks_[m] = true;
    if (hooks_.show) hooks_.show(module);
    send(kModuleStop[m]);
    marks_[m] = false;
    startRequest_ = false;
  });
}

// --- what the board sends -----------------------------------------------------------------------

void TfrmMoni::VersionLine(const QString& text) {
  if (!st_.sensorMonitorListening) return;
  panels_[0]->setText(text);
  const VersionAction action = versionAction(startRequest_, moduleMark(MonitorModule::Compass),
                                             moduleMark(MonitorModule::Ultrasonic));
  if (action.closeModules) {
    if (hooks_.closeVisible) hooks_.closeVisible();
    marks_ = {};
  }
  if (action.chime) playChimes();
  if (action.kind == VersionAction::StartSensors) {
    btnStart_->setText(message(147));
    monitoring_ = true;
  }
  if (!action.command.empty()) send(action.command);
}

void TfrmMoni::OptionLine(const QString& text) {
  if (!st_.sensorMonitorListening) return;
  const std::optional<MonitorConfig> config = parseConfigLine(text.toStdString());
  if (!config) return;
  applyMonitorConfig(*config, ctx_.io, ctx_.setup);
  cmbID_->setCurrentIndex(std::clamp(ctx_.io.subIoId, 0, 8));
  setUpConnectors();
  setModuleButtons();
  send(kConfigLedOn);
  // The program windows' rows name the connectors by their modes.
  emit bench_.setupChanged();
}

void TfrmMoni::ReportLine(const QString& text) {
  if (!st_.sensorMonitorListening) return;
  const std::string line = text.toStdString();
  const std::optional<MonitorReport> report = parseConnectorReport(line, ctx_.io.cnMode, ctx_.settings.variant);
  if (!report) return;
  std::array<std::optional<double>, ChartHistory::kConnectors> numbers{};
  for (int n = 1; n <= 10; ++n) {
    const ConnectorReading& r = report->cn[n - 1];
    ConnectorGroup* g = groups_[n - 1];
    g->pnlRaw()->setText(qs(r.raw));
    const QString value = qs(r.value);
    if (g->pnlValue()->text() != value) g->pnlValue()->setText(value);
    if (r.bar) g->pBar()->setValue(*r.bar);
    if (r.high && *r.high != outHigh_[n - 1]) {
      outHigh_[n - 1] = *r.high;
      setOutputLed(n, *r.high);
    }
    if (r.number) numbers[n - 1] = *r.number;
  }
  const std::optional<bool> leds[3] = {report->ledGreen, report->ledRed1, report->ledRed2};
  for (int i = 0; i < 3; ++i) {
    if (leds[i] && *leds[i] != ledOn_[i]) setLed(i, *leds[i]);
  }
  if (report->ledRed2 && grpLedR2_->isHidden()) grpLedR2_->show();
  ++reportsShown_;
  recordReport(*report);
  addChartSample(numbers);
}

// --- controls -----------------------------------------------------------------------------------

void TfrmMoni::btnOutClick(int i) {
  if (!monitoring_ || i < 0 || i >= 10) return;
  send(outputButtonCommand(i, groups_[i]->pnlValue()->text().toStdString()));
}

void TfrmMoni::btnLedClick(int led) {
  if (!monitoring_ || led < 0 || led > 2) return;
  send(ledButtonCommand(led, ledOn_[led]));
}

void TfrmMoni::tBarChange(int connector) {
  if (!monitoring_ || (connector != 7 && connector != 8)) return;
  send(servoCommand(connector, groups_[connector - 1]->tBar()->value()));
}

void TfrmMoni::cmbIDCloseUp() {
  if (!monitoring_) return;
  playChimes();
  // The board needs a moment after the chime before it takes the new ID; the window stays live.
  tmId_->start(500);
}

// --- closing ------------------------------------------------------------------------------------

void TfrmMoni::btnCloseClick() { done(QDialog::Rejected); }

void TfrmMoni::reject() { done(QDialog::Rejected); }

void TfrmMoni::closeEvent(QCloseEvent* event) {
  if (closed_ || !st_.sensorMonitorListening) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
  done(QDialog::Rejected);
}

void TfrmMoni::done(int result) {
  if (closed_ || !st_.sensorMonitorListening) {
    QDialog::done(result);
    return;
  }
  if (closing_) return;  // the sequence is running; it closes the window when it ends
  closing_ = true;
  closeResult_ = result;
  tmId_->stop();
  if (afterProbe_) st_.ProbeMode = false;
  pnlTop_->parentWidget()->setEnabled(false);
  pnlConnectors_->setEnabled(false);
  keepNames();
  closingSteps_.clear();
  closingStep_ = 0;
  if (monitoring_ && link_.isOpen()) closingSteps_ = closingSequence(ctx_.io.cnMode);
  runClosingStep();
}

void TfrmMoni::runClosingStep() {
  // A link that broke off meanwhile has nobody left to tell.
  if (closingStep_ >= closingSteps_.size() || !link_.isOpen()) {
    finishClosing();
    return;
  }
  const TimedCommand& step = closingSteps_[closingStep_++];
  send(step.command);
  tmClose_->start(step.pauseMs);
}

void TfrmMoni::finishClosing() {
  tmClose_->stop();
  monitoring_ = false;
  const int pad = static_cast<int>(MonitorModule::GamePad);
  if (link_.isOpen() && marks_[pad]) {
    marks_[pad] = false;
    send(kGamePadStreamOff);
  }
  stopRecording({});
  logShown_ = false;
  pnlLog_->hide();
  st_.sensorMonitorListening = false;
  closed_ = true;
  closing_ = false;
  QDialog::done(closeResult_);
}

void TfrmMoni::closeAtOnce() {
  // The link is gone: nothing can be sent, the window only lets go, and a module window open
  // over it goes too.
  if (std::any_of(marks_.begin(), marks_.end(), [](bool m) { return m; }) && hooks_.closeVisible) {
    hooks_.closeVisible();
  }
  closingSteps_.clear();
  closingStep_ = 0;
  if (!closing_) {
    closing_ = true;
    closeResult_ = QDialog::Rejected;
    keepNames();
  }
  finishClosing();
}

void TfrmMoni::keepNames() {
  // Names edited here stay, and are saved with the settings on exit.
  for (int n = 0; n < 10; ++n) ctx_.io.cnName[n] = groups_[n]->edtName()->text().toStdString();
}

}  // namespace kavel::gui
