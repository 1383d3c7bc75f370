#pragma once
// The compass monitor: a dial with the heading's needle, live from the board's "D:" lines,
// and for the 6D and 9D compasses a row of cells each for pitch and roll.

#include <array>

#include "core/monitor/CompassDial.h"
#include "core/monitor/CompassLine.h"
#include "gui/monitor/ModuleMonitor.h"

class QLabel;

namespace kavel::gui {

class PictureView;

class TfrmCmps final : public ModuleMonitor {
  Q_OBJECT

 public:
  TfrmCmps(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);

  /// Listening, the caption with the model of the board's options, the dial drawn anew, the
  /// pitch and roll rows for the 6D and 9D compasses.
  void FormShow() override;
  /// A "D:" line: the needle moves when the heading is below 360; the cells follow.
  void cmpsLine(const QString& line);
  bool listening() const override;

  /// The dial as drawn so far.
  const QImage& dial() const;
  CompassModel model() const { return model_; }

  PictureView* imgDial = nullptr;
  QWidget* pnlPitchRoll = nullptr;
  std::array<QLabel*, 9> pnlPitch{};
  std::array<QLabel*, 9> pnlRoll{};

 protected:
  /// Stops listening.
  void FormClose() override;

 private:
  void drawDial();
  void drawNeedle(const DialPoint& end, unsigned colour);
  static void lightRow(std::array<QLabel*, 9>& row, const CompassCell& cell);

  CompassModel model_ = CompassModel::None;
  DialPoint needle_;  // the end of the needle now drawn
};

}  // namespace kavel::gui
