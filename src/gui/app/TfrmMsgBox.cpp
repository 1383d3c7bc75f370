#include "gui/app/TfrmMsgBox.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "gui/app/MessageText.h"
#include "gui/app/WindowLook.h"
#include "core/shell/ModeQuestion.h"

namespace kavel::gui {
namespace {

constexpr int kWidth = 398;
constexpr int kHeight = 144;
constexpr int kMessagePixels = 16;
constexpr int kSmallestMessagePixels = 11;

}  // namespace

TfrmMsgBox::TfrmMsgBox(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName("frmMsgBox");
  setModal(true);
  setFixedSize(kWidth, kHeight);

  lblMsg = new QLabel(this);
  lblMsg->setObjectName("lblMsg");
  lblMsg->setGeometry(10, 4, 290, 52);
  lblMsg->setWordWrap(true);
  lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setPixelFont(lblMsg, kMessagePixels, true);

  btnOk = new QPushButton("はい", this);
  btnOk->setObjectName("btnOk");
  btnOk->setGeometry(kWidth - 8 - 84, 6, 84, 24);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, &TfrmMsgBox::btnOkClick);

  btnCancel = new QPushButton("いいえ", this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setGeometry(kWidth - 8 - 84, 32, 84, 24);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmMsgBox::btnCancelClick);

  pnlMsg = new QGroupBox(this);
  pnlMsg->setObjectName("pnlMsg");
  pnlMsg->setGeometry(8, 58, kWidth - 16, kHeight - 58 - 6);

  modeGroup_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* rb = new QRadioButton(pnlMsg);
    rb->setObjectName(QStringLiteral("rbMode%1").arg(i));
    rb->setGeometry(10, 18 + i * 20, 280, 20);
    modeGroup_->addButton(rb, i);
    connect(rb, &QRadioButton::clicked, this, &TfrmMsgBox::rbModeClick);
    rbMode[static_cast<std::size_t>(i)] = rb;
  }

  btnUpdate = new QPushButton("更新", pnlMsg);
  btnUpdate->setObjectName("btnUpdate");
  btnUpdate->setGeometry(pnlMsg->width() - 8 - 84, pnlMsg->height() - 8 - 24, 84, 24);
  connect(btnUpdate, &QPushButton::clicked, this, &TfrmMsgBox::btnUpdateClick);
}

void TfrmMsgBox::FormShow() {
  setWindowTitle(msgText(ctx_, ModeQuestion::kTitle));
  btnUpdate->setText(msgText(ctx_, ModeQuestion::kUpdate));
  btnOk->setText(msgText(ctx_, ModeQuestion::kYes));
  btnCancel->setText(msgText(ctx_, ModeQuestion::kNo));

  const ModeQuestion& q = modeQuestion(tag_);
  lblMsg->setText(msgText(ctx_, q.label));
  fitLabelFont(lblMsg, kMessagePixels, kSmallestMessagePixels);
  pnlMsg->setTitle(msgText(ctx_, q.group));
  for (std::size_t i = 0; i < rbMode.size(); ++i) rbMode[i]->setText(msgText(ctx_, q.choices[i]));

  // A mode outside 0..2 (hand-edited settings) selects no choice.
  const int mode = modeSetting(ctx_.settings, tag_);
  modeGroup_->setExclusive(false);
  for (std::size_t i = 0; i < rbMode.size(); ++i) rbMode[i]->setChecked(static_cast<int>(i) == mode);
  modeGroup_->setExclusive(true);

  btnUpdate->setEnabled(false);
  btnOk->setFocus();
}

void TfrmMsgBox::rbModeClick() { btnUpdate->setEnabled(true); }

void TfrmMsgBox::btnUpdateClick() {
  const int chosen = modeGroup_->checkedId();
  if (chosen >= 0) modeSetting(ctx_.settings, tag_) = chosen;
  btnUpdate->setEnabled(false);
}

void TfrmMsgBox::btnOkClick() { accept(); }

void TfrmMsgBox::btnCancelClick() { reject(); }

void TfrmMsgBox::showEvent(QShowEvent* event) {
  FormShow();
  centreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace kavel::gui
