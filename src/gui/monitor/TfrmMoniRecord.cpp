// The sensor monitor's Record button and live chart: every report into a CSV file the user
// picked, and the last 30 seconds of the ticked connectors as lines.

#include <QCheckBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/comm/Clock.h"
#include "core/monitor/ChartScale.h"
#include "core/monitor/MonitorConnectorLook.h"
#include "core/monitor/MonitorRecorder.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/monitor/ConnectorGroup.h"
#include "gui/monitor/MonitorChart.h"
#include "gui/monitor/TfrmMoni.h"

namespace kavel::gui {

namespace {

constexpr int kChartHeight = 210;

}  // namespace

bool TfrmMoni::recording() const { return recorder_ && recorder_->recording(); }

bool TfrmMoni::chartShown() const { return pnlChart_->isVisible(); }

// --- recording ----------------------------------------------------------------------------------

void TfrmMoni::btnRecordClick() {
  if (recording()) {
    stopRecording(QString());
    return;
  }
  const QString proposed = qs(ctx_.settings.DatPath_) + QStringLiteral("monitor-") +
                           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  const QString path =
      prompts_.saveFileName(this, proposed, QStringLiteral("CSV (*.csv);;All Files (*)"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  auto recorder = std::make_unique<MonitorRecorder>();
  if (!recorder->open(path.toStdString())) {
    recordFailed(qs(recorder->error()));
    return;
  }
  recorder_ = std::move(recorder);
  recordPaused_ = false;
  btnRecord_->setText(message(142));
  panels_[1]->setText(message(152) + QStringLiteral(" ") + path);
  // Started while the stream is stopped: it says so at once.
  if (!startRequest()) pauseRecording();
}

void TfrmMoni::recordReport(const MonitorReport& report) {
  if (!recording()) return;
  if (!recorder_->append(report, steadyMillis())) {
    const QString reason = qs(recorder_->error());
    recorder_.reset();
    btnRecord_->setText(message(141));
    recordFailed(reason);
  }
}

void TfrmMoni::pauseRecording() {
  // No reports come while the stream is stopped: the status bar must not go on saying
  // "Recording".
  if (!recording() || recordPaused_) return;
  recorder_->pause();
  recordPaused_ = true;
  const QString note = qs(recordingPausedText(recorder_->path(), ctx_.settings.LANG_NO_));
  panels_[1]->setText(note);
  addLog(note);
}

void TfrmMoni::resumeRecording() {
  if (!recording() || !recordPaused_) return;
  recorder_->resume();
  recordPaused_ = false;
  addLog(qs(recordingResumedText(recorder_->path(), ctx_.settings.LANG_NO_)));
  panels_[1]->setText(message(152) + QStringLiteral(" ") + qs(recorder_->path()));
}

void TfrmMoni::recordFailed(const QString& reason) {
  panels_[1]->setText(reason);
  // Told after the report that failed has been handled: a box shown from inside the link's
  // reading would read the port again underneath it.
  QTimer::singleShot(0, this, [this, reason] {
    prompts_.ask(this, PromptIcon::Warning, message(141), message(144) + QStringLiteral("\r\n") + reason,
                 PromptButtons::Ok);
  });
}

void TfrmMoni::stopRecording(const QString& status) {
  if (!recorder_) return;
  const long rows = recorder_->rows();
  const QString path = qs(recorder_->path());
  recorder_->close();
  recorder_.reset();
  recordPaused_ = false;
  btnRecord_->setText(message(141));
  panels_[1]->setText(status.isEmpty() ? QStringLiteral("%1 (%2)").arg(path).arg(rows) : status);
}

// --- the chart ----------------------------------------------------------------------------------

void TfrmMoni::buildChartPanel() {
  pnlChart_ = new QWidget(this);
  pnlChart_->setObjectName("pnlChart");
  auto* ticks = new QHBoxLayout;
  ticks->setSpacing(6);
  for (int n = 1; n <= 10; ++n) {
    auto* ck = new QCheckBox(QStringLiteral("CN%1").arg(n), pnlChart_);
    ck->setObjectName(QStringLiteral("ckSeries%1").arg(n));
    ck->setStyleSheet(QStringLiteral("QCheckBox { color: %1; font-weight: bold; }")
                          .arg(MonitorChart::seriesColour(n - 1).name()));
    ckSeries_[n - 1] = ck;
    ticks->addWidget(ck);
    connect(ck, &QCheckBox::toggled, this, [this, n](bool on) { chart_->setShown(n - 1, on); });
  }
  ticks->addStretch(1);
  chart_ = new MonitorChart(pnlChart_);
  chart_->setFixedHeight(kChartHeight - 28);
  auto* v = new QVBoxLayout(pnlChart_);
  v->setContentsMargins(2, 0, 2, 0);
  v->setSpacing(2);
  v->addLayout(ticks);
  v->addWidget(chart_);
  ckSeries_[0]->setChecked(true);
}

void TfrmMoni::ckChartClick() {
  pnlChart_->setVisible(ckChart_->isChecked());
  resizeToContent();
}

void TfrmMoni::chartSeriesChanged() {
  for (int n = 1; n <= 10; ++n) {
    const MonitorConnectorLook look = monitorConnectorLook(ctx_.io.cnMode[n - 1], n, ctx_.settings.variant);
    const ChartUnit unit = chartUnit(look.shows);
    QString name = QStringLiteral("CN%1").arg(n);
    const QString given = groups_[n - 1]->edtName()->text().trimmed();
    if (!given.isEmpty()) name += QStringLiteral(" ") + given;
    chart_->setSeries(n - 1, name, QString::fromUtf8(unit.unit), unit.low, unit.high);
  }
}

void TfrmMoni::addChartSample(const std::array<std::optional<double>, 10>& numbers) {
  chart_->addSample(steadyMillis(), numbers);
}

}  // namespace kavel::gui
