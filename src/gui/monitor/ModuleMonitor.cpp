#include "gui/monitor/ModuleMonitor.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Context.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {

ModuleMonitor::ModuleMonitor(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ctx_(ctx), link_(link), st_(link.state()), prompts_(prompts) {
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(6, 6, 6, 2);
  layout_->setSizeConstraint(QLayout::SetFixedSize);
  btnClose = new QPushButton(this);
  btnClose->setObjectName("btnClose");
  btnClose->setAutoDefault(false);
  connect(btnClose, &QPushButton::clicked, this, &ModuleMonitor::btnCloseClick);
  connect(&link_, &SerialLink::disconnected, this, [this] {
    if (isVisible()) reject();
  });
}

void ModuleMonitor::finishLayout(QWidget* extra) {
  auto* row = new QHBoxLayout;
  if (extra) row->addWidget(extra);
  row->addStretch(1);
  row->addWidget(btnClose);
  layout_->addLayout(row);

  auto* bar = new QWidget(this);
  bar->setObjectName("sBar");
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->setSpacing(2);
  for (int i = 0; i < 2; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QStringLiteral("sBarPanel%1").arg(i));
    panels_[i]->setFrameShape(QFrame::StyledPanel);
    panels_[i]->setFrameShadow(QFrame::Sunken);
    barLayout->addWidget(panels_[i], i == 0 ? 0 : 1);
  }
  panels_[0]->setFixedWidth(110);
  // A long line must not widen the window: the second panel takes the width that is left.
  panels_[1]->setMinimumWidth(160);
  panels_[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  layout_->addWidget(bar);
}

QString ModuleMonitor::msg(int n) const { return qs(ctx_.messages(n)); }

void ModuleMonitor::setStatus(int panel, const QString& text) {
  if (panels_[panel]) panels_[panel]->setText(text);
}

QString ModuleMonitor::statusText(int panel) const { return panels_[panel] ? panels_[panel]->text() : QString(); }

void ModuleMonitor::FormShow() {
  closed_ = false;
  btnClose->setText(msg(64));
  setStatus(0, link_.isOpen() ? qs(ctx_.settings.PortName) : QString());
  setStatus(1, QString());
  btnClose->setFocus(Qt::OtherFocusReason);
}

void ModuleMonitor::btnCloseClick() { reject(); }

void ModuleMonitor::showEvent(QShowEvent* event) {
  if (!listening()) FormShow();
  QDialog::showEvent(event);
}

void ModuleMonitor::closeOnce() {
  if (closed_) return;
  closed_ = true;
  FormClose();
}

void ModuleMonitor::done(int result) {
  closeOnce();
  QDialog::done(result);
}

void ModuleMonitor::hideEvent(QHideEvent* event) {
  // Hidden without done() (its parent closed, the program ends): still stop listening. A
  // minimised window keeps listening.
  if (!event->spontaneous()) closeOnce();
  QDialog::hideEvent(event);
}

}  // namespace kavel::gui
