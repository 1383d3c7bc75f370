#include "gui/monitor/MonitorChart.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "core/monitor/ChartScale.h"

namespace kavel::gui {

namespace {

constexpr int kLeft = 46;
constexpr int kRight = 12;
constexpr int kTop = 18;
constexpr int kBottom = 22;
constexpr int kLegendWidth = 150;

QString axisNumber(double v, double step) {
  // As many decimals as the step needs, so 0.2 steps do not read "0", "0", "0".
  const int decimals = step >= 1 ? 0 : std::min(3, static_cast<int>(std::ceil(-std::log10(step))));
  return QString::number(v, 'f', decimals);
}

}  // namespace

MonitorChart::MonitorChart(QWidget* parent) : QWidget(parent), frame_(new QTimer(this)) {
  setObjectName("chtMonitor");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumHeight(150);
  frame_->setSingleShot(true);
  connect(frame_, &QTimer::timeout, this, [this] {
    // Changes that came during the frame are drawn now, and the next frame waits again.
    if (!dirty_) return;
    update();
    frame_->start(frameInterval());
  });
  for (std::size_t c = 0; c < ChartHistory::kConnectors; ++c) {
    series_[c].name = QStringLiteral("CN%1").arg(c + 1);
  }
}

QColor MonitorChart::seriesColour(std::size_t c) {
  static const QColor colours[ChartHistory::kConnectors] = {
      QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
      QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f),
      QColor(0xbc, 0xbd, 0x22), QColor(0x17, 0xbe, 0xcf)};
  return colours[c % ChartHistory::kConnectors];
}

int MonitorChart::frameInterval() const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const double rate = screen ? screen->refreshRate() : 60.0;
  const int frame = std::max(1, static_cast<int>(std::lround(1000.0 / (rate > 1 ? rate : 60.0))));
  // Sooner than the time axis moves by a pixel a repaint shows nothing new but the last point.
  const int plotWidth = std::max(10, width() - kLeft - kRight - kLegendWidth);
  const int pixel = static_cast<int>(ChartHistory::kWindowMs / plotWidth);
  return std::max(frame, pixel);
}

void MonitorChart::addSample(std::int64_t atMs,
                             const std::array<std::optional<double>, ChartHistory::kConnectors>& values) {
  history_.add(atMs, values);
  if (shown_.any()) scheduleRepaint();
}

void MonitorChart::clear() {
  history_.clear();
  scheduleRepaint();
}

void MonitorChart::setShown(std::size_t c, bool shown) {
  if (c >= ChartHistory::kConnectors) return;
  shown_.set(c, shown);
  scheduleRepaint();
}

void MonitorChart::setSeries(std::size_t c, const QString& name, const QString& unit, double fixedLow,
                             double fixedHigh) {
  if (c >= ChartHistory::kConnectors) return;
  series_[c] = {name, unit, fixedLow, fixedHigh};
  scheduleRepaint();
}

void MonitorChart::scheduleRepaint() {
  dirty_ = true;
  // The first change after a quiet spell is drawn at once; later ones wait for the next frame.
  if (!frame_->isActive()) {
    update();
    frame_->start(frameInterval());
  }
}

