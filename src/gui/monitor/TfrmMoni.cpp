#include "gui/monitor/TfrmMoni.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/Context.h"
#include "core/comm/LinkState.h"
#include "core/monitor/MonitorConnectorLook.h"
#include "core/monitor/MonitorRecorder.h"
#include "core/monitor/MonitorSession.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Glyphs.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/ConnectorGroup.h"
#include "gui/monitor/MonitorChart.h"

namespace kavel::gui {

namespace {

// The connector columns: 294 pixels each side of the picture, which is drawn 356 high.
constexpr int kPictureHeight = 356;
constexpr int kColumnsWidth = 588;
constexpr int kNoPictureWidth = 580;
constexpr int kGroupHeight = 71;
constexpr int kLogHeight = 200;

// Glyph kinds of the LED pictures.
constexpr int kGreenOff = 34;
constexpr int kGreenOn = 35;
constexpr int kRedOff = 36;
constexpr int kRedOn = 37;

QColor fromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QColor captionColour(CaptionColour c) {
  switch (c) {
    case CaptionColour::Blue: return QColor(0, 0, 255);
    case CaptionColour::Green: return QColor(0, 128, 0);
    case CaptionColour::Red: return QColor(255, 0, 0);
    case CaptionColour::Normal: break;
  }
  return {};
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text = {}) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TfrmMoni::TfrmMoni(Context& ctx, Workbench& bench, const QString& programFolder, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      bench_(bench),
      link_(bench.link()),
      st_(bench.link().state()),
      prompts_(bench.prompts()),
      programFolder_(programFolder) {
  setObjectName("frmMoni");
  if (!programFolder_.isEmpty() && !programFolder_.endsWith('/')) programFolder_ += '/';
  buildTopPanel();
  buildConnectorArea();
  buildChartPanel();
  buildLogPanel();

  sBar_ = new QWidget(this);
  sBar_->setObjectName("sBar");
  auto* bar = new QHBoxLayout(sBar_);
  bar->setContentsMargins(2, 0, 2, 0);
  for (int i = 0; i < 2; ++i) {
    panels_[i] = new QLabel(sBar_);
    panels_[i]->setFrameShape(QFrame::Panel);
    panels_[i]->setFrameShadow(QFrame::Sunken);
    panels_[i]->setMinimumWidth(120);
    bar->addWidget(panels_[i], i == 0 ? 2 : 3);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(pnlTop_->parentWidget());
  layout->addWidget(pnlConnectors_);
  layout->addWidget(pnlChart_);
  layout->addWidget(pnlLog_, 1);
  layout->addWidget(sBar_);
  pnlChart_->hide();
  pnlLog_->hide();

  MonitorSession::Options options;
  options.versionTime = 0;          // the user decides how long to wait
  options.endWhenNoBoard = false;   // the window says so and stays
  options.closePortAtEnd = false;   // the main window closes the port after the window
  session_ = std::make_unique<MonitorSession>(link_.board(), ctx_.io, ctx_.setup, options);

  connect(&link_, &SerialLink::monitorLine, this, [this](const QString& text, bool clear) { addLog(text, clear); });
  connect(&link_, &SerialLink::polled, this, &TfrmMoni::collectEvents);
}

// The link may already be gone when the main window's children are deleted: the session
// leaves a link that still exists and touches nothing else.
TfrmMoni::~TfrmMoni() = default;

void TfrmMoni::buildTopPanel() {
  auto* top = new QWidget(this);
  top->setObjectName("pnlTopArea");
  pnlTop_ = new ClickLabel(top);
  pnlTop_->setObjectName("pnlTop");
  pnlTop_->setFrameShape(QFrame::Panel);
  pnlTop_->setFrameShadow(QFrame::Raised);
  pnlTop_->setAlignment(Qt::AlignCenter);
  pnlTop_->setMinimumHeight(28);
  pnlTop_->setWordWrap(true);
  connect(pnlTop_, &ClickLabel::doubleClicked, this, &TfrmMoni::pnlTopDblClick);
  btnStart_ = pushButton(top, "btnStart");
  btnStart_->setMinimumWidth(90);
  btnClose_ = pushButton(top, "btnClose");
  btnClose_->setMinimumWidth(90);
  connect(btnStart_, &QPushButton::clicked, this, &TfrmMoni::btnStartClick);
  connect(btnClose_, &QPushButton::clicked, this, &TfrmMoni::btnCloseClick);

  const char* names[kMonitorModules] = {"btnCmps", "btnUss", "btnPad", "btnPixy"};
  const char* captions[kMonitorModules] = {"Comp.Monitor", "4chUSS Monitor", "GamePad Monitor", "Pixy Monitor"};
  for (int m = 0; m < kMonitorModules; ++m) {
    btnModules_[m] = pushButton(top, names[m], QString::fromLatin1(captions[m]));
    connect(btnModules_[m], &QPushButton::clicked, this, [this, m] { btnModuleClick(static_cast<MonitorModule>(m)); });
  }
  cmbID_ = new QComboBox(top);
  cmbID_->setObjectName("cmbID");
  cmbID_->addItem(QStringLiteral("Master"));
  for (int i = 1; i <= 8; ++i) cmbID_->addItem(QStringLiteral("Sub I/O[%1]").arg(i));
  connect(cmbID_, &QComboBox::activated, this, [this](int) { cmbIDCloseUp(); });

  auto* grpLed = new QWidget(top);
  grpLed->setObjectName("grpLed");
  auto* leds = new QHBoxLayout(grpLed);
  leds->setContentsMargins(0, 0, 0, 0);
  leds->setSpacing(4);
  leds->addWidget(new QLabel(QStringLiteral("LED"), grpLed));
  const char* ledNames[3] = {"btnLedG", "btnLedR1", "btnLedR2"};
  for (int i = 0; i < 3; ++i) {
    btnLeds_[i] = new QToolButton(grpLed);
    btnLeds_[i]->setObjectName(ledNames[i]);
    btnLeds_[i]->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnLeds_[i]->setIconSize(QSize(22, 22));
    btnLeds_[i]->setMinimumWidth(58);
    connect(btnLeds_[i], &QToolButton::clicked, this, [this, i] { btnLedClick(i); });
  }
  leds->addWidget(btnLeds_[0]);
  leds->addWidget(btnLeds_[1]);
  grpLedR2_ = new QWidget(grpLed);
  grpLedR2_->setObjectName("grpLedR2");
  auto* r2 = new QHBoxLayout(grpLedR2_);
  r2->setContentsMargins(0, 0, 0, 0);
  r2->addWidget(btnLeds_[2]);
  leds->addWidget(grpLedR2_);

  btnRecord_ = pushButton(top, "btnRecord");
  btnRecord_->setMinimumWidth(110);
  connect(btnRecord_, &QPushButton::clicked, this, &TfrmMoni::btnRecordClick);
  ckChart_ = new QCheckBox(top);
  ckChart_->setObjectName("ckChart");
  connect(ckChart_, &QCheckBox::clicked, this, &TfrmMoni::ckChartClick);

  auto* grid = new QGridLayout(top);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(4);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(pnlTop_, 1);
  row1->addWidget(btnStart_);
  row1->addWidget(btnClose_);
  auto* row2 = new QHBoxLayout;
  for (QPushButton* b : btnModules_) row2->addWidget(b);
  row2->addWidget(cmbID_);
  row2->addStretch(1);
  auto* row3 = new QHBoxLayout;
  row3->addWidget(grpLed);
  row3->addStretch(1);
  row3->addWidget(btnRecord_);
  row3->addWidget(ckChart_);
  grid->addLayout(row1, 0, 0);
  grid->addLayout(row2, 1, 0);
  grid->addLayout(row3, 2, 0);
}

void TfrmMoni::buildConnectorArea() {
  pnlConnectors_ = new QWidget(this);
  pnlConnectors_->setObjectName("pnlConnectors");
  auto* row = new QHBoxLayout(pnlConnectors_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  QVBoxLayout* columns[2] = {new QVBoxLayout, new QVBoxLayout};
  for (int n = 1; n <= 10; ++n) {
    auto* g = new ConnectorGroup(n, pnlConnectors_);
    g->setFixedSize(kColumnsWidth / 2 - 6, kGroupHeight);
    groups_[n - 1] = g;
    columns[n <= 5 ? 0 : 1]->addWidget(g);
    connect(g->btnOut(), &QToolButton::clicked, this, [this, n] { btnOutClick(n - 1); });
    if (g->tBar()) connect(g->tBar(), &QSlider::valueChanged, this, [this, n](int) { tBarChange(n); });
  }
  for (QVBoxLayout* c : columns) {
    c->setSpacing(0);
    c->setContentsMargins(2, 0, 2, 0);
  }
  pnlCentre_ = new QWidget(pnlConnectors_);
  imgTop_ = new QLabel(pnlCentre_);
  imgTop_->setObjectName("imgTop");
  imgTop_->setAlignment(Qt::AlignCenter);
  auto* centre = new QVBoxLayout(pnlCentre_);
  centre->setContentsMargins(0, 0, 0, 0);
  centre->addWidget(imgTop_);
  row->addLayout(columns[0]);
  row->addWidget(pnlCentre_, 1);
  row->addLayout(columns[1]);
}

void TfrmMoni::buildLogPanel() {
  pnlLog_ = new QWidget(this);
  pnlLog_->setObjectName("pnlLog");
  memoLog_ = new QPlainTextEdit(pnlLog_);
  memoLog_->setObjectName("memoLog");
  memoLog_->setReadOnly(true);
  memoLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edtCmd_ = new QLineEdit(pnlLog_);
  edtCmd_->setObjectName("edtCmd");
  connect(edtCmd_, &QLineEdit::returnPressed, this, &TfrmMoni::edtCmdReturn);
  btnSend_ = pushButton(pnlLog_, "btnSend", QStringLiteral("Send"));
  connect(btnSend_, &QPushButton::clicked, this, &TfrmMoni::btnSendClick);
  btnLogClear_ = pushButton(pnlLog_, "btnLogClear", QStringLiteral("Log Clear"));
  connect(btnLogClear_, &QPushButton::clicked, this, &TfrmMoni::btnLogClearClick);
  auto* v = new QVBoxLayout(pnlLog_);
  v->setContentsMargins(2, 0, 2, 0);
  v->setSpacing(2);
  v->addWidget(memoLog_, 1);
  auto* cmd = new QHBoxLayout;
  cmd->addWidget(edtCmd_, 1);
  cmd->addWidget(btnSend_);
  cmd->addWidget(btnLogClear_);
  v->addLayout(cmd);
}

QString TfrmMoni::message(int n) const { return qs(ctx_.messages(n)); }

QString TfrmMoni::statusText(int panel) const {
  return panel >= 0 && panel < 2 ? panels_[panel]->text() : QString();
}

bool TfrmMoni::listening() const { return st_.sensorMonitorListening; }

bool TfrmMoni::monitoring() const { return session_->monitoring(); }

bool TfrmMoni::startRequest() const { return session_->startRequest(); }

bool TfrmMoni::moduleMark(MonitorModule module) const { return session_->moduleMark(module); }

bool TfrmMoni::closing() const { return session_->closing(); }

void TfrmMoni::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window brought back from the task bar was not activated by the program: Start keeps
  // meaning Stop.
  if (!event->spontaneous() || !st_.sensorMonitorListening) FormActivate();
}

void TfrmMoni::FormActivate() {
  session_->clearStartRequest();
  if (st_.sensorMonitorListening) return;
  session_->setLanguage(ctx_.settings.LANG_NO_);
  session_->open();
  setWindowTitle(QStringLiteral("Sensor Monitor"));
  logShown_ = false;
  pnlLog_->hide();
  closed_ = false;
  recordPaused_ = false;
  pnlTop_->parentWidget()->setEnabled(true);
  pnlConnectors_->setEnabled(true);
  loadPicture();
  applyTexts();
  memoLog_->clear();
  hiddenLog_.clear();
  st_.monitorLogLines = 0;
  cmbID_->setCurrentIndex(std::clamp(ctx_.io.subIoId, 0, 8));
  setUpConnectors();
  setModuleButtons();
  for (int i = 0; i < 3; ++i) setLed(i, false);
  grpLedR2_->hide();
  btnClose_->setFocus();
  panels_[0]->clear();
  panels_[1]->clear();
  edtCmd_->clear();
  reportsShown_ = 0;
  chart_->clear();
  resizeToContent();
}

void TfrmMoni::loadPicture() {
  static const char* const files[] = {"TopView_Glent.bmp", "QV7B_TopView.bmp", "QV7B_TopView.bmp", "WL_TopView.bmp",
                                      "WL_TopView.bmp"};
  const int variant = std::clamp(ctx_.settings.variant, 0, 4);
  QPixmap pm(programFolder_ + QString::fromLatin1(files[variant]));
  pictureWidth_ = 0;
  pictureFile_.clear();
  if (pm.isNull() || pm.height() <= 0) {
    imgTop_->clear();
    imgTop_->hide();
    return;
  }
  // The picture's own bottom-left colour is its background: it lets the window show through.
  const QImage image = pm.toImage();
  pm.setMask(pm.createMaskFromColor(image.pixelColor(0, image.height() - 1), Qt::MaskInColor));
  pictureWidth_ = pm.width() * kPictureHeight / pm.height();
  imgTop_->setPixmap(pm.scaled(pictureWidth_, kPictureHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  imgTop_->show();
  pictureFile_ = QString::fromLatin1(files[variant]);
}

void TfrmMoni::applyTexts() {
  pnlTop_->setText(message(145));
  btnStart_->setText(message(146));
  btnClose_->setText(message(64));
  btnRecord_->setText(recording() ? message(142) : message(141));
  ckChart_->setText(message(143));
}

void TfrmMoni::setUpConnectors() {
  for (int n = 1; n <= 10; ++n) setUpConnector(n);
  chartSeriesChanged();
}

void TfrmMoni::setUpConnector(int n) {
  ConnectorGroup* g = groups_[n - 1];
  const int mode = ctx_.io.cnMode[n - 1];
  const MonitorConnectorLook look = monitorConnectorLook(mode, n, ctx_.settings.variant);
  if (look.captionChanged) {
    g->setCaption(qs(look.caption), captionColour(look.captionColour));
    g->setNameColour(fromBgr(look.nameColour));
  } else if (g->title().isEmpty()) {
    g->setCaption(QStringLiteral("CN%1").arg(n), {});
  }
  g->pnlRaw()->clear();
  g->pnlValue()->clear();
  g->pBar()->setValue(0);
  g->edtName()->setText(qs(ctx_.io.cnName[n - 1]));
  g->pBar()->setVisible(look.barVisible);
  g->btnOut()->setVisible(look.buttonVisible);
  if (g->tBar()) g->tBar()->setVisible(look.trackBarVisible);
  g->btnOut()->setProperty("redLed", look.redLedButton);
  outHigh_[n - 1] = false;
  setOutputLed(n, false);
}

void TfrmMoni::setOutputLed(int n, bool high) {
  QToolButton* b = groups_[n - 1]->btnOut();
  const bool red = b->property("redLed").toBool();
  b->setIcon(bench_.glyphs().forKind(red ? (high ? kRedOn : kRedOff) : (high ? kGreenOn : kGreenOff)));
}

void TfrmMoni::setModuleButtons() {
  const IoSetup& io = ctx_.io;
  btnModules_[static_cast<int>(MonitorModule::Compass)]->setEnabled(io.useDir || io.useHmc || io.useBno);
  btnModules_[static_cast<int>(MonitorModule::Ultrasonic)]->setEnabled(io.useUss);
  btnModules_[static_cast<int>(MonitorModule::Camera)]->setEnabled(io.usePixy);
  btnModules_[static_cast<int>(MonitorModule::GamePad)]->setVisible(io.useSnx4410);
  cmbID_->setVisible(io.subIoOn);
}

void TfrmMoni::setLed(int led, bool on) {
  ledOn_[led] = on;
  const bool green = led == 0;
  btnLeds_[led]->setIcon(bench_.glyphs().forKind(green ? (on ? kGreenOn : kGreenOff) : (on ? kRedOn : kRedOff)));
  btnLeds_[led]->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
}

int TfrmMoni::baseHeight() const {
  const auto* l = layout();
  const QMargins m = l->contentsMargins();
  const int spacing = l->spacing();
  return m.top() + pnlTop_->parentWidget()->sizeHint().height() + spacing + pnlConnectors_->sizeHint().height() +
         spacing + sBar_->sizeHint().height() + m.bottom();
}

void TfrmMoni::resizeToContent() {
  const int width = pictureWidth_ > 0 ? pictureWidth_ + kColumnsWidth : kNoPictureWidth;
  pnlCentre_->setFixedWidth(std::max(0, width - kColumnsWidth));
  pnlCentre_->setVisible(pictureWidth_ > 0);
  const int spacing = layout()->spacing();
  int height = baseHeight();
  if (pnlChart_->isVisible() || ckChart_->isChecked()) height += pnlChart_->sizeHint().height() + spacing;
  if (logShown_) height += kLogHeight;
  setFixedSize(width, height);
}

void TfrmMoni::pnlTopDblClick() {
  logShown_ = !logShown_;
  if (logShown_) showHiddenLog();
  pnlLog_->setVisible(logShown_);
  resizeToContent();
  // Centred on the main window again, so the grown window does not run off the screen.
  if (const QWidget* main = parentWidget()) {
    const QRect area = main->frameGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
}

void TfrmMoni::addLog(const QString& line, bool clear) {
  if (clear) {
    memoLog_->clear();
    hiddenLog_.clear();
  }
  // While the log is folded away its lines wait in a list (the link empties the log every
  // thousand lines, so the list stays short): laying out text nobody sees costs more than the
  // rest of a report.
  if (logShown_) {
    memoLog_->appendPlainText(line);
  } else {
    hiddenLog_.append(line);
  }
}

void TfrmMoni::showHiddenLog() {
  if (hiddenLog_.isEmpty()) return;
  memoLog_->appendPlainText(hiddenLog_.join(QLatin1Char('\n')));
  hiddenLog_.clear();
}

void TfrmMoni::btnLogClearClick() {
  memoLog_->clear();
  hiddenLog_.clear();
  st_.monitorLogLines = 0;
  panels_[0]->clear();
  panels_[1]->clear();
}

void TfrmMoni::btnSendClick() {
  const QString text = edtCmd_->text();
  if (text.isEmpty()) return;
  if (!session_->sendCommand(text.toStdString())) panels_[1]->setText(QStringLiteral("COM:OFF"));
  link_.wake();
}

void TfrmMoni::edtCmdReturn() { btnSend_->setFocus(); }

void TfrmMoni::playChimes() { chimes_.play(programFolder_); }

}  // namespace kavel::gui
