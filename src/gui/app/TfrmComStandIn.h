#pragma once
// Stands in for the communication settings window until that window exists. It already
// carries that window's maintenance gesture: a double click reveals the language editor item
// and the message memo of the main window.

#include <QDialog>

namespace kavel::gui {

class TfrmComStandIn : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmComStandIn(QWidget* parent);

  /// What a double click on the window does; callable from tests.
  void FormDblClick();

 signals:
  void maintenanceRequested();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace kavel::gui
