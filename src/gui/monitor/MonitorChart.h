#pragma once
// The sensor monitor's live chart: one coloured line per ticked connector over the last 30
// seconds, drawn by hand from a fixed ring of samples. New reports only mark the chart dirty;
// it repaints at most once per screen refresh (and per pixel the time axis moves), however fast
// the board sends.

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <array>
#include <bitset>
#include <vector>

#include "core/monitor/ChartHistory.h"

class QTimer;

namespace kavel::gui {

class MonitorChart : public QWidget {
  Q_OBJECT

 public:
  explicit MonitorChart(QWidget* parent = nullptr);

  /// The colour of connector `c` (0-based) in the lines and the legend.
  static QColor seriesColour(std::size_t c);

  ChartHistory& history() { return history_; }
  const ChartHistory& history() const { return history_; }
  /// Adds a report's numbers and schedules a repaint.
  void addSample(std::int64_t atMs, const std::array<std::optional<double>, ChartHistory::kConnectors>& values);
  void clear();

  /// Which connectors are drawn.
  void setShown(std::size_t c, bool shown);
  bool shown(std::size_t c) const { return shown_.test(c); }
  /// The legend's name of a connector ("CN3") and its unit ("cm", "%", "℃", "" for HIGH/LOW);
  /// `fixedLow`/`fixedHigh` is a range the axis always holds for it (0..100 for percent).
  void setSeries(std::size_t c, const QString& name, const QString& unit, double fixedLow, double fixedHigh);

  /// How many times the chart has been painted (the figures of the window's benchmark).
  int paints() const { return paints_; }
  /// The shortest time between two repaints, in milliseconds: a screen frame, or the time the
  /// axis takes to move by one pixel when that is longer.
  int frameInterval() const;

  QSize sizeHint() const override { return {560, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void scheduleRepaint();

  struct Series {
    QString name;
    QString unit;
    double fixedLow = 0;
    double fixedHigh = 0;
  };
  ChartHistory history_;
  std::bitset<ChartHistory::kConnectors> shown_;
  std::array<Series, ChartHistory::kConnectors> series_;
  std::vector<QPointF> points_;  // one line's points, kept between paints
  QTimer* frame_;
  bool dirty_ = false;
  int paints_ = 0;
};

}  // namespace kavel::gui
