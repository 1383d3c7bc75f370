#pragma once
// The sensor monitor: shows what the board reads on its ten connectors and its LEDs, drives
// outputs, LEDs and the two servo outputs, learns the board's configuration, records the
// reports to a CSV file, charts the last 30 seconds, and opens the module windows. The core's
// MonitorSession (the one `kavel monitor` runs) decides every step: connecting, what the
// version line starts, the controls' commands, the closing sequence; the window shows its
// events and passes the clicks. It stays open until the closing sequence has ended.

#include <QDialog>
#include "gui/app/Chimes.h"
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/monitor/MonitorCommands.h"
#include "gui/monitor/MonitorModule.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace kavel {
struct Context;
struct LinkState;
class MonitorRecorder;
struct MonitorReport;
class MonitorSession;
class SerialLink;
}  // namespace kavel

namespace kavel::gui {

class ClickLabel;
class ConnectorGroup;
class MonitorChart;
class Prompts;
class Workbench;

class TfrmMoni : public QDialog {
  Q_OBJECT

 public:
  /// The robot pictures and "chimes.wav" are looked for in `programFolder`.
  TfrmMoni(Context& ctx, Workbench& bench, const QString& programFolder, QWidget* parent);
  ~TfrmMoni() override;

  /// The main window's monitor command: searches the board, shows the window modally and
  /// closes the port when it has closed. Repeating the command during the search cancels it.
  void Monitor();
  void setModuleHooks(MonitorModuleHooks hooks) { hooks_ = std::move(hooks); }

  /// The first activation after the window was closed: caption, picture, width, texts,
  /// connectors and module buttons. Later calls only clear the start request.
  void FormActivate();

  void btnStartClick();
  /// Starts the closing sequence; the window closes when it has ended.
  void btnCloseClick();
  void btnModuleClick(MonitorModule module);
  /// Output button of connector index `i` (CN1 is 0).
  void btnOutClick(int i);
  /// LED button 0 green, 1 red 1, 2 red 2.
  void btnLedClick(int led);
  /// Track bar of CN7 or CN8 moved (`connector` 7 or 8).
  void tBarChange(int connector);
  /// The ID list was closed on a choice.
  void cmbIDCloseUp();
  void btnSendClick();
  void edtCmdReturn();
  void btnLogClearClick();
  void pnlTopDblClick();
  /// Asks for a CSV file and records every report into it; pressed again, stops.
  void btnRecordClick();
  /// Shows or hides the live chart.
  void ckChartClick();

  /// Shows a connector report line read with the connector modes of the I/O setup.
  void ReportLine(const QString& text);

  bool listening() const;
  bool monitoring() const;
  bool startRequest() const;
  bool moduleMark(MonitorModule module) const;
  bool logShown() const { return logShown_; }
  bool chartShown() const;
  bool closing() const;
  bool recording() const;
  /// Recording, but no reports arrive because the stream is stopped (a module window is open).
  bool recordingPaused() const { return recordPaused_; }
  /// Reports handled since the window was shown.
  long reportsShown() const { return reportsShown_; }
  /// Height of the window without log and chart.
  int baseHeight() const;

  ConnectorGroup* group(int connector) const { return groups_[connector - 1]; }
  QLabel* imgTop() const { return imgTop_; }
  /// The robot picture shown, empty when its file is missing.
  QString pictureFile() const { return pictureFile_; }
  ClickLabel* pnlTop() const { return pnlTop_; }
  QPushButton* btnStart() const { return btnStart_; }
  QPushButton* btnClose() const { return btnClose_; }
  QPushButton* btnModule(MonitorModule module) const { return btnModules_[static_cast<int>(module)]; }
  QComboBox* cmbID() const { return cmbID_; }
  QToolButton* btnLed(int led) const { return btnLeds_[led]; }
  QWidget* grpLedR2() const { return grpLedR2_; }
  QPushButton* btnRecord() const { return btnRecord_; }
  QCheckBox* ckChart() const { return ckChart_; }
  QCheckBox* ckSeries(int connector) const { return ckSeries_[connector - 1]; }
  MonitorChart* chart() const { return chart_; }
  /// The log; while it is folded away the lines are kept aside and appear when it is shown.
  QPlainTextEdit* memoLog() const { return memoLog_; }
  QLineEdit* edtCmd() const { return edtCmd_; }
  QPushButton* btnSend() const { return btnSend_; }
  QPushButton* btnLogClear() const { return btnLogClear_; }
  QString statusText(int panel) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildTopPanel();
  void buildConnectorArea();
  void buildChartPanel();
  void buildLogPanel();
  void loadPicture();
  void applyTexts();
  void setUpConnector(int connector);
  void setUpConnectors();
  void setModuleButtons();
  void setLed(int led, bool on);
  void setOutputLed(int connector, bool high);
  void resizeToContent();
  void addLog(const QString& line, bool clear = false);
  void showHiddenLog();
  QString message(int n) const;
  void playChimes();

  // The session's events.
  void collectEvents();
  void afterSessionCall();
  void showReport(const MonitorReport& report);
  void configChanged(const std::string& changes);
  void showModule(MonitorModule module);
  void noBoard(const std::string& answer);

  // Closing.
  void finishClosing();
  void closeAtOnce();
  void keepNames();

  // Recording and the chart.
  void recordFailed(const QString& reason);
  void recordReport(const MonitorReport& report);
  void stopRecording(const QString& status);
  void pauseRecording();
  void resumeRecording();
  void chartSeriesChanged();
  void addChartSample(const std::array<std::optional<double>, 10>& numbers);

  Context& ctx_;
  Workbench& bench_;
  SerialLink& link_;
  LinkState& st_;
  Prompts& prompts_;
  QString programFolder_;
  MonitorModuleHooks hooks_;

  ClickLabel* pnlTop_;
  QLabel* imgTop_;
  QWidget* pnlConnectors_;
  QWidget* pnlCentre_;
  QPushButton* btnStart_;
  QPushButton* btnClose_;
  std::array<QPushButton*, kMonitorModules> btnModules_{};
  QComboBox* cmbID_;
  std::array<QToolButton*, 3> btnLeds_{};
  QWidget* grpLedR2_;
  QPushButton* btnRecord_;
  QCheckBox* ckChart_;
  std::array<ConnectorGroup*, 10> groups_{};
  QWidget* pnlChart_;
  std::array<QCheckBox*, 10> ckSeries_{};
  MonitorChart* chart_;
  QWidget* pnlLog_;
  QPlainTextEdit* memoLog_;
  QStringList hiddenLog_;
  QLineEdit* edtCmd_;
  QPushButton* btnSend_;
  QPushButton* btnLogClear_;
  QWidget* sBar_;
  std::array<QLabel*, 2> panels_{};
  Chimes chimes_{this};

  std::unique_ptr<MonitorSession> session_;
  std::array<bool, 3> ledOn_{};
  std::array<bool, 10> outHigh_{};
  bool logShown_ = false;
  int pictureWidth_ = 0;  // 0: no picture
  QString pictureFile_;
  long reportsShown_ = 0;

  bool entrySearch_ = false;              // the command's search before the window shows
  bool entryCancelled_ = false;           // ... was cancelled: the window is not shown
  bool closed_ = false;                   // the closing sequence has ended: done() may close
  int closeResult_ = 0;

  std::unique_ptr<MonitorRecorder> recorder_;
  bool recordPaused_ = false;
};

}  // namespace kavel::gui
