#pragma once
// The camera monitor: the camera's picture area with the boxes of the colour signatures it
// sees, live from the board's "#Pixy:" lines; the boxes are drawn with exclusive-or so each
// frame removes the last one's without redrawing the field. The user chooses the colour of
// each signature here.

#include <array>
#include "gui/app/Chimes.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/monitor/PixyLine.h"
#include "gui/monitor/ModuleMonitor.h"

class QLabel;

namespace kavel {
class ModuleStream;
}

namespace kavel::gui {

class ClickLabel;
class PictureView;

class TfrmPixyMoni final : public ModuleMonitor {
  Q_OBJECT

 public:
  TfrmPixyMoni(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);
  ~TfrmPixyMoni() override;

  /// Listening, the camera field drawn anew (no boxes), the signature panels coloured.
  void FormShow() override;
  /// Stops the camera stream when it runs ("S4:0"); otherwise connects (searching the board
  /// when the port is closed) and starts it: chimes, a fresh field, "S4:1" 500 ms later.
  void btnStartClick();
  /// A "#Pixy:" line: the last boxes erased, the line's boxes drawn, their text in the status bar.
  void pixyLine(const QString& line);
  /// Signature panel 0..6 was clicked: the colour chooser with its colour.
  void pnlSigClick(int index);
  /// The "sig color" label was double-clicked: asks whether to reset all seven colours.
  void lblSigColorDblClick();
  bool listening() const override;

  bool streamRunning() const;
  /// The camera field as drawn so far.
  const QImage& field() const;
  /// The boxes drawn now, for the next line to erase.
  const std::vector<PixyBox>& boxes() const { return boxes_; }

  /// Run first by the start button: stops the sensor monitor's own stream when it runs (the
  /// sensor monitor sets it when it opens this window).
  std::function<void()> stopSensorStream;
  /// Where the board is searched when the port is closed (the machine's serial ports).
  void setPortSource(std::function<std::vector<std::string>()> source) { portSource_ = std::move(source); }

  PictureView* imgField = nullptr;
  std::array<QLabel*, 7> pnlSig{};
  ClickLabel* lblSigColor = nullptr;
  QPushButton* btnStart = nullptr;

 protected:
  /// Stops listening; stops the camera stream when it runs.
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void drawField();
  void drawBox(const PixyBox& box);
  void colourPanels();
  void collectEvents();
  void playChimes();

  std::vector<PixyBox> boxes_;
  std::unique_ptr<ModuleStream> stream_;
  Chimes chimes_{this};
  std::function<std::vector<std::string>()> portSource_;
};

}  // namespace kavel::gui
