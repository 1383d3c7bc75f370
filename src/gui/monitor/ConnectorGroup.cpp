#include "gui/monitor/ConnectorGroup.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>

namespace kavel::gui {

namespace {

QLabel* panel(QWidget* parent, const char* name, int width) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFrameShape(QFrame::Panel);
  l->setFrameShadow(QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A fixed size keeps a new value from asking the whole window to lay itself out again,
  // 50 times a second.
  l->setFixedSize(width, 22);
  // Opaque, so a new value repaints the panel alone and not the group and name box under it.
  l->setAutoFillBackground(true);
  return l;
}

}  // namespace

ConnectorGroup::ConnectorGroup(int connector, QWidget* parent) : QGroupBox(parent), connector_(connector) {
  setObjectName(QStringLiteral("grpCN%1").arg(connector));
  edtName_ = new QLineEdit(this);
  edtName_->setObjectName("edtName");
  edtName_->setFixedSize(88, 24);
  edtName_->setAutoFillBackground(true);
  pnlRaw_ = panel(this, "pnlRaw", 44);
  pnlValue_ = panel(this, "pnlValue", 64);
  pBar_ = new QProgressBar(this);
  pBar_->setObjectName("pBar");
  pBar_->setRange(0, 100);
  pBar_->setTextVisible(false);
  // Name, raw, value and bar must fit the narrowest column the window formula gives (288).
  pBar_->setFixedSize(64, 16);
  pBar_->setAutoFillBackground(true);
  btnOut_ = new QToolButton(this);
  btnOut_->setObjectName("btnOut");
  btnOut_->setIconSize(QSize(26, 26));
  btnOut_->setAutoRaise(false);
  btnOut_->setFocusPolicy(Qt::TabFocus);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(2);
  grid->addWidget(edtName_, 0, 0);
  grid->addWidget(pnlRaw_, 0, 1);
  grid->addWidget(pnlValue_, 0, 2);
  grid->addWidget(pBar_, 0, 3);
  grid->addWidget(btnOut_, 0, 4, Qt::AlignLeft);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(4, 1);
  if (connector == 7 || connector == 8) {
    tBar_ = new QSlider(Qt::Horizontal, this);
    tBar_->setObjectName("tBar");
    tBar_->setRange(0, 100);
    tBar_->setPageStep(10);
    tBar_->setTickPosition(QSlider::TicksBelow);
    tBar_->setTickInterval(10);
    grid->addWidget(tBar_, 1, 0, 1, 5);
  }
  grid->setRowStretch(2, 1);
}

void ConnectorGroup::setCaption(const QString& caption, const QColor& colour) {
  setTitle(caption);
  // Only the title takes the colour: the panels inside keep the normal text colour.
  setStyleSheet(colour.isValid() ? QStringLiteral("QGroupBox::title { color: %1; }").arg(colour.name()) : QString());
}

void ConnectorGroup::setNameColour(const QColor& colour) {
  QPalette p = edtName_->palette();
  p.setColor(QPalette::Base, colour);
  p.setColor(QPalette::Text, Qt::black);
  edtName_->setPalette(p);
}

}  // namespace kavel::gui
