#include "gui/monitor/TfrmCmps.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "core/Context.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/BgrColour.h"
#include "gui/monitor/PictureView.h"

namespace kavel::gui {
namespace {

constexpr unsigned kBlue = 0xFF0000;   // 0x00BBGGRR
constexpr unsigned kRed = 0x0000FF;
constexpr unsigned kGreen = 0x00FF00;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr int kNeedleWidth = 3;

void paintCell(QLabel* cell, unsigned colour) {
  cell->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;").arg(fromBgr(colour).name()));
}

}  // namespace

TfrmCmps::TfrmCmps(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : ModuleMonitor(ctx, link, prompts, parent) {
  setObjectName("frmCmps");
  setWindowTitle(QStringLiteral("Compass Monitor"));
  imgDial = new PictureView(kDialSize, kDialSize, palette().color(QPalette::Window), this);
  imgDial->setObjectName("imgDial");
  contentLayout()->addWidget(imgDial, 0, Qt::AlignHCenter);

  pnlPitchRoll = new QWidget(this);
  pnlPitchRoll->setObjectName("pnlPitchRoll");
  auto* grid = new QGridLayout(pnlPitchRoll);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->addWidget(new QLabel(QStringLiteral("Pitch"), pnlPitchRoll), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Roll"), pnlPitchRoll), 1, 0);
  for (int i = 0; i < 9; ++i) {
    const auto k = static_cast<std::size_t>(i);
    pnlPitch[k] = new QLabel(pnlPitchRoll);
    pnlPitch[k]->setObjectName(QStringLiteral("pnlPitch%1").arg(i + 1));
    pnlRoll[k] = new QLabel(pnlPitchRoll);
    pnlRoll[k]->setObjectName(QStringLiteral("pnlRoll%1").arg(i + 1));
    for (QLabel* cell : {pnlPitch[k], pnlRoll[k]}) {
      cell->setFixedSize(32, 16);
      paintCell(cell, kWhite);
    }
    grid->addWidget(pnlPitch[k], 0, i + 1);
    grid->addWidget(pnlRoll[k], 1, i + 1);
  }
  contentLayout()->addWidget(pnlPitchRoll, 0, Qt::AlignHCenter);
  pnlPitchRoll->hide();
  finishLayout();
  drawDial();
  connect(&link_, &SerialLink::compassLine, this, [this](const QString& line) {
    if (listening()) cmpsLine(line);
  });
}

bool TfrmCmps::listening() const { return st_.compassListening; }

const QImage& TfrmCmps::dial() const { return imgDial->picture(); }

void TfrmCmps::FormShow() {
  st_.compassListening = true;
  ModuleMonitor::FormShow();
  model_ = compassModelOf(ctx_.io);
  setWindowTitle(qs(compassCaption(model_)));
  drawDial();
  pnlPitchRoll->setVisible(showsPitchRoll(model_));
  for (std::size_t i = 0; i < 9; ++i) {
    paintCell(pnlPitch[i], kWhite);
    paintCell(pnlRoll[i], kWhite);
  }
}

void TfrmCmps::drawDial() {
  QImage& img = imgDial->picture();
  img.fill(palette().color(QPalette::Window));
  QPainter p(&img);
  const int c = kDialCentre;
  const DialPoint up = dialPoint(0, kDialRadius);
  p.setPen(QPen(fromBgr(kBlue), 1));
  p.drawLine(c, c, up.x, up.y);
  // The face covers that first needle; the first heading erases from the needle's own length.
  needle_ = needleEnd(0);

  // Crisp one-pixel ticks; only the numbers are smoothed.
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  const QFontMetrics fm(font);
  for (const DialTick& t : dialScale()) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(c, c, t.end.x, t.end.y);
    if (t.label.empty()) continue;
    const QString label = qs(t.label);
    const QRect box(t.labelCentre.x - 20, t.labelCentre.y - fm.height() / 2, 40, fm.height());
    p.drawText(box, Qt::AlignCenter, label);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(fromBgr(kDialFaceColour));
  p.drawEllipse(QPoint(c, c), kDialRadius, kDialRadius);
  p.end();
  imgDial->update();
}

void TfrmCmps::drawNeedle(const DialPoint& end, unsigned colour) {
  // Aliased and with flat ends inside the face, so drawing the same needle in the face colour
  // removes every pixel of it and nothing of the scale.
  QPainter p(&imgDial->picture());
  p.setPen(QPen(fromBgr(colour), kNeedleWidth, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(kDialCentre, kDialCentre, end.x, end.y);
}

void TfrmCmps::lightRow(std::array<QLabel*, 9>& row, const CompassCell& cell) {
  for (std::size_t i = 0; i < 9; ++i) {
    const bool lit = static_cast<int>(i) + 1 == cell.cell;
    paintCell(row[i], lit ? (cell.green ? kGreen : kBlue) : kWhite);
  }
}

void TfrmCmps::cmpsLine(const QString& line) {
  const CompassReading r = readCompassLine(line.toStdString(), model_);
  setStatus(1, line);
  if (r.drawsNeedle) {
    drawNeedle(needle_, kDialFaceColour);
    needle_ = needleEnd(r.heading);
    drawNeedle(needle_, kRed);
    imgDial->update();
  }
  if (showsPitchRoll(model_)) {
    lightRow(pnlPitch, r.pitch);
    lightRow(pnlRoll, r.roll);
  }
}

void TfrmCmps::FormClose() { st_.compassListening = false; }

}  // namespace kavel::gui
