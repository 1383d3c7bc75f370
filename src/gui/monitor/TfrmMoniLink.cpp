// The sensor monitor's part in its session: the command's search, the start and module
// buttons, the controls, what the session's events show, and the closing sequence.

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

#include "core/Context.h"
#include "core/comm/BoardTexts.h"
#include "core/comm/LinkState.h"
#include "core/comm/PortList.h"
#include "core/monitor/ChartHistory.h"
#include "core/monitor/MonitorReport.h"
#include "core/monitor/MonitorSession.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/editor/TfrmProg.h"
#include "gui/monitor/ConnectorGroup.h"
#include "gui/monitor/TfrmMoni.h"

namespace kavel::gui {

// --- the command's entry ------------------------------------------------------------------------

void TfrmMoni::Monitor() {
  if (link_.probing()) {
    // Repeating the command while the board is searched cancels the search.
    st_.ProbeMode = false;
    entryCancelled_ = entrySearch_;
    link_.wake();
    return;
  }
  if (isVisible()) return;
  entrySearch_ = true;
  entryCancelled_ = false;
  session_->setCandidates(listSerialPortNames());
  session_->search();
  link_.wake();
}

// --- the session --------------------------------------------------------------------------------

void TfrmMoni::afterSessionCall() {
  collectEvents();
  link_.wake();
}

void TfrmMoni::collectEvents() {
  using Kind = MonitorSession::EventKind;
  while (std::optional<MonitorSession::Event> e = session_->takeEvent()) {
    switch (e->kind) {
      case Kind::Searched:
        if (!entrySearch_) break;
        // The command's search only finds the port; the window's buttons connect.
        entrySearch_ = false;
        if (entryCancelled_) break;
        prompts_.showModal(*this);
        if (!isVisible() && link_.isOpen()) link_.ClosePort();
        break;
      case Kind::NoBoard:
        noBoard(e->text);
        break;
      case Kind::OpenFailed:
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Warning!"), qs(e->text), PromptButtons::Ok);
        break;
      case Kind::ModuleReady:
        showModule(e->module);
        break;
      case Kind::Version:
        panels_[0]->setText(qs(e->text));
        break;
      case Kind::CloseModules:
        if (hooks_.closeVisible) hooks_.closeVisible();
        break;
      case Kind::Chime:
        playChimes();
        break;
      case Kind::Monitoring:
        btnStart_->setText(message(147));
        resumeRecording();
        break;
      case Kind::StreamStopped:
        btnStart_->setText(message(146));
        pauseRecording();
        break;
      case Kind::Config:
        configChanged(e->text);
        break;
      case Kind::Report:
        showReport(e->report);
        break;
      case Kind::Closed:
        finishClosing();
        break;
      case Kind::Disconnected:
        closeAtOnce();
        break;
    }
  }
}

void TfrmMoni::noBoard(const std::string& answer) {
  // A board of another product answered: say what answered rather than that nothing did.
  const QString first = answer.empty() ? message(66) : qs(anotherBoardAnswered(answer, ctx_.settings.LANG_NO_));
  prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Comport Search"), first + QStringLiteral("\r\n") + message(67),
               PromptButtons::Ok);
}

void TfrmMoni::showModule(MonitorModule module) {
  if (hooks_.show) hooks_.show(module);
  // The link may have broken off and closed everything while the module's window was open.
  if (!st_.sensorMonitorListening) return;
  session_->moduleClosed(module);
  afterSessionCall();
}

// --- start and module buttons -------------------------------------------------------------------

void TfrmMoni::btnStartClick() {
  session_->setCandidates(listSerialPortNames());
  session_->pressStart();
  afterSessionCall();
}

void TfrmMoni::btnModuleClick(MonitorModule module) {
  session_->setCandidates(listSerialPortNames());
  session_->openModule(module);
  afterSessionCall();
}

// --- what the board sends -----------------------------------------------------------------------

void TfrmMoni::configChanged(const std::string& changes) {
  cmbID_->setCurrentIndex(std::clamp(ctx_.io.subIoId, 0, 8));
  setUpConnectors();
  setModuleButtons();
  // The program windows' rows name the connectors by their modes.
  emit bench_.setupChanged();
  if (changes.empty()) return;
  // The I/O setup is part of the Main program file: it now differs from the file on disk.
  const QString text = qs(changes);
  addLog(text);
  panels_[1]->setText(text);
  if (TfrmProg* main = bench_.windows().prog(0)) {
    main->setModified(true);
  } else {
    ctx_.programs.main().modified = true;
  }
}

void TfrmMoni::ReportLine(const QString& text) {
  if (!st_.sensorMonitorListening) return;
  const std::optional<MonitorReport> report =
      parseConnectorReport(text.toStdString(), ctx_.io.cnMode, ctx_.settings.variant);
  if (report) showReport(*report);
}

void TfrmMoni::showReport(const MonitorReport& report) {
  // Counted as it is shown: a progress bar repaints itself at once while the panels change.
  ++reportsShown_;
  std::array<std::optional<double>, ChartHistory::kConnectors> numbers{};
  for (int n = 1; n <= 10; ++n) {
    const ConnectorReading& r = report.cn[n - 1];
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
  const std::optional<bool> leds[3] = {report.ledGreen, report.ledRed1, report.ledRed2};
  for (int i = 0; i < 3; ++i) {
    if (leds[i] && *leds[i] != ledOn_[i]) setLed(i, *leds[i]);
  }
  if (report.ledRed2 && grpLedR2_->isHidden()) grpLedR2_->show();
  recordReport(report);
  addChartSample(numbers);
}

// --- controls -----------------------------------------------------------------------------------

void TfrmMoni::btnOutClick(int i) {
  if (i < 0 || i >= 10) return;
  session_->output(i, groups_[i]->pnlValue()->text().toStdString());
  afterSessionCall();
}

void TfrmMoni::btnLedClick(int led) {
  if (led < 0 || led > 2) return;
  session_->led(led, ledOn_[led]);
  afterSessionCall();
}

void TfrmMoni::tBarChange(int connector) {
  if (connector != 7 && connector != 8) return;
  session_->servo(connector, groups_[connector - 1]->tBar()->value());
  afterSessionCall();
}

void TfrmMoni::cmbIDCloseUp() {
  session_->chooseId(cmbID_->currentIndex());
  afterSessionCall();
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
  if (session_->closing()) return;  // the sequence is running; it closes the window when it ends
  closeResult_ = result;
  pnlTop_->parentWidget()->setEnabled(false);
  pnlConnectors_->setEnabled(false);
  keepNames();
  session_->stop();
  afterSessionCall();
}

void TfrmMoni::finishClosing() {
  stopRecording({});
  logShown_ = false;
  pnlLog_->hide();
  closed_ = true;
  QDialog::done(closeResult_);
}

void TfrmMoni::closeAtOnce() {
  // The link is gone: nothing can be sent, the window only lets go, and a module window open
  // over it goes too.
  if (hooks_.closeVisible) hooks_.closeVisible();
  if (closed_) return;
  closeResult_ = QDialog::Rejected;
  keepNames();
  finishClosing();
}

void TfrmMoni::keepNames() {
  // Names edited here stay, and are saved with the settings on exit.
  for (int n = 0; n < 10; ++n) ctx_.io.cnName[n] = groups_[n]->edtName()->text().toStdString();
}

}  // namespace kavel::gui
