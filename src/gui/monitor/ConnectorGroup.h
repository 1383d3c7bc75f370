#pragma once
// One connector of the sensor monitor: its group with the name box, the raw and shown value,
// the bar for inputs, the output button for outputs and, on CN7 and CN8, the servo track bar.
// It only holds and shows; the monitor window decides what goes in.

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;
class QToolButton;

namespace kavel::gui {

class ConnectorGroup : public QGroupBox {
  Q_OBJECT

 public:
  /// `connector` is 1..10; CN7 and CN8 get a track bar.
  ConnectorGroup(int connector, QWidget* parent);

  int connector() const { return connector_; }

  QLineEdit* edtName() const { return edtName_; }
  QLabel* pnlRaw() const { return pnlRaw_; }
  QLabel* pnlValue() const { return pnlValue_; }
  QProgressBar* pBar() const { return pBar_; }
  QToolButton* btnOut() const { return btnOut_; }
  /// Null except on CN7 and CN8.
  QSlider* tBar() const { return tBar_; }

  /// The group caption in its colour (an invalid colour: the normal text colour).
  void setCaption(const QString& caption, const QColor& colour);
  void setNameColour(const QColor& colour);

 private:
  int connector_;
  QLineEdit* edtName_;
  QLabel* pnlRaw_;
  QLabel* pnlValue_;
  QProgressBar* pBar_;
  QToolButton* btnOut_;
  QSlider* tBar_ = nullptr;
};

}  // namespace kavel::gui