void MonitorChart::paintEvent(QPaintEvent*) {
  dirty_ = false;
  ++paints_;
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRect plot(kLeft, kTop, std::max(10, width() - kLeft - kRight - kLegendWidth),
                   std::max(10, height() - kTop - kBottom));
  const QFontMetrics fm(font());

  const std::int64_t end = history_.newest().value_or(0);
  const std::int64_t start = end - ChartHistory::kWindowMs;

  // The y axis holds every shown connector's values and its fixed range.
  double low = 0, high = 0;
  bool any = false;
  QStringList units;
  for (std::size_t c = 0; c < ChartHistory::kConnectors; ++c) {
    if (!shown_.test(c)) continue;
    const Series& s = series_[c];
    double l = s.fixedLow, h = s.fixedHigh;
    if (const auto r = history_.range(c, start)) {
      l = std::min(l, r->low);
      h = std::max(h, r->high);
    }
    low = any ? std::min(low, l) : l;
    high = any ? std::max(high, h) : h;
    any = true;
    const QString unit = s.unit.isEmpty() ? QStringLiteral("0/1") : s.unit;
    if (!units.contains(unit)) units << unit;
  }
  const ChartAxis axis = any ? chartAxis(low, high) : chartAxis(0, 100);
  const auto yOf = [&](double v) {
    return plot.bottom() - (v - axis.low) / (axis.high - axis.low) * plot.height();
  };
  const auto xOf = [&](std::int64_t t) {
    return plot.left() + static_cast<double>(t - start) / ChartHistory::kWindowMs * plot.width();
  };

  // Grid and axes.
  p.setPen(QPen(QColor(0xE4, 0xE4, 0xE4), 1));
  for (int sec = 0; sec <= 30; sec += 5) {
    const double x = plot.left() + sec / 30.0 * plot.width();
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  }
  const int steps = static_cast<int>(std::lround((axis.high - axis.low) / axis.step));
  for (int i = 0; i <= steps; ++i) {
    const double y = yOf(axis.low + i * axis.step);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }
  p.setPen(Qt::black);
  p.drawRect(plot);
  for (int i = 0; i <= steps; ++i) {
    const double v = axis.low + i * axis.step;
    const QRectF box(0, yOf(v) - fm.height() / 2.0, kLeft - 4, fm.height());
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, axisNumber(v, axis.step));
  }
  for (int sec = 0; sec <= 30; sec += 5) {
    const double x = plot.left() + sec / 30.0 * plot.width();
    const QString label = sec == 30 ? QStringLiteral("0 s") : QStringLiteral("-%1").arg(30 - sec);
    p.drawText(QRectF(x - 30, plot.bottom() + 2, 60, kBottom - 2), Qt::AlignHCenter | Qt::AlignTop, label);
  }
  if (!units.isEmpty()) {
    p.drawText(QRectF(4, 0, plot.width(), kTop - 2), Qt::AlignLeft | Qt::AlignVCenter, units.join(QStringLiteral(", ")));
  }

  // The lines; a missing value breaks the line. Drawn without antialiasing and with a one-pixel
  // pen twice, a pixel apart: at 50 reports a second smoothed or wide pens cost several times
  // the CPU of the whole window (every joint is stroked), and the lines read just as well.
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setClipRect(plot.adjusted(1, 1, 0, 0));
  const std::size_t first = history_.firstAtOrAfter(start);
  points_.reserve(history_.capacity());
  for (std::size_t c = 0; c < ChartHistory::kConnectors; ++c) {
    if (!shown_.test(c)) continue;
    p.setPen(QPen(seriesColour(c), 0));
    points_.clear();
    const auto flush = [&] {
      if (points_.size() > 1) {
        p.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        p.translate(0, 1);
        p.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        p.translate(0, -1);
      }
      points_.clear();
    };
    for (std::size_t i = first; i < history_.size(); ++i) {
      const ChartHistory::Sample& s = history_.at(i);
      if (!s.value[c]) {
        flush();
        continue;
      }
      points_.emplace_back(xOf(s.atMs), yOf(*s.value[c]));
    }
    flush();
  }
  p.restore();

  // The legend: one line per shown connector, in its colour, with its unit.
  int y = plot.top();
  const int x = plot.right() + 10;
  for (std::size_t c = 0; c < ChartHistory::kConnectors; ++c) {
    if (!shown_.test(c)) continue;
    p.setPen(QPen(seriesColour(c), 3));
    p.drawLine(x, y + fm.height() / 2, x + 16, y + fm.height() / 2);
    p.setPen(Qt::black);
    const QString unit = series_[c].unit.isEmpty() ? QStringLiteral("0/1") : series_[c].unit;
    p.drawText(QRect(x + 20, y, kLegendWidth - 22, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(QStringLiteral("%1 [%2]").arg(series_[c].name, unit), Qt::ElideRight, kLegendWidth - 22));
    y += fm.height() + 2;
  }
}

}  // namespace kavel::gui
