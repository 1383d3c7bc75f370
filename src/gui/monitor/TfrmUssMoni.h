#pragma once
// The ultrasonic monitor: the distances of the four sensors of the 4-channel unit, live from
// the board's "U:" lines, with the sensors' names, which the user may edit here.

#include <array>

#include "gui/monitor/ModuleMonitor.h"

class QGroupBox;
class QLineEdit;
class QProgressBar;

namespace kavel::gui {

class TfrmUssMoni final : public ModuleMonitor {
  Q_OBJECT

 public:
  TfrmUssMoni(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);

  /// Listening, the names USS1..USS4 in the name boxes, Close in the current language.
  void FormShow() override;
  /// A "U:" line: each sensor's millimetres, centimetres and bar; the line in the status bar.
  void ussLine(const QString& line);
  bool listening() const override;

  std::array<QGroupBox*, 4> grpUss{};
  std::array<QLineEdit*, 4> edtName{};
  std::array<QLabel*, 4> pnlMm{};
  std::array<QLabel*, 4> pnlCm{};
  std::array<QProgressBar*, 4> pbDist{};

 protected:
  /// Sends "S3:0" when the port is open, keeps the names, stops listening.
  void FormClose() override;
};

}  // namespace kavel::gui
