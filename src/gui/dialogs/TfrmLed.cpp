#include "gui/dialogs/TfrmLed.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/dialogs/OutputChoices.h"
#include "gui/app/Glyphs.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);

}  // namespace

TfrmLed::TfrmLed(Context& ctx, const Glyphs& glyphs, QWidget* parent) : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmLed");
  FormCreate();
}

void TfrmLed::FormCreate() {
  pnlLed = new QGroupBox(pnlBase);
  pnlLed->setObjectName("pnlLed");
  auto* row = new QHBoxLayout(pnlLed);
  row->setSpacing(12);
  btnIcon = new QToolButton(pnlLed);
  btnIcon->setObjectName("btnIcon");
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  pnlLedName = new QLabel(pnlLed);
  pnlLedName->setObjectName("pnlLedName");
  QFont bold = pnlLedName->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  pnlLedName->setFont(bold);
  pnlLedName->setMinimumWidth(pnlLedName->fontMetrics().horizontalAdvance("Green") + 12);
  auto* states = new QVBoxLayout;
  rbOn = new QRadioButton("ON", pnlLed);
  rbOn->setObjectName("rbOn");
  rbOff = new QRadioButton("OFF", pnlLed);
  rbOff->setObjectName("rbOff");
  states->addWidget(rbOn);
  states->addWidget(rbOff);
  row->addWidget(btnIcon);
  row->addWidget(pnlLedName);
  row->addLayout(states);
  row->addStretch(1);

  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  connect(rbOn, &QRadioButton::clicked, this, [this] { rbClick(); });
  connect(rbOff, &QRadioButton::clicked, this, [this] { rbClick(); });

  baseLayout()->addWidget(pnlLed);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmLed::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlLed->setTitle(msg(82));
}

void TfrmLed::FormShow() {
  led_ = ledOf(ctx_.edit.val0);
  (ctx_.edit.val1 != 0 ? rbOn : rbOff)->setChecked(true);
  refresh();
  applyLanguage();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmLed::refresh() {
  pnlLedName->setText(QString::fromStdString(ledCaption(led_)));
  QPalette p = pnlLedName->palette();
  p.setColor(QPalette::WindowText, led_ == 0 ? QColor(0, 140, 0) : QColor(210, 0, 0));
  pnlLedName->setPalette(p);
  btnIcon->setIcon(glyphs_.forKind(ledKind(led_, rbOn->isChecked())));
}

void TfrmLed::btnIconClick() {
  led_ = nextLed(led_);
  refresh();
}

void TfrmLed::rbClick() { refresh(); }

void TfrmLed::btnOkClick() {
  const LedValues v = packLed(led_, rbOn->isChecked(), ctx_.edit.sno);
  ctx_.edit.sno = v.sno;
  ctx_.edit.cno = v.cno;
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
