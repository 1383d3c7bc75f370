#include "gui/monitor/TfrmPixyMoni.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "core/Context.h"
#include "core/comm/BoardTexts.h"
#include "core/comm/PortList.h"
#include "core/monitor/ModuleStream.h"
#include "core/monitor/SignatureColours.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/BgrColour.h"
#include "gui/monitor/PictureView.h"

namespace kavel::gui {
namespace {

// The black field around the camera's picture, corners included.
const QRect kField(QPoint(30, 30), QPoint(674, 434));
constexpr unsigned kGuideColour = 0xF0CAA6;  // 0x00BBGGRR
constexpr int kStartDelayMs = 500;  // the board needs it between the chime and "S4:1"

}  // namespace

TfrmPixyMoni::TfrmPixyMoni(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : ModuleMonitor(ctx, link, prompts, parent), portSource_(listSerialPortNames) {
  ModuleStream::Options options;
  options.startCommand = "S4:1";
  options.stopCommand = "S4:0";
  options.startDelay = kStartDelayMs;
  options.searchBoard = true;
  stream_ = std::make_unique<ModuleStream>(link_.board(), options);
  setObjectName("frmPixyMoni");
  setWindowTitle(QStringLiteral("Pixy Monitor"));
  imgField = new PictureView(kCameraFieldWidth, kCameraFieldHeight, palette().color(QPalette::Window), this);
  imgField->setObjectName("imgField");
  contentLayout()->addWidget(imgField);

  auto* row = new QHBoxLayout;
  lblSigColor = new ClickLabel(QStringLiteral("sig color"), this);
  lblSigColor->setObjectName("lblSigColor");
  connect(lblSigColor, &ClickLabel::doubleClicked, this, &TfrmPixyMoni::lblSigColorDblClick);
  row->addWidget(lblSigColor);
  for (int i = 0; i < 7; ++i) {
    auto* panel = new QLabel(QString::number(i + 1), this);
    panel->setObjectName(QStringLiteral("pnlSig%1").arg(i + 1));
    panel->setAlignment(Qt::AlignCenter);
    panel->setFixedSize(36, 22);
    panel->setCursor(Qt::PointingHandCursor);
    panel->installEventFilter(this);
    pnlSig[static_cast<std::size_t>(i)] = panel;
    row->addWidget(panel);
  }
  row->addStretch(1);
  contentLayout()->addLayout(row);

  btnStart = new QPushButton(QStringLiteral("Pixy Monitor"), this);
  btnStart->setObjectName("btnStart");
  btnStart->setCheckable(true);
  btnStart->setAutoDefault(false);
  // The button shows whether the stream runs; only btnStartClick changes that.
  connect(btnStart, &QPushButton::clicked, this, [this] {
    btnStart->setChecked(streamRunning());
    btnStartClick();
  });
  finishLayout(btnStart);

  connect(&link_, &SerialLink::cameraLine, this, [this](const QString& line) {
    if (listening()) pixyLine(line);
  });
  connect(&link_, &SerialLink::polled, this, &TfrmPixyMoni::collectEvents);
  drawField();
  colourPanels();
}

TfrmPixyMoni::~TfrmPixyMoni() = default;

bool TfrmPixyMoni::streamRunning() const { return stream_->running(); }

void TfrmPixyMoni::collectEvents() {
  while (std::optional<ModuleStream::Event> e = stream_->takeEvent()) {
    switch (e->kind) {
      case ModuleStream::EventKind::Started:
        btnStart->setChecked(true);
        playChimes();
        drawField();
        break;
      case ModuleStream::EventKind::NoBoard: {
        // A board of another product answered: say what answered rather than that nothing did.
        const QString first = e->text.empty() ? msg(66) : qs(anotherBoardAnswered(e->text, ctx_.settings.LANG_NO_));
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Comport Search"), first + QStringLiteral("\r\n") + msg(67),
                     PromptButtons::Ok);
        break;
      }
      case ModuleStream::EventKind::OpenFailed:
        prompts_.ask(this, PromptIcon::Warning, QStringLiteral("Warning!"), qs(e->text), PromptButtons::Ok);
        break;
      case ModuleStream::EventKind::Stopped:
        btnStart->setChecked(false);
        break;
    }
  }
}

bool TfrmPixyMoni::listening() const { return st_.pixyListening; }

const QImage& TfrmPixyMoni::field() const { return imgField->picture(); }

void TfrmPixyMoni::FormShow() {
  st_.pixyListening = true;
  ModuleMonitor::FormShow();
  drawField();
  colourPanels();
  btnStart->setChecked(streamRunning());
}

void TfrmPixyMoni::drawField() {
  QImage& img = imgField->picture();
  img.fill(palette().color(QPalette::Window));
  QPainter p(&img);
  p.fillRect(kField, Qt::black);
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int textHeight = fm.height();
  p.setPen(palette().color(QPalette::WindowText));
  // Camera pixels are drawn twice their size from (32, 32): the labels give camera pixels.
  for (int offset = 0; offset <= 640; offset += 20) {
    const int x = kCameraOrigin + offset;
    p.drawLine(x, 24, x, 28);
    p.drawLine(x, 436, x, 440);
    if (offset % 40 != 0) continue;
    const QString label = QString::number(offset / 2);
    p.drawText(QRect(x - 20, 12, 40, textHeight), Qt::AlignHCenter | Qt::AlignTop, label);
    p.drawText(QRect(x - 20, 442, 40, textHeight), Qt::AlignHCenter | Qt::AlignTop, label);
  }
  for (int offset = 0; offset <= 400; offset += 20) {
    const int y = kCameraOrigin + offset;
    p.drawLine(24, y, 28, y);
    p.drawLine(676, y, 680, y);
    if (offset % 40 != 0) continue;
    const QString label = QString::number(offset / 2);
    p.drawText(QRect(0, y - textHeight / 2, 20, textHeight), Qt::AlignRight | Qt::AlignVCenter, label);
    p.drawText(QRect(684, y - textHeight / 2, 24, textHeight), Qt::AlignLeft | Qt::AlignVCenter, label);
  }
  // Thirds of the picture.
  p.setPen(QPen(fromBgr(kGuideColour), 1, Qt::DotLine));
  p.drawLine(242, 34, 242, 432);
  p.drawLine(462, 34, 462, 432);
  p.drawLine(34, 162, 672, 162);
  p.drawLine(34, 302, 672, 302);
  p.end();
  boxes_.clear();
  imgField->update();
}

void TfrmPixyMoni::drawBox(const PixyBox& box) {
  // Exclusive-or: drawing the same box again restores what was under it. Each pixel of the
  // outline is drawn once, so corners do not cancel themselves.
  const int l = std::min(box.left, box.right), r = std::max(box.left, box.right);
  const int t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom);
  const QColor c = fromBgr(box.colour);
  QPainter p(&imgField->picture());
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.setClipRect(kField);
  p.fillRect(QRect(l, t, r - l + 1, 1), c);
  if (b != t) p.fillRect(QRect(l, b, r - l + 1, 1), c);
  if (b - t > 1) {
    p.fillRect(QRect(l, t + 1, 1, b - t - 1), c);
    if (r != l) p.fillRect(QRect(r, t + 1, 1, b - t - 1), c);
  }
}

