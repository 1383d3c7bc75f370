#include "gui/dialogs/TfrmSNX4410.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Context.h"
#include "core/comm/SerialOpenError.h"
#include "core/monitor/ModuleStream.h"
#include "core/modules/GamePadValues.h"
#include "core/monitor/GamePadLine.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {
namespace {

struct PadControl {
  int bit;
  const char* name;
  const char* caption;
  int row, column;  // place on the pad picture
};

// Shoulder buttons on top, the cross on the left, the symbols on the right, the sticks below.
constexpr PadControl kControls[] = {
    {3, "btnL2", "L2", 0, 0},        {2, "btnL1", "L1", 0, 1},        {0, "btnR1", "R1", 0, 5},
    {1, "btnR2", "R2", 0, 6},        {4, "btnLU", "↑", 1, 1},         {7, "btnLL", "←", 2, 0},
    {5, "btnLR", "→", 2, 2},         {6, "btnLD", "↓", 3, 1},         {8, "btnRU", "△", 1, 5},
    {11, "btnRL", "□", 2, 4},        {9, "btnRR", "○", 2, 6},         {10, "btnRD", "×", 3, 5},
    {kPadLeftStick, "btnLJ", "LJ", 4, 2}, {kPadRightStick, "btnRJ", "RJ", 4, 4},
};

// The direction buttons around "Push": 1 up, then clockwise to 8 up-left.
struct JoyPlace {
  const char* caption;
  int row, column;
};
constexpr JoyPlace kJoy[] = {{"Push", 1, 1}, {"↑", 0, 1}, {"↗", 0, 2}, {"→", 1, 2}, {"↘", 2, 2},
                             {"↓", 2, 1},    {"↙", 2, 0}, {"←", 1, 0}, {"↖", 0, 0}};

}  // namespace

TfrmSNX4410::TfrmSNX4410(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmSNX4410");
  FormCreate();
}

void TfrmSNX4410::FormCreate() {
  pnlPad = new QGroupBox(pnlBase);
  pnlPad->setObjectName("pnlPad");
  auto* grid = new QGridLayout(pnlPad);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(6);
  grid->setColumnMinimumWidth(3, 24);
  for (const PadControl& c : kControls) {
    auto* b = new QPushButton(QString::fromUtf8(c.caption), pnlPad);
    b->setObjectName(c.name);
    b->setCheckable(true);
    b->setAutoDefault(false);
    b->setFixedSize(48, 32);
    const int bit = c.bit;
    connect(b, &QPushButton::clicked, this, [this, bit] { controlClick(bit); });
    control[static_cast<std::size_t>(bit)] = b;
    grid->addWidget(b, c.row, c.column);
  }

  pnlJoy = new QWidget(pnlPad);
  pnlJoy->setObjectName("pnlJoy");
  auto* joy = new QGridLayout(pnlJoy);
  joy->setContentsMargins(4, 4, 4, 4);
  auto* group = new QButtonGroup(pnlJoy);
  for (int i = 0; i <= 8; ++i) {
    auto* rb = new QRadioButton(QString::fromUtf8(kJoy[i].caption), pnlJoy);
    rb->setObjectName(QString("rbJoy%1").arg(i));
    group->addButton(rb, i);
    rbJoy[static_cast<std::size_t>(i)] = rb;
    joy->addWidget(rb, kJoy[i].row, kJoy[i].column);
  }
  rbJoy[0]->setChecked(true);
  grid->addWidget(pnlJoy, 5, 0, 1, 7, Qt::AlignHCenter);

  // As wide as the pad, so a live pad line fits on it without resizing the dialog.
  btnMonitor = new QPushButton(QString::fromUtf8(kGamePadMonitorCaption), pnlPad);
  btnMonitor->setObjectName("btnMonitor");
  btnMonitor->setCheckable(true);
  btnMonitor->setAutoDefault(false);
  btnMonitor->hide();
  connect(btnMonitor, &QPushButton::clicked, this, [this] {
    // The button is down exactly while the monitor runs; the handler decides.
    btnMonitor->setChecked(monitoring());
    btnMonitorClick();
  });
  grid->addWidget(btnMonitor, 6, 0, 1, 7);

  baseLayout()->addWidget(pnlPad);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

int TfrmSNX4410::chosenControl() const { return chosen_; }

void TfrmSNX4410::showChosen() {
  for (int bit = 0; bit < 16; ++bit) {
    if (QPushButton* b = control[static_cast<std::size_t>(bit)]) b->setChecked(bit == chosen_);
  }
}

int TfrmSNX4410::chosenDirection() const {
  for (int i = 0; i <= 8; ++i) {
    if (rbJoy[static_cast<std::size_t>(i)]->isChecked()) return i;
  }
  return 0;
}

void TfrmSNX4410::showJoyPanel(int stick) {
  pnlJoy->setVisible(stick >= 0);
  if (isVisible()) fitToContents();
}

void TfrmSNX4410::controlClick(int bit) {
  if (!control[static_cast<std::size_t>(bit)]) return;
  chosen_ = chosen_ == bit ? -1 : bit;
  showChosen();
  showJoyPanel(isPadStick(chosen_) ? chosen_ : -1);
}

void TfrmSNX4410::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlPad->setTitle(msg(113));
}

