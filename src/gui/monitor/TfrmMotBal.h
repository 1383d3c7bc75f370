#pragma once
// The motor balance window: reads the balance correction the board keeps, lets the user move
// it on a track bar and writes it back. The core's MotorBalanceSession asks and waits for the
// board's answer on the link, so a silent board never blocks the window.

#include <QDialog>

#include <memory>

class QIcon;
class QLabel;
class QPushButton;
class QSlider;

namespace kavel {
struct BalanceReply;
struct Context;
struct LinkState;
class MotorBalanceSession;
class SerialLink;
}  // namespace kavel

namespace kavel::gui {

class Prompts;

class TfrmMotBal : public QDialog {
  Q_OBJECT

 public:
  TfrmMotBal(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);
  ~TfrmMotBal() override;

  /// The picture of the button that sets the balance back to 0.
  void setMotorIcon(const QIcon& icon);

  /// First show: listens for "B:" lines, track bar to 0, captions of the current language,
  /// focus on Close, then Read. Later calls while open change nothing.
  void FormShow();
  /// Empties the panels and asks the board for its values ("B:?").
  void btnReadClick();
  /// Empties the panels and sends the track bar and the third setting.
  void btnSaveClick();
  void btnCloseClick();
  /// A "B:" line from the board.
  void BalanceReply(const QString& line);
  void tBarChange(int position);
  /// "<<", "<", ">", ">>": the track bar moves by -10, -1, +1, +10.
  void btnStepClick(int delta);
  /// The motor picture: the track bar back to 0.
  void btnMotorClick();
  void btnUpClick();
  void btnDownClick();

  /// A "B:?" or a save waits for the board's answer.
  bool waiting() const;

  QSlider* tBar() const { return tBar_; }
  QLabel* pnlLeft() const { return pnlLeft_; }
  QLabel* pnlRight() const { return pnlRight_; }
  QLabel* pnlThird() const { return pnlThird_; }
  QPushButton* btnRead() const { return btnRead_; }
  QPushButton* btnSave() const { return btnSave_; }
  QPushButton* btnClose() const { return btnClose_; }
  QPushButton* btnMotor() const { return btnMotor_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void emptyPanels();
  void collectEvents();
  void showReply(const kavel::BalanceReply& reply);
  void answerMissing();
  int third() const;

  Context& ctx_;
  SerialLink& link_;
  LinkState& st_;
  Prompts& prompts_;

  QSlider* tBar_;
  QLabel* pnlLeft_;
  QLabel* pnlRight_;
  QLabel* pnlThird_;
  QPushButton* btnRead_;
  QPushButton* btnSave_;
  QPushButton* btnClose_;
  QPushButton* btnMotor_;
  QPushButton* btnUp_;
  QPushButton* btnDown_;
  std::unique_ptr<MotorBalanceSession> session_;
  int third_ = 1;          // what the third panel shows once an answer came
  bool shown_ = false;     // the first show has run
};

}  // namespace kavel::gui