void TfrmPixyMoni::pixyLine(const QString& line) {
  for (const PixyBox& box : boxes_) drawBox(box);
  const PixyFrame frame = readPixyLine(line.toStdString(), ctx_.settings.clSig);
  boxes_ = frame.boxes;
  for (const PixyBox& box : boxes_) drawBox(box);
  imgField->update();
  setStatus(1, qs(frame.status));
}

void TfrmPixyMoni::colourPanels() {
  for (std::size_t i = 0; i < pnlSig.size(); ++i) {
    const std::uint32_t c = ctx_.settings.clSig[i];
    pnlSig[i]->setStyleSheet(QStringLiteral("background-color: %1; color: %2; border: 1px solid gray;")
                                 .arg(fromBgr(c).name(), signatureTextIsBlack(c) ? "black" : "white"));
  }
}

void TfrmPixyMoni::pnlSigClick(int index) {
  if (index < 0 || index >= 7) return;
  auto& colour = ctx_.settings.clSig[static_cast<std::size_t>(index)];
  const std::optional<QColor> chosen = prompts_.pickColor(this, fromBgr(colour));
  if (!chosen || !chosen->isValid()) return;
  colour = toBgr(*chosen);
  colourPanels();
}

void TfrmPixyMoni::lblSigColorDblClick() {
  if (prompts_.ask(this, PromptIcon::Warning, msg(45), msg(151), PromptButtons::YesNo) != Answer::Yes) return;
  ctx_.settings.clSig = kDefaultSignatureColours;
  colourPanels();
}

bool TfrmPixyMoni::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (std::size_t i = 0; i < pnlSig.size(); ++i) {
      if (watched == pnlSig[i]) {
        pnlSigClick(static_cast<int>(i));
        return true;
      }
    }
  }
  return ModuleMonitor::eventFilter(watched, event);
}

void TfrmPixyMoni::btnStartClick() {
  if (stopSensorStream) stopSensorStream();
  if (stream_->running()) {
    stream_->stop();
    btnStart->setChecked(false);
    return;
  }
  // Pressed again while the board is searched, the search stops.
  stream_->setCandidates(portSource_());
  stream_->setLanguage(ctx_.settings.LANG_NO_);
  stream_->start();
  collectEvents();
  link_.wake();
}

// The camera is usually being aimed, not the screen watched, when the stream starts.
void TfrmPixyMoni::playChimes() { chimes_.play(QString::fromStdString(ctx_.settings.programFolder)); }

void TfrmPixyMoni::FormClose() {
  st_.pixyListening = false;
  stream_->stop();
  btnStart->setChecked(false);
}

}  // namespace kavel::gui