void TfrmSNX4410::FormShow() {
  applyLanguage();
  if (monitoring()) stopMonitor();
  btnMonitor->setChecked(false);
  btnMonitor->setText(QString::fromUtf8(kGamePadMonitorCaption));
  const GamePadChoice c = gamePadChoiceOf(ctx_.edit.val0, ctx_.edit.val1);
  chosen_ = c.control;
  showChosen();
  rbJoy[static_cast<std::size_t>(c.direction)]->setChecked(true);
  pnlJoy->setVisible(isPadStick(c.control));
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSNX4410::btnOkClick() {
  const GamePadValues v = packGamePad({chosenControl(), chosenDirection()});
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  ctx_.edit.val2 = 0;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui

namespace kavel::gui {

TfrmSNX4410::~TfrmSNX4410() = default;

bool TfrmSNX4410::monitoring() const { return stream_ && stream_->running(); }

void TfrmSNX4410::useLink(SerialLink& link, Prompts& prompts) {
  link_ = &link;
  prompts_ = &prompts;
  ModuleStream::Options options;
  options.startCommand = "S2:1";
  options.stopCommand = "S2:0";
  options.searchBoard = false;
  options.gamePadMark = true;
  stream_ = std::make_unique<ModuleStream>(link.board(), options);
  btnMonitor->show();
  connect(link_, &SerialLink::gamePadLine, this, [this](const QString& line) {
    if (monitoring()) padLine(line);
  });
  connect(link_, &SerialLink::polled, this, &TfrmSNX4410::collectEvents);
}

void TfrmSNX4410::collectEvents() {
  if (!stream_) return;
  while (std::optional<ModuleStream::Event> e = stream_->takeEvent()) {
    switch (e->kind) {
      case ModuleStream::EventKind::OpenFailed:
        if (link_->state().ReportOpenErrors && prompts_) {
          prompts_->ask(this, PromptIcon::Warning, QStringLiteral("Warning!"), qs(e->text), PromptButtons::Ok);
        }
        btnMonitor->setChecked(false);
        break;
      case ModuleStream::EventKind::Started:
        btnMonitor->setChecked(true);
        break;
      case ModuleStream::EventKind::Stopped:
        // The link closed the port itself; the main window tells the user.
        stopMonitor();
        break;
      case ModuleStream::EventKind::NoBoard:
        break;
    }
  }
}

void TfrmSNX4410::btnMonitorClick() {
  if (monitoring()) {
    stopMonitor();
  } else {
    startMonitor();
  }
}

void TfrmSNX4410::startMonitor() {
  if (!stream_) return;
  stream_->setLanguage(ctx_.settings.LANG_NO_);
  stream_->start();
  collectEvents();
  btnMonitor->setChecked(monitoring());
  link_->wake();
}

void TfrmSNX4410::stopMonitor() {
  btnMonitor->setChecked(false);
  btnMonitor->setText(QString::fromUtf8(kGamePadMonitorCaption));
  // A port the sensor monitor opened stays open for it.
  if (stream_) stream_->stop();
}

void TfrmSNX4410::padLine(const QString& line) {
  if (const auto caption = gamePadCaption(line.toStdString())) btnMonitor->setText(qs(*caption));
}

void TfrmSNX4410::done(int result) {
  if (monitoring()) stopMonitor();
  StatementDialog::done(result);
}

void TfrmSNX4410::hideEvent(QHideEvent* event) {
  if (!event->spontaneous() && monitoring()) stopMonitor();
  StatementDialog::hideEvent(event);
}

}  // namespace kavel::gui
