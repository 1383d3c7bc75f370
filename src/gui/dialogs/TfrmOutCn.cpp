#include "gui/dialogs/TfrmOutCn.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/dialogs/OutputChoices.h"
#include "core/model/StatementKind.h"
#include "gui/app/Glyphs.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);

}  // namespace

TfrmOutCn::TfrmOutCn(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmOutCn");
  FormCreate();
}

void TfrmOutCn::FormCreate() {
  pnlOutCn = new QGroupBox(pnlBase);
  pnlOutCn->setObjectName("pnlOutCn");
  auto* row = new QHBoxLayout(pnlOutCn);
  row->setSpacing(12);
  btnIcon = new QToolButton(pnlOutCn);
  btnIcon->setObjectName("btnIcon");
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  btnIcon->setIcon(glyphs_.forKind(kOutput));
  auto* connector = new QVBoxLayout;
  cmbOutCn = new QComboBox(pnlOutCn);
  cmbOutCn->setObjectName("cmbOutCn");
  cmbOutCn->setMinimumContentsLength(5);
  lblOutSym = new QLabel(pnlOutCn);
  lblOutSym->setObjectName("lblOutSym");
  lblOutSym->setMinimumHeight(lblOutSym->fontMetrics().height());
  connector->addWidget(cmbOutCn);
  connector->addWidget(lblOutSym);
  auto* levels = new QVBoxLayout;
  rbOn = new QRadioButton("High", pnlOutCn);
  rbOn->setObjectName("rbOn");
  rbOff = new QRadioButton("Low", pnlOutCn);
  rbOff->setObjectName("rbOff");
  levels->addWidget(rbOn);
  levels->addWidget(rbOff);
  row->addWidget(btnIcon);
  row->addLayout(connector);
  row->addLayout(levels);
  row->addStretch(1);

  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  connect(cmbOutCn, &QComboBox::activated, this, [this] { cmbOutCnCloseUp(); });

  baseLayout()->addWidget(pnlOutCn);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmOutCn::applyLanguage() {
  StatementDialog::applyLanguage();
  // A statement sets the connector, a test checks it.
  pnlOutCn->setTitle(msg(ctx_.edit.sno == kOutput ? 95 : 111));
}

void TfrmOutCn::FormShow() {
  applyLanguage();
  connectors_ = outputConnectors(ctx_.io);
  cmbOutCn->clear();
  for (int c : connectors_) cmbOutCn->addItem(QStringLiteral("CN%1").arg(c + 1));
  cmbOutCn->setCurrentIndex(outputPosition(connectors_, ctx_.edit.val0));
  refreshName();
  (ctx_.edit.val1 != 0 ? rbOn : rbOff)->setChecked(true);
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

int TfrmOutCn::selectedConnector() const {
  const int i = cmbOutCn->currentIndex();
  return i >= 0 && i < static_cast<int>(connectors_.size()) ? connectors_[static_cast<std::size_t>(i)] : -1;
}

void TfrmOutCn::refreshName() {
  const int c = selectedConnector();
  lblOutSym->setText(c >= 0 ? QString::fromStdString(ctx_.io.cnName[static_cast<std::size_t>(c)]) : QString());
}

void TfrmOutCn::btnIconClick() {
  cmbOutCn->setCurrentIndex(nextOutputPosition(connectors_, cmbOutCn->currentIndex()));
  refreshName();
}

void TfrmOutCn::cmbOutCnCloseUp() { refreshName(); }

void TfrmOutCn::btnOkClick() {
  const int c = selectedConnector();
  if (c >= 0) {
    ctx_.edit.val0 = c;
    if (edtCmt->text().isEmpty()) edtCmt->setText(QString::fromStdString(ctx_.io.cnName[static_cast<std::size_t>(c)]));
  }
  ctx_.edit.val1 = rbOn->isChecked() ? 1 : 0;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
